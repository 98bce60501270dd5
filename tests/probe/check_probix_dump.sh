#!/usr/bin/env bash
# The dump tool loads the library by file name and answers the library's own ids, with and
# without sub-objects.
set -euo pipefail
dump=$1
for flags in 0x700 0; do
  out=$("$dump" "$flags")
  for line in '0x0001 S "275"' '0x0002 S "2005/10/10"' '0x0003 S "Pellomar"' '0x0300 S "0.0"'; do
    grep -qxF "$line" <<<"$out" || { echo "flags $flags: missing: $line"; echo "$out"; exit 1; }
  done
  grep -qE '^0x0010 I [0-4]$' <<<"$out" || { echo "flags $flags: no driver status"; exit 1; }
done
# Without sub-objects nothing of the processor or PCI ranges answers.
none=$("$dump" 0)
if grep -qE '^0x[1256]' <<<"$none"; then echo "flags 0 answered a sub-object id"; exit 1; fi
# --all prints the ids that answer -1 as well.
all=$("$dump" 0 --all)
grep -qxF '0x2001 S ""' <<<"$all"
grep -qxF '0x5001 I -1' <<<"$all"
# A bad argument is refused.
if "$dump" bogus >/dev/null 2>&1; then echo "bad argument accepted"; exit 1; fi
# A truncated library, beside the tool or named with --library, is refused like the programs
# refuse it, never mapped (it would fault on its missing pages).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$dump" "$work/probix-dump"
head -c 8192 "$(dirname "$dump")/libprobix.so" >"$work/libprobix.so"
for run in "$work/probix-dump 0" "$dump --library $work/libprobix.so 0"; do
  status=0
  $run >/dev/null 2>"$work/err" || status=$?
  [[ $status -eq 1 ]] || { echo "$run: exit $status, not 1"; cat "$work/err"; exit 1; }
  grep -qF "libprobix.so is not a whole shared library" "$work/err" ||
    { echo "$run: no reason:"; cat "$work/err"; exit 1; }
done
