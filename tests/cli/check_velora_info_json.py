#!/usr/bin/python3
"""velora info --json against its schema: valid, no key twice in an object, no padded text, and
at least a quarter of the values numbers or booleans. Usage: check_velora_info_json.py VELORA SCHEMA"""
import json
import subprocess
import sys

import jsonschema

velora, schema_path = sys.argv[1], sys.argv[2]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
failures = []


def no_duplicates(pairs):
    keys = [k for k, _ in pairs]
    for k in set(keys):
        if keys.count(k) > 1:
            failures.append(f"key {k!r} repeated in one object")
    return dict(pairs)


def leaves(value):
    if isinstance(value, dict):
        for v in value.values():
            yield from leaves(v)
    elif isinstance(value, list):
        for v in value:
            yield from leaves(v)
    else:
        yield value


for words in (["all"], ["cpu", "pci", "disk"], ["system"]):
    run = subprocess.run([velora, "info", *words, "--json"], capture_output=True, timeout=120)
    if run.returncode != 0:
        failures.append(f"velora info {' '.join(words)} --json exited {run.returncode}: {run.stderr!r}")
        continue
    doc = json.loads(run.stdout.decode("utf-8"), object_pairs_hook=no_duplicates)
    try:
        jsonschema.validate(doc, schema)
    except jsonschema.ValidationError as e:
        failures.append(f"{words}: {e.message} at {list(e.absolute_path)}")
    values = [v for v in leaves(doc) if v is not None]
    typed = [v for v in values if isinstance(v, (bool, int, float))]
    padded = [v for v in values if isinstance(v, str) and v != v.strip()]
    if padded:
        failures.append(f"{words}: padded texts {padded[:5]}")
    if words == ["all"]:
        if len(typed) * 4 < len(values):
            failures.append(f"only {len(typed)} of {len(values)} values are numbers or booleans")
        for part in ("cpu", "pci", "disks", "libraries", "features", "device", "bios", "board"):
            if part not in doc:
                failures.append(f"velora info all --json lacks {part}")
    if words == ["cpu", "pci", "disk"]:
        for part in ("system", "device", "libraries"):
            if part in doc:
                failures.append(f"{part} printed although not asked for")
        if not doc["cpu"]["name"]:
            failures.append("no processor name")
        if not doc["pci"] or any(f["vendor_id"] is None for f in doc["pci"]):
            failures.append("a PCI function without its vendor id")

for line in failures:
    print(line)
print(f"{0 if failures else 1} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
