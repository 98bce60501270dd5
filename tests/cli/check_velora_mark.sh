#!/usr/bin/env bash
# The front end as a user runs it: one test to the end, and a run stopped with Ctrl-C during
# the HDD test, which must leave no scratch folder behind.
set -euo pipefail
velora=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$velora" --help | grep -qF 'Usage: velora mark' || { echo "--help lacks the usage"; exit 1; }
if "$velora" mark ALU FPU >/dev/null 2>&1; then echo "two tests accepted"; exit 1; fi

# MEM alone: four sub-test lines, then the result block with the MEM total.
out=$("$velora" mark MEM --hdd-dir "$work")
for name in 'Read' 'Write' 'Read/Write' 'Cache'; do
  grep -qE "^MEM  $name +[0-9]+\.[0-9]{2} +[0-9]+$" <<<"$out" ||
    { echo "no line for MEM $name"; echo "$out"; exit 1; }
done
grep -qxF 'Velora Result' <<<"$out" || { echo "no result block"; echo "$out"; exit 1; }
grep -qE '^\[ MEM \] +[1-9][0-9]*$' <<<"$out" || { echo "no MEM total"; echo "$out"; exit 1; }
if grep -q '^ALU ' <<<"$out"; then echo "ALU ran in a MEM run"; exit 1; fi

# HDD, interrupted once its first sub-test has printed.
mkdir "$work/scratch"
"$velora" mark HDD --hdd-dir "$work/scratch" --hdd-size 16 >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 1 1200); do
  grep -q '^HDD  Read ' "$work/out" && break
  sleep 0.05
done
grep -q '^HDD  Read ' "$work/out" || { kill "$pid"; echo "HDD never printed"; exit 1; }
# The scratch folder exists while the test runs.
compgen -G "$work/scratch/Velora*" >/dev/null || { echo "no scratch folder during the run"; exit 1; }
kill -INT "$pid"
status=0
wait "$pid" || status=$?
[[ $status -eq 1 ]] || { echo "stopped run exited $status"; cat "$work/err"; exit 1; }
grep -qxF 'velora: stopped' "$work/err" || { echo "no stop notice"; cat "$work/err"; exit 1; }
lines=$(grep -c '^HDD  ' "$work/out" || true)
[[ $lines -lt 6 ]] || { echo "all six HDD sub-tests ran despite the stop"; exit 1; }
grep -qxF 'Velora Result' "$work/out" || { echo "no result block after the stop"; exit 1; }
if compgen -G "$work/scratch/*" >/dev/null; then
  echo "scratch left behind:"; ls -la "$work/scratch"; exit 1
fi
