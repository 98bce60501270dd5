#!/usr/bin/python3
"""velora info and report --from recordings of other machines, as Velora and the usual Linux
tools write them: the values are read from the recorded bytes, never from this machine, and a
recording that is not one is refused with exit 2."""
import json
import os
import re
import subprocess
import sys
import tempfile

VELORA, DATA = sys.argv[1], sys.argv[2]
failures = []


def run(*words):
    return subprocess.run([VELORA, *words], capture_output=True, text=True, timeout=120,
                          errors="replace")


def info(pages, *paths):
    words = ["info", *pages, "--json"]
    for path in paths:
        words += ["--from", path]
    r = run(*words)
    if r.returncode != 0:
        failures.append(f"info {pages} --from {paths}: exit {r.returncode}: {r.stderr.strip()}")
        return {}
    return json.loads(r.stdout)


def expect(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: got {got!r}, wanted {wanted!r}")


# SMBIOS in each layout: BIOS vendor, version and date, board maker and product, as the
# strings stand in the tables.
SMBIOS = [
    ("smbios/ep-plus-table/uroot_Lenovo-ThinkPad-T480.dumpbin.bin",
     ("LENOVO", "N22ET52W (1.29 )", "01/16/2019"), ("LENOVO", "20L8S07A14")),
    ("smbios/ep-plus-table/uroot_MSI-MS-7816.dumpbin.bin",
     ("American Megatrends Inc.", "V2.14B14", "07/13/2018"), ("MSI", "H87-G43 (MS-7816)")),
    # The entry point keeps the firmware's table address, outside the file.
    ("smbios/ep-plus-table/dell_PE1300.smbios.dat",
     ("Dell Computer Corporation", "A05", "07/09/1999"), None),
    ("smbios/table-only/siderolabs_ASRock-Single-Ryzen.dmi",
     ("American Megatrends International, LLC.", "P1.20", "05/19/2021"), ("ASRockRack", "X570D4U")),
    ("smbios/sysfs-pair/dell_precision-t7600",
     ("Dell Inc.", "T51", "04/06/2012"), ("Dell Inc.", None)),
]
for path, bios, board in SMBIOS:
    j = info(["system"], os.path.join(DATA, path))
    if not j:
        continue
    b = j.get("bios") or {}
    expect(f"{path} bios vendor", b.get("vendor"), bios[0])
    expect(f"{path} bios version", b.get("caption"), bios[1])
    month, day, year = bios[2].split("/")
    expect(f"{path} bios date", b.get("date"), f"{year}/{month}/{day}")
    if board:
        expect(f"{path} board vendor", (j.get("board") or {}).get("vendor"), board[0])
        if board[1]:
            expect(f"{path} board product", (j.get("board") or {}).get("product"), board[1])
    # Nothing of this machine stands in for what the table does not say.
    if "cpu" in j:
        failures.append(f"{path}: a cpu section from a recording without CPUID")

# PCI: every domain-0 function of the dump, with the ids in its first four bytes.
FUNCTION = re.compile(r"^(?:([0-9a-f]{4}):)?([0-9a-f]{2}):([0-9a-f]{2})\.([0-7])\b")
for name, video in [("pciutils_tree-fujitsu-p8010.lspci.txt", "GM965"),
                    ("hwloc_cloudstack-kvm-vm.lspci-x.txt", "GD 5446"),
                    ("hwloc_dell-dcs8000z.lspci-x.txt", "ASPEED Graphics Family")]:
    path = os.path.join(DATA, "pci-config", name)
    wanted, current = [], None
    for line in open(path, encoding="latin-1"):
        m = FUNCTION.match(line)
        if m:
            current = None
            if (m.group(1) or "0000") == "0000":
                current = [int(m.group(2), 16), int(m.group(3), 16), int(m.group(4), 16)]
                wanted.append(current)
        elif current is not None and len(current) == 3 and line.startswith("00: "):
            b = [int(x, 16) for x in line[4:].split()]
            current += [b[0] | b[1] << 8, b[2] | b[3] << 8]
    j = info(["pci", "device"], path)
    if not j:
        continue
    got = sorted([f["bus"], f["device"], f["function"], f["vendor_id"], f["device_id"]]
                 for f in j.get("pci", []))
    # The table holds the first 128 functions of the walk, which goes in address order.
    expect(f"{name} functions", got, sorted(wanted)[:128])
    video_name = ((j.get("device") or {}).get("video") or {}).get("name") or ""
    if video not in video_name:
        failures.append(f"{name}: video {video_name!r} does not name {video!r}")

# CPUID: the raw form of the cpuid tool identifies the processor as our own form does.
own = os.path.join(DATA, "cpuid/amd/zen4/amd-ryzen-7-7700x-8-core-processor.txt")
with tempfile.TemporaryDirectory() as tmp:
    raw = os.path.join(tmp, "cpuid-r.txt")
    with open(raw, "w") as out:
        out.write("CPU 0:\n")
        for line in open(own):
            if line.strip() and not line.startswith("#"):
                leaf, sub, a, b, c, d = line.split()
                out.write(f"   0x{leaf} 0x{sub}: eax=0x{a} ebx=0x{b} ecx=0x{c} edx=0x{d}\n")
    first, second = info(["cpu"], own).get("cpu", {}), info(["cpu"], raw).get("cpu", {})
    # The brand string cleaned of its core count.
    expect("cpu name from our own form", first.get("name"), "AMD Ryzen 7 7700X")
    for key in ("name", "code_name", "family", "model", "stepping", "caches"):
        expect(f"cpu {key}: cpuid -r against our form", second.get(key), first.get(key))

# IDENTIFY as hdparm --Istdin reads it: the disk's model.
j = info(["disk"], os.path.join(DATA, "ata-identify/libatasmart_Maxtor_96147H8--BAC51KJ0.txt"))
expect("identify model", ((j.get("disks") or [{}])[0]).get("model"), "Maxtor 96147H8")

# A report names the recorded board, and nothing of this machine's kernel.
r = run("report", "--from", os.path.join(DATA, SMBIOS[0][0]))
if r.returncode != 0 or "LENOVO 20L8S07A14" not in r.stdout or os.uname().release in r.stdout:
    failures.append(f"report --from: exit {r.returncode}: {r.stdout[:300]!r} {r.stderr}")

# What is not a recording is refused, naming it, with exit 2.
with tempfile.TemporaryDirectory() as tmp:
    garbage = os.path.join(tmp, "notes.txt")
    with open(garbage, "w") as f:
        f.write("shopping list\nmilk\n")
    outside = os.path.join(tmp, "rec")
    os.makedirs(os.path.join(outside, "root", "etc"))
    with open(os.path.join(outside, "manifest.json"), "w") as f:
        f.write('{"format": "velora-recording", "format_version": 1}')
    os.symlink("/etc/passwd", os.path.join(outside, "root", "etc", "os-release"))
    smbios = os.path.join(DATA, SMBIOS[0][0])
    fifo = os.path.join(tmp, "fifo")
    os.mkfifo(fifo)
    for words, needle in [(["--from", garbage], "no known kind"),
                          (["--from", outside], "leads outside"),
                          (["--from", fifo], "not a regular file"),
                          (["--from", os.path.join(tmp, "missing")], "missing"),
                          (["--from", smbios, "--from", smbios], "a second SMBIOS")]:
        r = run("info", "system", *words)
        if r.returncode != 2 or needle not in r.stderr or r.stdout:
            failures.append(f"info {words}: exit {r.returncode}, stderr {r.stderr.strip()!r}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
