#!/usr/bin/env bash
# Builds the program (incrementally) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# The test script's release build (tests included, only the program built here), configured
# by the same script, so that either script may run first and neither undoes the other's folder.
bash scripts/configure.sh release
cmake --build build/release --target brevanoth-pagelathe
program="$PWD/build/release/bin/brevanoth-pagelathe"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to show the window on."
  echo "Start the program under a virtual X server instead:"
  echo "  xvfb-run -a -s '-screen 0 1024x768x24' $program"
  exit 1
fi
exec "$program"
