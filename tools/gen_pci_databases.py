#!/usr/bin/env python3
"""Generates the PCI name databases of data/ from Debian's pci.ids.

Source: /usr/share/misc/pci.ids of the Debian package "pci.ids" (the PCI ID Repository,
https://pci-ids.ucw.cz/). Run `make pci-data` to regenerate; the output is checked in.

  vendor.pci   VVVV,name
  pci.db       VVVVDDDD,name
  class.pci    CCSSPP,name (one line per listed interface, then CCSSXX for the subclass)
  chip.pci     VVVVDDDD,RR,name   host, ISA/LPC and IDE/SATA bridges of the chipset vendors
  video.pci    VVVVDDDD,RR,name   display controllers of the graphics vendors
  chipset.pci  NNNNNNNN,RR,SSSSSSSS,RR,name   kept by hand below, checked against pci.ids

Commas and tabs separate fields in these files, so a name writes its commas as "%2C" (and its
percent signs as "%25"); the loader decodes them. Tabs in names become blanks.
"""

import re
import sys
from pathlib import Path

# Short vendor names that start chip and video names.
CHIPSET_VENDORS = {
    "8086": "Intel", "1022": "AMD", "1002": "AMD/ATI", "1106": "VIA", "1039": "SiS",
    "10de": "NVIDIA", "10b9": "ALi", "1166": "ServerWorks", "1078": "Cyrix", "1045": "OPTi",
    "1060": "UMC", "10ad": "Symphony Labs", "1025": "ALi",
}
GRAPHICS_VENDORS = {
    "10de": "NVIDIA", "1002": "AMD/ATI", "8086": "Intel", "102b": "Matrox", "121a": "3dfx",
    "5333": "S3", "1013": "Cirrus Logic", "1023": "Trident", "18ca": "XGI", "1039": "SiS",
    "1106": "VIA", "126f": "Silicon Motion", "102c": "Chips and Technologies", "3d3d": "3Dlabs",
    "10c8": "NeoMagic", "1163": "Rendition", "100c": "Tseng Labs", "105d": "Number Nine",
    "1142": "Alliance", "1a03": "ASPEED", "15ad": "VMware", "1234": "QEMU", "1b36": "Red Hat",
    "1af4": "Red Hat", "80ee": "VirtualBox", "1414": "Microsoft", "1de1": "Tekram",
    "1092": "Diamond", "104c": "Texas Instruments", "10ba": "Mitsubishi", "1048": "ELSA",
    "17f3": "RDC", "1d17": "Zhaoxin", "1ed5": "Moore Threads",
}

CHIP_NAME = re.compile(
    r"Host|DRAM Controller|Memory Controller|\bMCH\b|GMCH|Root Complex|System Controller|"
    r"Northbridge|North Bridge|\bISA\b|\bLPC\b|eSPI|South ?[Bb]ridge|PCI to ISA|PCI-to-ISA|"
    r"\bIDE\b|EIDE|\bSATA\b|AHCI|\bPATA\b|I/O Hub|HyperTransport|Hub Interface|Processor to DRAM|"
    # older bridges named only by part number or code name
    r"\b4[3-5]0[A-Z]{2}\b|\bPMC\b|MTXC|\bTSC\b|Triton|Natoma|Apollo|\bK[TXM]\d{3}|\bK8[TM]\d|"
    r"\bP[MTN]\d{3}|\bCN\d{3}|nForce|CK804|\bMCP\d|Irongate|AMD-7[5-8]\d|\bR[SDX]\d{3}|"
    r"\bSB[1-9]\d0|\b[5-7]\d\d Host|PIIX|\bICH\d|\bPCH\b|FCH|\bIOH\b|CNB20|CIOB|OSB4|CSB[56]|HT1000|\bDMI2?\b|W83C55"
)
NOT_CHIP = re.compile(
    r"SMBus|Serial ?IO|I2C|UART|\bSPI\b|SD Host|SDIO|GPIO|USB|Audio|Ethernet|Network|Wireless|"
    r"Thermal|Camera|Graphics|Display|Error Reporting|Thunderbolt|Sensor|Modem|Firewire|RAID 5"
)
VIDEO_ALWAYS = {"102b", "121a", "5333", "3d3d", "10c8", "1163", "100c", "105d", "1142", "18ca"}
VIDEO_NAME = re.compile(
    r"GeForce|Quadro|Tesla|RIVA|Riva|TNT|Vanta|GRID|TITAN|Titan|\bNVS\b|\bRTX\b|\bGTX\b|"
    r"Radeon|RADEON|FireGL|FirePro|FireMV|Rage|RAGE|Mach ?64|Instinct|All-in-Wonder|Mobility|"
    r"Graphics|\bGMA\b|Iris|\bArc\b|\bVGA\b|Video|Display|SVGA|GD ?5\d\d\d|Laguna|Chrome|"
    r"ProSavage|Savage|Trio|ViRGE|Blade|Cyber|TGUI|ProVidia|Volari|Lynx|Virtio 1\.0 GPU|"
    r"QXL|Voodoo|Banshee|Permedia|MGA|Millennium|Mystique|Parhelia|G[2-5]\d\d\b|\bXe\b|"
    r"\bA100\b|\bH100\b|\bL40|\bGP10|\bTU10|\bGA10|\bAD10|Navi|Vega|Polaris|Ellesmere|Fiji"
)
NOT_VIDEO = re.compile(
    r"Audio|HDMI|\bUSB\b|SMBus|Ethernet|Bridge|\bHost\b|Memory Controller|DRAM|Serial|"
    r"Thunderbolt|IOMMU|\bLPC\b|\bSATA\b|\bIDE\b|Root|Thermal|Network|Wireless|Modem|"
    r"PCI Express Port|PCIe Port|Switch|Upstream|Downstream|NVLink|NVSwitch|Sound|Tuner"
)

