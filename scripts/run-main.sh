#!/usr/bin/env bash
# The main job: what a newcomer sees first. Until the window program exists, the probe dump.
set -euo pipefail
cd "$(dirname "$0")/.."
exec ./build/bin/probix-dump "$@"
