#!/usr/bin/env bash
# The engine exports exactly its three functions, with C linkage.
set -euo pipefail
lib=$1
actual=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TtWw]$/ {print $3}' | sort)
expected=$(printf '%s\n' BenchMark GetBenchString GetDllInfo | sort)
if [ "$actual" != "$expected" ]; then
  echo "exports differ:"; diff <(echo "$expected") <(echo "$actual"); exit 1
fi