# Hand-kept chipset names: north key, north minimum revision, south key (X: any south
# bridge), south minimum revision, name. First match wins, so the rows with a south key
# come before their north key's catch-all row.
CHIPSETS = [
    # Intel, Pentium to Pentium 4 era
    ("80861237", "00", "80867000", "00", "Intel 440FX + PIIX3"),
    ("80861237", "00", "X", "00", "Intel 440FX"),
    ("80867180", "00", "X", "00", "Intel 440LX/EX"),
    ("80867190", "00", "80867110", "00", "Intel 440BX/ZX + PIIX4"),
    ("80867190", "00", "X", "00", "Intel 440BX/ZX"),
    ("80867192", "00", "X", "00", "Intel 440BX/ZX (AGP disabled)"),
    ("808671A0", "00", "X", "00", "Intel 440GX"),
    ("80867120", "00", "X", "00", "Intel 810"),
    ("80867122", "00", "X", "00", "Intel 810-DC100"),
    ("80867124", "00", "X", "00", "Intel 810E"),
    ("80861130", "00", "X", "00", "Intel 815"),
    ("80862500", "00", "X", "00", "Intel 820"),
    ("80861A21", "00", "X", "00", "Intel 840"),
    ("80862530", "00", "X", "00", "Intel 850"),
    ("80862531", "00", "X", "00", "Intel 860"),
    ("80861A30", "00", "X", "00", "Intel 845"),
    ("80862560", "00", "X", "00", "Intel 845G/GL/GE/PE"),
    ("80862570", "00", "X", "00", "Intel 865G/PE/P"),
    ("80862578", "00", "808625A1", "00", "Intel E7210"),
    ("80862578", "00", "X", "00", "Intel 875P"),
    ("80863575", "00", "X", "00", "Intel 830M/MG/MP"),
    ("80863340", "00", "X", "00", "Intel 855PM"),
    ("8086358C", "00", "X", "00", "Intel 854"),
    ("80862580", "00", "X", "00", "Intel 915G/P/GV/GL/PL"),
    ("80862584", "00", "X", "00", "Intel 925X/XE"),
    ("80862590", "00", "X", "00", "Intel 915GM/PM/GMS"),
    ("80862770", "00", "X", "00", "Intel 945G/GZ/P/PL"),
    ("80862774", "00", "X", "00", "Intel 955X"),
    ("8086277C", "00", "X", "00", "Intel 975X"),
    ("808627A0", "00", "X", "00", "Intel 945GM/PM/GMS"),
    ("808627AC", "00", "X", "00", "Intel 945GSE"),
    ("80862970", "00", "X", "00", "Intel 946GZ/PL/GL"),
    ("80862980", "00", "X", "00", "Intel G35"),
    ("80862990", "00", "X", "00", "Intel Q963/Q965"),
    ("808629A0", "00", "X", "00", "Intel P965/G965"),
    ("808629B0", "00", "X", "00", "Intel Q35"),
    ("808629C0", "00", "X", "00", "Intel G33/G31/P35/P31"),
    ("808629D0", "00", "X", "00", "Intel Q33"),
    ("808629E0", "00", "X", "00", "Intel X38/X48"),
    ("80862A00", "00", "80862815", "00", "Intel GM965/PM965 + ICH8M"),
    ("80862A00", "00", "X", "00", "Intel GM965/PM965/GL960"),
    ("80862A10", "00", "X", "00", "Intel GME965/GLE960"),
    ("80862A40", "00", "X", "00", "Intel Mobile 4 Series (GM45/PM45)"),
    ("80862E10", "00", "X", "00", "Intel Q45/Q43"),
    ("80862E20", "00", "X", "00", "Intel G45/G43/P45"),
    ("80862E30", "00", "X", "00", "Intel G41"),
    ("80862E40", "00", "X", "00", "Intel B43"),
    # Intel servers and workstations
    ("80862540", "00", "X", "00", "Intel E7500"),
    ("8086254C", "00", "X", "00", "Intel E7501"),
    ("80862550", "00", "X", "00", "Intel E7505"),
    ("8086255D", "00", "X", "00", "Intel E7205"),
    ("80862588", "00", "X", "00", "Intel E7220/E7221"),
    ("80862778", "00", "X", "00", "Intel E7230/3000/3010"),
    ("80863590", "00", "X", "00", "Intel E7520"),
    ("80863592", "00", "X", "00", "Intel E7320"),
    ("8086359E", "00", "X", "00", "Intel E7525"),
    ("808625C0", "00", "X", "00", "Intel 5000X"),
    ("808625D0", "00", "X", "00", "Intel 5000Z"),
    ("808625D4", "00", "X", "00", "Intel 5000V"),
    ("808625D8", "00", "X", "00", "Intel 5000P"),
    ("808629F0", "00", "X", "00", "Intel 3200/3210"),
    ("80863600", "00", "X", "00", "Intel 7300"),
    ("80864000", "00", "X", "00", "Intel 5400"),
    ("80864001", "00", "X", "00", "Intel 5400"),
    ("80864003", "00", "X", "00", "Intel 5400"),
    ("80863405", "00", "X", "00", "Intel 5520/5500/X58"),
    ("80863406", "00", "X", "00", "Intel 5520"),
    ("80863407", "00", "80863A18", "00", "Intel 5520/5500/X58 + ICH10"),
    ("80863407", "00", "X", "00", "Intel 5520/5500/X58"),
    ("80863C00", "00", "80861D41", "00", "Intel C600/X79 (Sandy Bridge-E)"),
    ("80863C00", "00", "X", "00", "Intel Xeon E5/Core i7 (Sandy Bridge-E)"),
    # Intel Core processors: the host bridge names the platform
    ("80860040", "00", "X", "00", "Intel 5 Series (Core i3/i5 1st Gen)"),
    ("80860044", "00", "X", "00", "Intel 5 Series (Core i5/i7 Mobile 1st Gen)"),
    ("80860100", "00", "X", "00", "Intel 6 Series (Sandy Bridge)"),
    ("80860104", "00", "X", "00", "Intel 6 Series (Sandy Bridge Mobile)"),
    ("80860150", "00", "X", "00", "Intel 7 Series (Ivy Bridge)"),
    ("80860154", "00", "X", "00", "Intel 7 Series (Ivy Bridge Mobile)"),
    ("80860C00", "00", "X", "00", "Intel 8 Series (Haswell)"),
    ("80860C04", "00", "X", "00", "Intel 8 Series (Haswell Mobile)"),
    ("80860A04", "00", "X", "00", "Intel Haswell-ULT"),
    ("8086191F", "00", "X", "00", "Intel 100 Series (Skylake)"),
    ("80861904", "00", "X", "00", "Intel Skylake-U"),
    ("80863E30", "00", "X", "00", "Intel 300 Series (Coffee Lake)"),
    ("80863EC2", "00", "X", "00", "Intel 300 Series (Coffee Lake)"),
    # AMD
    ("10227006", "00", "X", "00", "AMD 751"),
    ("1022700C", "00", "X", "00", "AMD 760MP/MPX"),
    ("1022700E", "00", "X", "00", "AMD 760"),
    ("10221100", "00", "X", "00", "AMD K8 (Athlon 64/Opteron)"),
    ("10221200", "00", "X", "00", "AMD Family 10h (Phenom/Opteron)"),
    ("10221450", "00", "X", "00", "AMD Zen (Ryzen/EPYC)"),
    ("10221480", "00", "X", "00", "AMD Zen 2 (Ryzen 3000/EPYC 7002)"),
    ("10221630", "00", "X", "00", "AMD Renoir/Cezanne"),
    ("10025A14", "00", "X", "00", "AMD 9x0/RD890"),
    ("10027910", "00", "X", "00", "ATI RS690"),
    ("10025956", "00", "X", "00", "AMD RD790"),
    # VIA
    ("11060305", "00", "X", "00", "VIA KT133/KM133"),
    ("11060391", "00", "X", "00", "VIA KX133"),
    ("11063099", "00", "X", "00", "VIA KT266/KT266A/KT333"),
    ("11063189", "00", "X", "00", "VIA KT400/KT600"),
    ("11060269", "00", "X", "00", "VIA KT880"),
    ("11060691", "00", "X", "00", "VIA Apollo Pro 133"),
    ("11060598", "00", "X", "00", "VIA Apollo MVP3"),
    ("11063188", "00", "X", "00", "VIA K8T800"),
    ("11060282", "00", "X", "00", "VIA K8T800Pro/K8T890"),
    # SiS
    ("10390730", "00", "X", "00", "SiS 730"),
    ("10390735", "00", "X", "00", "SiS 735"),
    ("10390745", "00", "X", "00", "SiS 745"),
    ("10390746", "00", "X", "00", "SiS 746"),
    ("10390655", "00", "X", "00", "SiS 655"),
    ("10390661", "00", "X", "00", "SiS 661"),
    # NVIDIA
    ("10DE01A4", "00", "X", "00", "NVIDIA nForce"),
    ("10DE01E0", "00", "X", "00", "NVIDIA nForce2"),
    ("10DE00E1", "00", "X", "00", "NVIDIA nForce3 250"),
    ("10DE005E", "00", "X", "00", "NVIDIA nForce4"),
    # ServerWorks
    ("11660008", "00", "X", "00", "ServerWorks CNB20HE"),
    ("11660012", "00", "X", "00", "ServerWorks GC-LE (CMIC-WS)"),
    ("11660014", "00", "X", "00", "ServerWorks GC-LE (CMIC-LE)"),
    ("11660017", "00", "X", "00", "ServerWorks GCNB-LE"),
]


