#!/usr/bin/env bash
# velora report and the report options of velora mark as a user runs them: the shipped
# templates found beside the program, a user template taking a shipped one's place, a template
# file delivered byte for byte, and the JSON record of a run.
set -euo pipefail
velora=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LANG=C LC_ALL= LC_MESSAGES= XDG_DATA_HOME="$work/data"
fail() { echo "$*"; exit 1; }

out=$("$velora" report)
grep -qE '^Velora 0\.9\.115\.' <<<"$out" || fail "no title in the Standard report: $out"
# Nothing has run: the result block is empty, as the help says.
if grep -qF 'Velora Result' <<<"$out"; then fail "a result block although nothing ran: $out"; fi
if grep -q $'\r' <<<"$out"; then fail "a shipped text template gave CR LF line ends"; fi

"$velora" report --html --template Full -o "$work/r.html"
head -c 15 "$work/r.html" | grep -qF '<!DOCTYPE html>' || fail "Full.html not used"
if grep -qF '<table width="750"' "$work/r.html"; then fail "an HTML result block although nothing ran"; fi
for word in MsrInfo DisplayMode ChipSet VideoRAM PciList HddList VERSION OS Memory CPUDetail \
            CPUIDDetail VeloraResult VeloraResultHtml IdeDetailInfo SystemModel; do
  if grep -qF "%$word%" "$work/r.html"; then fail "%$word% left in the report"; fi
done

printf 'no placeholders\r\nhere\n100%% \x01\xff' >"$work/plain.txt"
"$velora" report --template "$work/plain.txt" -o "$work/plain.out"
cmp "$work/plain.txt" "$work/plain.out" || fail "a template without placeholders was changed"

mkdir -p "$XDG_DATA_HOME/velora09/template/text"
printf 'mine: %%VERSION%%' >"$XDG_DATA_HOME/velora09/template/text/Standard.txt"
out=$("$velora" report)
[[ $out == "mine: Velora 0.9.115."* ]] || fail "the user's Standard.txt did not win: $out"

status=0; "$velora" report --template NoSuchTemplate 2>"$work/err" || status=$?
[[ $status -eq 1 ]] || fail "a missing template gave $status"
grep -qF 'NoSuchTemplate' "$work/err" || fail "the refusal does not name the template"
status=0; "$velora" report --bogus 2>/dev/null || status=$?
[[ $status -eq 2 ]] || fail "an unknown option gave $status"

"$velora" mark ALU --json --report "$work/run.txt" --template Full >"$work/run.json" 2>"$work/run.err"
python3 - "$work/run.json" <<'PY' || fail "the JSON record is wrong: $(cat "$work/run.json")"
import json, sys
record = json.load(open(sys.argv[1]))
alu = record["tests"][0]
assert alu["name"] == "ALU" and alu["score"] > 0, alu
assert len(alu["subTests"]) == 8 and all(s["score"] > 0 for s in alu["subTests"][:4]), alu
assert record["tests"][1]["score"] == 0 and "runSettings" in record, record
PY
grep -qE '^\[ ALU \] +[1-9][0-9]*$' "$work/run.txt" || fail "no ALU score in the report"
grep -qF 'Velora Result' "$work/run.txt" || fail "no result block after the run"
grep -qE '^ALU  Fibonacci ' "$work/run.err" || fail "the progress lines did not go to stderr"
echo "velora report OK"
