#!/usr/bin/env bash
# Configures one of the build folders of the run and test scripts, always with the same
# options, so that either script may configure a folder first and neither undoes the other's:
#   release   build/release    the program and the suite as users build them (-O3)
#   sanitize  build/sanitize   the suite and the fuzz targets with AddressSanitizer and
#                              UndefinedBehaviorSanitizer (clang, the fuzzer's hooks throughout)
#   tsan      build/tsan       the engine tests with ThreadSanitizer (no interface)
# Every folder treats a warning as an error, compiles each folder's sources as one unit (see
# the top CMakeLists.txt), links with lld when it is installed and compiles through ccache
# when that is installed (CCACHE_DISABLE=1 turns it off for one run).
set -euo pipefail
cd "$(dirname "$0")/.."

name=${1:?"usage: configure.sh release|sanitize|tsan"}
options=(-G Ninja -DPAGELATHE_TESTS=ON -DPAGELATHE_WERROR=ON -DCMAKE_UNITY_BUILD=ON)
if command -v ccache >/dev/null; then
  options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if command -v ld.lld >/dev/null; then
  options+=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
fi

case "$name" in
  release)
    options+=(-DCMAKE_BUILD_TYPE=Release -DPAGELATHE_GUI=ON) ;;
  sanitize)
    options+=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DPAGELATHE_GUI=ON
      -DPAGELATHE_SANITIZE=ON -DPAGELATHE_FUZZ=ON) ;;
  tsan)
    options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGELATHE_GUI=OFF
      -DPAGELATHE_TSAN=ON) ;;
  *)
    echo "configure.sh: no build named $name (release, sanitize or tsan)" >&2
    exit 2 ;;
esac
cmake -S . -B "build/$name" "${options[@]}" >/dev/null