def clean(name):
    return name.replace("\t", " ").strip()


def field(name):
    """A name as a field of these files: the two characters the loader decodes, escaped."""
    return name.replace("%", "%25").replace(",", "%2C")


def read_ids(path):
    vendors, devices, classes = {}, {}, []
    vendor = None
    klass = sub = None
    in_classes = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("C "):
                in_classes = True
                klass, sub = line[2:4].lower(), None
                classes.append((klass, None, None, clean(line[6:])))
                continue
            if in_classes:
                if line.startswith("\t\t"):
                    prog = line[2:4].lower()
                    classes.append((klass, sub, prog, clean(line[6:])))
                elif line.startswith("\t"):
                    sub = line[1:3].lower()
                    classes.append((klass, sub, None, clean(line[5:])))
                continue
            if line.startswith("\t\t"):
                continue  # subsystems
            if line.startswith("\t"):
                devices[(vendor, line[1:5].lower())] = clean(line[7:])
            else:
                vendor = line[:4].lower()
                vendors[vendor] = clean(line[6:])
    return vendors, devices, classes


def header(out, title, source):
    out.write(f"; {title}\n; Generated by tools/gen_pci_databases.py from {source}\n")
    out.write("; (Debian package pci.ids, the PCI ID Repository). Do not edit: run make pci-data.\n")


