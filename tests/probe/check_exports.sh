#!/usr/bin/env bash
# The library exports exactly its five functions and the creation on given services, with C
# linkage.
set -euo pipefail
lib=$1
actual=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TtWw]$/ {print $3}' | sort)
expected=$(printf '%s\n' CreateProbix CreateProbixOn DestroyProbix ReadMSR WriteMSR _MemReadBlock | sort)
if [ "$actual" != "$expected" ]; then
  echo "exports differ:"; diff <(echo "$expected") <(echo "$actual"); exit 1
fi
