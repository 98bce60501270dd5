#!/usr/bin/env bash
# Files named on the command line that are not what they claim: a device, a FIFO or a folder as
# a template or an IDENTIFY block is refused at once with exit 1 and a reason naming it, and the
# control bytes of a drive's model reach the terminal escaped.
set -euo pipefail
velora=$1
blocks=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LANG=C LC_ALL= LC_MESSAGES= XDG_DATA_HOME="$work/data"
fail() { echo "$*"; exit 1; }
mkfifo "$work/fifo"

refused() {  # reason, command words...
  local reason=$1 status=0
  shift
  timeout 20 "$velora" "$@" >"$work/out" 2>"$work/err" || status=$?
  [[ $status -eq 1 ]] || fail "$*: exit $status, not 1: $(cat "$work/err")"
  grep -qF -- "$reason" "$work/err" || fail "$*: no \"$reason\" in: $(cat "$work/err")"
}
for option in "report --template" "info disk --identify-file"; do
  # shellcheck disable=SC2086
  refused "/dev/zero: is not a regular file" $option /dev/zero
  # shellcheck disable=SC2086
  refused "$work/fifo: is not a regular file" $option "$work/fifo"
  # shellcheck disable=SC2086
  refused "$work: is a folder" $option "$work"
done
truncate -s $((8 * 1024 * 1024 + 1)) "$work/huge.txt"
refused "$work/huge.txt: is larger than 8 MB" report --template "$work/huge.txt"

# The Maxtor block with its model starting "ESC [ 3 1" instead of "Ma".
sed '4s/4D61 7874/1B5B 3331/' "$blocks/libatasmart_Maxtor_96147H8--BAC51KJ0.txt" >"$work/esc.txt"
"$velora" info disk --identify-file "$work/esc.txt" >"$work/out"
grep -qF '\x1B[31or 96147H8' "$work/out" || fail "model not escaped: $(cat "$work/out")"
if grep -q $'\x1B' "$work/out"; then fail "an ESC byte reached the terminal"; fi
