#!/usr/bin/env bash
# `velora info device dll` on this machine: every listed adapter's MAC is its sysfs address, the
# loopback is not listed, the C library is the running one, and under a virtual X server the
# display mode is the server's (a 24-bit depth is stored in 32-bit pixels).
set -euo pipefail
velora=$1
export LANG=C LC_ALL=
fail() { echo "$*"; exit 1; }

out=$("$velora" info device dll)
grep -qE '^\[Network Adapters\]$' <<<"$out" || fail "no adapter list: $out"
if grep -qE '\(lo\) \|' <<<"$out"; then fail "the loopback is listed: $out"; fi
for dir in /sys/class/net/*; do
  name=${dir##*/}
  [[ $(cat "$dir/type") == 1 && -r $dir/address ]] || continue
  mac=$(tr 'a-f' 'A-F' <"$dir/address")
  grep -qE "^(Ethernet|Wireless) \| .*\($name\) \| $mac \|" <<<"$out" || fail "$name ($mac) missing: $out"
  address=$(ip -4 -o addr show dev "$name" 2>/dev/null | awk '{print $4}' | head -n 1 | cut -d/ -f1)
  if [[ -n $address ]]; then
    grep -qE "\($name\) \| $mac \| $address \|" <<<"$out" || fail "$name lacks $address: $out"
  fi
done
libc=$(getconf GNU_LIBC_VERSION | awk '{print $2}')
grep -qxF "libc.so.6 | $libc | C Library" <<<"$out" || fail "no glibc $libc: $out"
grep -qE '^libstdc\+\+\.so\.6 \| [0-9]' <<<"$out" || fail "no libstdc++ version: $out"

if command -v Xvfb >/dev/null; then
  mode=$("$(dirname "$0")/../support/with_xvfb.sh" -screen 0 1280x1024x24 -- "$velora" info device |
    grep '^Display Mode')
  [[ $mode =~ ^"Display Mode : 1280 x 1024 32bit"( [0-9]+Hz)?$ ]] || fail "display mode: $mode"
fi
echo ok
