#!/usr/bin/env python3
"""Writes the choice lists of the Ranking page into data/, one entry a line, CR LF line ends.

  country.dat  "AA Name" for every ISO 3166-1 alpha-2 code, in code order. Source:
               /usr/share/iso-codes/json/iso_3166-1.json of the Debian package "iso-codes".
  area.dat     the 47 prefectures of Japan in Japanese, in their official code order (01 to 47).
  memory.dat   memory types from the PC era to today, kept in this script.
  raid.dat     RAID controllers and chipsets' RAID by name, kept in this script.

Run `make ranking-data` to regenerate; the output is checked in.
"""

import json
import sys
from pathlib import Path

ISO_3166 = Path("/usr/share/iso-codes/json/iso_3166-1.json")

PREFECTURES = [
    "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県",
    "群馬県", "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県", "石川県", "福井県",
    "山梨県", "長野県", "岐阜県", "静岡県", "愛知県", "三重県", "滋賀県", "京都府", "大阪府",
    "兵庫県", "奈良県", "和歌山県", "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県",
    "香川県", "愛媛県", "高知県", "福岡県", "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県",
    "鹿児島県", "沖縄県",
]

MEMORY = [
    "FPM DRAM", "EDO DRAM",
    "SDRAM PC66", "SDRAM PC100", "SDRAM PC133", "SDRAM PC150",
    "RDRAM PC600", "RDRAM PC700", "RDRAM PC800", "RDRAM PC1066",
    "DDR PC1600 (DDR200)", "DDR PC2100 (DDR266)", "DDR PC2700 (DDR333)", "DDR PC3200 (DDR400)",
    "DDR PC3500 (DDR433)", "DDR PC4000 (DDR500)",
    "DDR2 PC2-3200 (DDR2-400)", "DDR2 PC2-4200 (DDR2-533)", "DDR2 PC2-5300 (DDR2-667)",
    "DDR2 PC2-6400 (DDR2-800)", "DDR2 PC2-8500 (DDR2-1066)",
    "DDR3 PC3-6400 (DDR3-800)", "DDR3 PC3-8500 (DDR3-1066)", "DDR3 PC3-10600 (DDR3-1333)",
    "DDR3 PC3-12800 (DDR3-1600)", "DDR3 PC3-14900 (DDR3-1866)", "DDR3 PC3-17000 (DDR3-2133)",
    "DDR4 PC4-17000 (DDR4-2133)", "DDR4 PC4-19200 (DDR4-2400)", "DDR4 PC4-21300 (DDR4-2666)",
    "DDR4 PC4-23400 (DDR4-2933)", "DDR4 PC4-25600 (DDR4-3200)", "DDR4 PC4-28800 (DDR4-3600)",
    "DDR5 PC5-38400 (DDR5-4800)", "DDR5 PC5-44800 (DDR5-5600)", "DDR5 PC5-48000 (DDR5-6000)",
    "DDR5 PC5-51200 (DDR5-6400)",
    "LPDDR3", "LPDDR4", "LPDDR4X", "LPDDR5", "LPDDR5X",
]

RAID = [
    "Intel ICH5R", "Intel ICH6R", "Intel ICH7R", "Intel ICH8R", "Intel ICH9R", "Intel ICH10R",
    "Intel Matrix Storage Technology", "Intel Rapid Storage Technology", "Intel VROC",
    "AMD SB600 RAID", "AMD SB700 RAID", "AMD SB850 RAID", "AMD RAIDXpert2",
    "NVIDIA nForce MediaShield", "VIA V-RAID (VT8237)", "SiS 180 RAID", "ULi M1575 RAID",
    "Promise FastTrak TX2300", "Promise FastTrak TX4310", "HighPoint RocketRAID 2310",
    "HighPoint RocketRAID 2320", "Silicon Image SiI3112", "Silicon Image SiI3114",
    "JMicron JMB363", "Marvell 88SE9128", "Adaptec 1430SA", "Adaptec 2405",
    "3ware 9650SE", "Areca ARC-1220", "LSI MegaRAID SAS 8708EM2", "LSI MegaRAID SAS 9260-8i",
    "Broadcom MegaRAID 9560-8i", "Linux md (software RAID)", "Btrfs RAID", "ZFS RAID-Z",
]


def write_list(path, entries):
    path.write_bytes("".join(entry + "\r\n" for entry in entries).encode("utf-8"))


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "data")
    codes = json.loads(ISO_3166.read_text(encoding="utf-8"))["3166-1"]
    countries = sorted((c["alpha_2"], c["name"]) for c in codes)
    write_list(out / "country.dat", [f"{code} {name}" for code, name in countries])
    assert len(PREFECTURES) == 47
    write_list(out / "area.dat", PREFECTURES)
    write_list(out / "memory.dat", MEMORY)
    write_list(out / "raid.dat", RAID)


if __name__ == "__main__":
    main()
