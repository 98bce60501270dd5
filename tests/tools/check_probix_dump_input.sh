#!/usr/bin/env bash
# probix-dump --cpuid takes only what is a dump: a small regular file of well-formed lines. A
# device, a folder, an empty file or a malformed line is refused with exit 1 and a reason, and
# a brand string cannot put control bytes on the terminal.
set -euo pipefail
dump=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

refused() {  # file, words expected in the reason
  local status=0
  timeout 10 "$dump" --cpuid "$1" >"$work/out" 2>"$work/err" || status=$?
  [[ $status -eq 1 ]] || { echo "$1: exit $status, not 1"; cat "$work/err"; exit 1; }
  grep -qF -- "$2" "$work/err" || { echo "$1: no \"$2\" in: $(cat "$work/err")"; exit 1; }
  [[ ! -s "$work/out" ]] || { echo "$1: printed an identification"; exit 1; }
}

# Vendor GenuineIntel, family 6 model 15; brand "Eel" then an ESC byte.
cat >"$work/good" <<'DUMP'
# logical-processors: 2
00000000 00 00000001 756E6547 6C65746E 49656E69
00000001 00 000006F6 00020800 00000000 00000000
80000000 00 80000004 00000000 00000000 00000000
80000002 00 1B6C6545 00000000 00000000 00000000
DUMP
"$dump" --cpuid "$work/good" >"$work/out"
grep -qxF '0x1005 S "Eel\x1B"' "$work/out" || { echo "brand not escaped:"; grep '^0x1005' "$work/out"; exit 1; }
if grep -q $'\x1B' "$work/out"; then echo "a control byte reached the output"; exit 1; fi

# Leaf 0 all zeros: no vendor, no leaf; nothing is named, least of all from this machine.
printf '00000000 00 00000000 00000000 00000000 00000000\n' >"$work/zeros"
"$dump" --cpuid "$work/zeros" >"$work/out"
if grep -q 'Pentium' "$work/out"; then echo "an empty leaf 0 was named"; exit 1; fi
grep -qxF '0x1001 S ""' "$work/out" || { echo "no empty name"; cat "$work/out"; exit 1; }

refused /dev/zero 'not a regular file'
refused /dev/null 'not a regular file'
refused "$work" 'is a folder'
: >"$work/empty"
refused "$work/empty" 'is empty'
mkfifo "$work/fifo"
refused "$work/fifo" 'not a regular file'
head -c $((4 * 1024 * 1024 + 1)) /dev/zero | tr '\0' '#' >"$work/huge"
refused "$work/huge" 'larger than 4 MB'
printf '# only a comment\n' >"$work/comments"
refused "$work/comments" 'holds no CPUID leaves'
sed 's/logical-processors: 2/logical-processors: 100000/' "$work/good" >"$work/many"
refused "$work/many" 'line 1: logical-processors must be between 1 and 4096'
sed 's/logical-processors: 2/logical-processors: 0/' "$work/good" >"$work/none"
refused "$work/none" 'logical-processors must be between 1 and 4096'
sed 's/000006F6/6F6/' "$work/good" >"$work/short"
refused "$work/short" 'line 3: register fields must be 8 hex digits'
sed 's/000006F6/000006G6/' "$work/good" >"$work/nothex"
refused "$work/nothex" 'line 3: register fields must be 8 hex digits'
sed 's/ 00000000$//' "$work/good" >"$work/fewer"
refused "$work/fewer" 'expected LEAF SUB EAX EBX ECX EDX'
