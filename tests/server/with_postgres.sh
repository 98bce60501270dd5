#!/bin/sh
# Runs a test command against a throwaway PostgreSQL server made by pg_virtualenv
# (postgresql-common), which sets the PG* variables libpq reads. Without pg_virtualenv the
# tests are skipped, and say so.
if ! command -v pg_virtualenv >/dev/null 2>&1; then
  echo "SKIPPED: pg_virtualenv (Debian postgresql-common) is not installed;" \
       "the PostgreSQL service tests did not run" >&2
  exit 77
fi
export VELORA_TEST_POSTGRES=1
exec pg_virtualenv "$@"
