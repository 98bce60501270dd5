#!/usr/bin/env bash
# probix-dump --cpuid, --pci and --smbios take only what is a recording: a small regular file
# of its kind. A device, a folder, an empty file, a file of another kind or a malformed line is
# refused with exit 1 and a reason naming the file, and a brand string cannot put control bytes
# on the terminal. Recordings in the other tools' forms replay as our own do.
set -euo pipefail
dump=$1
recorded=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

refused() {  # file, words expected in the reason[, option]
  local status=0 option=${3:---cpuid}
  timeout 10 "$dump" "$option" "$1" >"$work/out" 2>"$work/err" || status=$?
  [[ $status -eq 1 ]] || { echo "$1: exit $status, not 1"; cat "$work/err"; exit 1; }
  grep -qF -- "$1" "$work/err" || { echo "$1: not named in: $(cat "$work/err")"; exit 1; }
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

# The same registers as cpuid -r prints them, for two processors: the same identification.
raw() {
  grep -v '^#' "$1" | awk '{ printf "   0x%s 0x%s: eax=0x%s ebx=0x%s ecx=0x%s edx=0x%s\n",
                             tolower($1), tolower($2), tolower($3), tolower($4), tolower($5),
                             tolower($6) }'
}
for own in "$work/good" "$recorded/cpuid/intel/x86-64/core/intel-core2-duo-cpu-e6750.txt"; do
  { echo "CPU 0:"; raw "$own"; echo "CPU 1:"; raw "$own"; } >"$work/raw"
  cp "$own" "$work/own" && sed -i 's/logical-processors: [0-9]*/logical-processors: 2/' "$work/own"
  "$dump" --cpuid "$work/own" >"$work/own.out"
  "$dump" --cpuid "$work/raw" >"$work/raw.out"
  diff "$work/own.out" "$work/raw.out" || { echo "$own: cpuid -r identifies otherwise"; exit 1; }
  grep -q '^0x1001 S "..*"$' "$work/raw.out" || { echo "$own: no name"; exit 1; }
done

# The guest's north bridge 8086:1237, south bridge 8086:7000 and video 1013:00b8 (decimal
# below), with the driver open.
"$dump" --pci "$recorded/pci-config/hwloc_cloudstack-kvm-vm.lspci-x.txt" >"$work/out"
for line in '0x0010 I 0' '0x2020 I 32902' '0x2021 I 4663' '0x2031 I 28672' '0x2040 I 4115' \
            '0x2041 I 184'; do
  grep -qxF "$line" "$work/out" || { echo "PCI: no $line in:"; cat "$work/out"; exit 1; }
done
# The BIOS of a table inside the firmware segment (the pair) and of a dump-bin file.
"$dump" --smbios "$recorded/smbios/sysfs-pair/dell_precision-t7600" >"$work/out"
for line in '0x6001 I 1' '0x6100 S "Dell Inc."' '0x6101 S "T51"' '0x6102 S "04/06/2012"'; do
  grep -qxF "$line" "$work/out" || { echo "SMBIOS: no $line in:"; cat "$work/out"; exit 1; }
done
"$dump" --smbios "$recorded/smbios/ep-plus-table/uroot_Gigabyte-GA-MA74GMT-S2.dumpbin.bin" >"$work/out"
grep -qxF '0x6201 S "GA-MA74GMT-S2"' "$work/out" || { echo "no board:"; cat "$work/out"; exit 1; }

refused "$work/good" 'holds CPUID data, not PCI' --pci
refused "$work/good" 'holds CPUID data, not SMBIOS' --smbios
refused "$work/empty" 'is empty' --pci
refused /dev/zero 'not a regular file' --smbios
refused "$work" 'is a folder' --pci
mkdir "$work/tables"
refused "$work/tables" 'tables/smbios_entry_point: No such file' --smbios
truncate -s 17M "$work/large"
refused "$work/large" 'larger than 16 MB' --smbios
printf '00:00.0 Host bridge\n00: 86 80\n' >"$work/short"
refused "$work/short" 'line 2: expected 16 bytes' --pci
