#!/usr/bin/env bash
# The front end as a user runs it: tests to the end, runs ended by Ctrl-C, SIGTERM, SIGHUP and a
# closed pipe, a killed run's folder, a scratch file removed mid-run, and output that cannot be
# written. None may leave scratch behind or end with a zero exit status after a failure.
set -euo pipefail
velora=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LANG=C LC_ALL= LC_MESSAGES=

fail() { echo "$*"; exit 1; }

# grep reads the whole text: with -q it would leave early and the writer die of SIGPIPE.
"$velora" --help | grep -F 'Usage: velora mark' >/dev/null || fail "--help lacks the usage"
"$velora" mark --help | grep -F 'Usage: velora mark' >/dev/null || fail "mark --help lacks the usage"
"$velora" help mark | grep -F 'Usage: velora mark' >/dev/null || fail "help mark lacks the usage"
LC_ALL=ja_JP.UTF-8 "$velora" help | grep -F '使い方' >/dev/null || fail "no Japanese help under LC_ALL=ja"
status=0; "$velora" mark HDD --hdd-dir "$work" --hdd-size 3 2>"$work/err" || status=$?
[[ $status -eq 2 ]] || fail "--hdd-size 3 gave $status"
grep -qF '4 to 4095' "$work/err" || fail "no size range in the refusal"

# MEM and FPU, in that order: one line per sub-test, then the result block with both totals.
out=$("$velora" mark MEM FPU --hdd-dir "$work")
for name in 'Read' 'Write' 'Read/Write' 'Cache'; do
  grep -qE "^MEM  $name +[0-9]+\.[0-9]{2} +[0-9]+$" <<<"$out" || fail "no line for MEM $name: $out"
done
grep -qE '^FPU  FFT ' <<<"$out" || fail "FPU did not run: $out"
grep -qxF 'Velora Result' <<<"$out" || fail "no result block: $out"
grep -qE '^\[ MEM \] +[1-9][0-9]*$' <<<"$out" || fail "no MEM total: $out"
grep -qE '^\[ FPU \] +[1-9][0-9]*$' <<<"$out" || fail "no FPU total: $out"
if grep -q '^ALU ' <<<"$out"; then fail "ALU ran in a MEM FPU run"; fi

# Starts an HDD run in its own scratch root and waits until its first sub-test has printed.
start_hdd() {
  local dir=$1
  mkdir -p "$dir"
  "$velora" mark HDD --hdd-dir "$dir" --hdd-size 16 >"$dir.out" 2>"$dir.err" &
  pid=$!
  for _ in $(seq 1 1200); do
    grep -q '^HDD  Read ' "$dir.out" && break
    sleep 0.05
  done
  grep -q '^HDD  Read ' "$dir.out" || { kill "$pid"; fail "HDD never printed in $dir"; }
  compgen -G "$dir/Velora*" >/dev/null || fail "no scratch folder during the run in $dir"
}

expect_clean() {
  if compgen -G "$1/*" >/dev/null; then echo "scratch left behind in $1:"; ls -laR "$1"; exit 1; fi
}

for sig in INT TERM HUP; do
  start_hdd "$work/$sig"
  kill -"$sig" "$pid"
  status=0; wait "$pid" || status=$?
  [[ $status -eq 1 ]] || fail "run stopped by SIG$sig exited $status: $(cat "$work/$sig.err")"
  grep -qxF 'velora: stopped' "$work/$sig.err" || fail "no stop notice after SIG$sig"
  lines=$(grep -c '^HDD  ' "$work/$sig.out" || true)
  [[ $lines -lt 6 ]] || fail "all six HDD sub-tests ran despite SIG$sig"
  grep -qxF 'Velora Result' "$work/$sig.out" || fail "no result block after SIG$sig"
  expect_clean "$work/$sig"
done

# A reader that goes away: the run stops at the next line and cleans up, exit 1.
mkdir "$work/pipe"
set +o pipefail
"$velora" mark HDD --hdd-dir "$work/pipe" --hdd-size 16 2>"$work/pipe.err" | head -1 >/dev/null
status=${PIPESTATUS[0]}
set -o pipefail
[[ $status -eq 1 ]] || fail "run into a closed pipe exited $status"
grep -qF 'velora: the output could not be written: ' "$work/pipe.err" ||
  fail "no reason for the lost output: $(cat "$work/pipe.err")"
expect_clean "$work/pipe"

# Output that cannot be written at all.
status=0; "$velora" mark ALU >/dev/full 2>"$work/full.err" || status=$?
[[ $status -eq 1 ]] || fail "run into /dev/full exited $status"
grep -qF 'no space left' "$work/full.err" || fail "no reason for /dev/full: $(cat "$work/full.err")"

# SIGKILL leaves the folder; the next run in the same place removes it.
start_hdd "$work/kill"
kill -KILL "$pid"; wait "$pid" 2>/dev/null || true
compgen -G "$work/kill/Velora*" >/dev/null || fail "the killed run left nothing to clean"
"$velora" mark ALU --hdd-dir "$work/kill" >/dev/null
expect_clean "$work/kill"

# The scratch file removed by someone mid-run: the sub-tests after that fail, never 0.00 0.
start_hdd "$work/gone"
rm -f "$work"/gone/Velora*/Velora*.tmp
status=0; wait "$pid" || status=$?
[[ $status -eq 1 ]] || fail "run with its scratch file removed exited $status"
grep -qE '^HDD  .* failed$' "$work/gone.out" || fail "no failed row: $(cat "$work/gone.out")"
if grep -qE '^HDD  .* 0\.00 +0$' "$work/gone.out"; then fail "a failure shown as zero"; fi
grep -qF 'sub-test(s) or step(s) failed' "$work/gone.err" || fail "no failure count"
expect_clean "$work/gone"
