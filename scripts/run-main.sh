#!/usr/bin/env bash
# The main job: the program's window when there is a display to show it on, else the probe
# dump on the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec ./build/bin/velora09 "$@"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): printing the probe dump instead." >&2
exec ./build/bin/probix-dump "$@"
