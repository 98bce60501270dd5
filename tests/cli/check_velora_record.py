#!/usr/bin/python3
"""velora record: the recording replays as this machine (velora info cpu pci disk --json gives
the same values, only live counters and what was not recorded aside), holds no MAC address or
disk serial without --with-serials, and a folder that is not empty or is a link is refused and
left as it was. Usage: check_velora_record.py VELORA"""
import glob
import json
import os
import subprocess
import sys
import tempfile

velora = sys.argv[1]
failures = []

# Live counters, and what a recording cannot hold (the free space of mounted drives).
LIVE = {"available_bytes", "commit_available_bytes", "virtual_available_bytes", "clock_mhz",
        "load_percent", "up_time_seconds"}
NOT_RECORDED = {("/volumes", "total_bytes")}


def run(*words):
    return subprocess.run([velora, *words], capture_output=True, timeout=300)


def info_json(*from_words):
    done = run("info", "cpu", "pci", "disk", "--json", *from_words)
    if done.returncode != 0:
        failures.append(f"info {' '.join(from_words)} exited {done.returncode}: {done.stderr!r}")
        return None
    return json.loads(done.stdout)


def differences(live, replay, path=""):
    if isinstance(live, dict) and isinstance(replay, dict):
        for key in sorted(set(live) | set(replay)):
            if key in LIVE or any(path.startswith(p) and key == k for p, k in NOT_RECORDED):
                continue
            if key not in live or key not in replay:
                yield f"{path}/{key} only in {'the replay' if key in replay else 'this machine'}"
            else:
                yield from differences(live[key], replay[key], f"{path}/{key}")
    elif isinstance(live, list) and isinstance(replay, list):
        if len(live) != len(replay):
            yield f"{path}: {len(live)} entries here, {len(replay)} replayed"
        for i, (a, b) in enumerate(zip(live, replay)):
            yield from differences(a, b, f"{path}[{i}]")
    elif live != replay:
        yield f"{path}: {live!r} here, {replay!r} replayed"


def recorded_bytes(folder):
    everything = b""
    for path in glob.glob(folder + "/**", recursive=True):
        if os.path.isfile(path) and not os.path.islink(path):
            with open(path, "rb") as f:
                everything += f.read()
    return everything


def macs():
    found = []
    for path in glob.glob("/sys/class/net/*/address"):
        with open(path) as f:
            mac = f.read().strip().lower()
        if mac and mac.strip("0:"):
            found.append(mac)
    return found


with tempfile.TemporaryDirectory() as work:
    live = info_json()
    for serials in (False, True):
        folder = os.path.join(work, "with" if serials else "without")
        done = run("record", folder, *(["--with-serials"] if serials else []))
        if done.returncode != 0:
            failures.append(f"record {folder} exited {done.returncode}: {done.stderr!r}")
            continue
        with open(os.path.join(folder, "manifest.json")) as f:
            manifest = json.load(f)
        if manifest.get("serials_included") is not serials:
            failures.append(f"manifest says serials_included {manifest.get('serials_included')}")
        if not os.path.isfile(os.path.join(folder, "cpuid.txt")):
            failures.append("no cpuid.txt")
        replay = info_json("--from", folder)
        if live is None or replay is None:
            continue
        serial_keys = set() if serials else {"serial_number"}
        for difference in differences(live, replay):
            if not any(f"/{key}" in difference for key in serial_keys):
                failures.append(f"{'with' if serials else 'without'} serials: {difference}")
        if not serials:
            written = recorded_bytes(folder).lower()
            secrets = macs() + [d.get("serial_number") or "" for d in live.get("disks", [])]
            for secret in filter(None, secrets):
                if secret.lower().encode() in written:
                    failures.append(f"{secret!r} was recorded without --with-serials")

    # Refused: a folder with something in it, and a link; both left as they were.
    occupied = os.path.join(work, "occupied")
    os.mkdir(occupied)
    with open(os.path.join(occupied, "notes.txt"), "w") as f:
        f.write("mine\n")
    link = os.path.join(work, "link")
    os.symlink(os.path.join(work, "elsewhere"), link)
    for target in (occupied, link):
        done = run("record", target)
        if done.returncode != 1:
            failures.append(f"record {target} exited {done.returncode}, not 1")
    if os.listdir(occupied) != ["notes.txt"] or open(os.path.join(occupied, "notes.txt")).read() != "mine\n":
        failures.append("the occupied folder was changed")
    if os.path.exists(os.path.join(work, "elsewhere")):
        failures.append("the link was followed")
    if run("record").returncode != 2 or run("record", "a", "b").returncode != 2:
        failures.append("wrong words did not exit 2")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
