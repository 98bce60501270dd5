#!/bin/sh
# usage: with_xvfb.sh [Xvfb arguments...] -- command [arguments...]
# Runs the command on a virtual X server of its own. Xvfb chooses a free display number itself
# (-displayfd), so tests started side by side never race for one, and the server accepts only
# the cookie kept in a private folder, so no other user's client reaches it.
# -noreset: a server resetting after its last client refuses the next one for a moment.
set -eu
server_args=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  server_args="$server_args $1"
  shift
done
[ $# -gt 1 ] || { echo "usage: with_xvfb.sh [Xvfb arguments] -- command" >&2; exit 2; }
shift

dir=$(mktemp -d "${TMPDIR:-/tmp}/velora-xvfb.XXXXXX")
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

cookie=$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')
export XAUTHORITY="$dir/Xauthority"
xauth -q -f "$XAUTHORITY" add :0 MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null
# shellcheck disable=SC2086  # the server's arguments are words
Xvfb -displayfd 3 -auth "$XAUTHORITY" -nolisten tcp -noreset $server_args 3>"$dir/display" 2>"$dir/server.log" &
pid=$!

tries=0
until grep -q '^[0-9][0-9]*$' "$dir/display" 2>/dev/null; do
  if ! kill -0 "$pid" 2>/dev/null || [ $tries -ge 200 ]; then
    echo "with_xvfb.sh: Xvfb did not start:" >&2
    cat "$dir/server.log" >&2
    exit 1
  fi
  tries=$((tries + 1))
  sleep 0.05
done
number=$(cat "$dir/display")
xauth -q -f "$XAUTHORITY" add ":$number" MIT-MAGIC-COOKIE-1 "$cookie"
export DISPLAY=":$number"
unset WAYLAND_DISPLAY

status=0
"$@" || status=$?
exit "$status"
