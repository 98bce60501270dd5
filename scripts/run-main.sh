#!/usr/bin/env bash
# The main job: the program's window when there is a display to show it on, else a full
# benchmark run on the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec ./build/bin/velora09 "$@"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running the benchmark with 'velora mark'." >&2
exec ./build/bin/velora mark "$@"