def version_of(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.match(r"#\s*Version:\s*(\S+)", line)
            if m:
                return m.group(1)
    return "unknown"


def video_name(vendor_short, name):
    bracket = re.search(r"\[([^\]]+)\]", name)
    product = bracket.group(1) if bracket and re.search(
        r"GeForce|Quadro|Radeon|FirePro|FireGL|Tesla|TITAN|Arc|Instinct|RTX|GTX", bracket.group(1)) else name
    return with_vendor(vendor_short, product)


def with_vendor(vendor_short, name):
    return name if name.startswith(vendor_short) else f"{vendor_short} {name}"


def main():
    ids = Path(sys.argv[1] if len(sys.argv) > 1 else "/usr/share/misc/pci.ids")
    out_dir = Path(sys.argv[2] if len(sys.argv) > 2 else "data")
    vendors, devices, classes = read_ids(ids)
    source = f"{ids} version {version_of(ids)}"
    out_dir.mkdir(parents=True, exist_ok=True)

    with open(out_dir / "vendor.pci", "w", encoding="utf-8", newline="\n") as out:
        header(out, "PCI vendor names: vendor id, name", source)
        for v in sorted(vendors):
            out.write(f"{v.upper()},{field(vendors[v])}\n")

    with open(out_dir / "pci.db", "w", encoding="utf-8", newline="\n") as out:
        header(out, "PCI device names: vendor and device id, name", source)
        for (v, d) in sorted(devices):
            out.write(f"{v.upper()}{d.upper()},{field(devices[(v, d)])}\n")

    with open(out_dir / "class.pci", "w", encoding="utf-8", newline="\n") as out:
        header(out, "PCI class names: class code (XX for any interface), name", source)
        subclass_names = {}
        interfaces = {}
        for klass, sub, prog, name in classes:
            if sub is not None and prog is None:
                subclass_names[(klass, sub)] = name
            elif prog is not None:
                interfaces.setdefault((klass, sub), []).append((prog, name))
        # A base class listed without subclasses (Unassigned) names every subclass.
        for klass, sub, prog, name in classes:
            if sub is None and not any(k == klass for k, _ in subclass_names):
                for n in range(256):
                    subclass_names[(klass, f"{n:02x}")] = name
        for key in sorted(subclass_names):
            klass, sub = key
            base = subclass_names[key]
            for prog, name in interfaces.get(key, []):
                # The table keeps 63 characters; a longer text would lose its end, so such
                # interfaces take the subclass name from the XX line instead.
                full = f"{base} ({name})"
                if len(full.encode("utf-8")) <= 63:
                    out.write(f"{klass.upper()}{sub.upper()}{prog.upper()},{field(full)}\n")
            out.write(f"{klass.upper()}{sub.upper()}XX,{field(base)}\n")

    with open(out_dir / "chip.pci", "w", encoding="utf-8", newline="\n") as out:
        header(out, "Bridge names: device key, minimum revision, name", source)
        for (v, d) in sorted(devices):
            name = devices[(v, d)]
            if v in CHIPSET_VENDORS and CHIP_NAME.search(name) and not NOT_CHIP.search(name):
                out.write(f"{v.upper()}{d.upper()},00,{field(with_vendor(CHIPSET_VENDORS[v], name))}\n")

    with open(out_dir / "video.pci", "w", encoding="utf-8", newline="\n") as out:
        header(out, "Display controller names: device key, minimum revision, name", source)
        for (v, d) in sorted(devices):
            name = devices[(v, d)]
            if v not in GRAPHICS_VENDORS or NOT_VIDEO.search(name):
                continue
            if v in VIDEO_ALWAYS or VIDEO_NAME.search(name):
                out.write(f"{v.upper()}{d.upper()},00,{field(video_name(GRAPHICS_VENDORS[v], name))}\n")

    with open(out_dir / "chipset.pci", "w", encoding="utf-8", newline="\n") as out:
        out.write("; Chipset names: north key, north minimum revision, south key (X: any),\n")
        out.write("; south minimum revision, name. Kept by hand in tools/gen_pci_databases.py;\n")
        out.write(f"; every key is checked against {source}.\n")
        for north, nrev, south, srev, name in CHIPSETS:
            for key in (north, south):
                if key == "X":
                    continue
                if len(key) != 8 or (key[:4].lower(), key[4:].lower()) not in devices:
                    sys.exit(f"chipset key {key} ({name}) is not in {ids}")
            out.write(f"{north},{nrev},{south},{srev},{field(clean(name))}\n")


if __name__ == "__main__":
    main()
