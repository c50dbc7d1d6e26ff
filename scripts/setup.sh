#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, once: packages already present are
# not installed again, and the package lists are refreshed only when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config lld
  clang libclang-rt-14-dev clang-format
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev libssl-dev openssl
  libcurl4  # libcurl.so.4, which the link check and the update download load at run time
  libicu-dev  # the letter rules: case folding, NFC, letter classes
  xvfb xauth fonts-dejavu-core
  python3
  curl time html2text  # the whole-process benchmarks compare with these
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
