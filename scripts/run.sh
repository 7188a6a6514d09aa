#!/usr/bin/env bash
# Installs what is missing, builds Kaleidra in build/ and starts it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
cmake --build build --target kaleidra
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run: no display found; on a machine without a screen run it under Xvfb: xvfb-run -s \"-screen 0 1920x1080x24\" bash scripts/run.sh" >&2
  exit 1
fi
exec build/kaleidra "$@"
