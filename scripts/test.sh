#!/usr/bin/env bash
# Builds 수리볼 and runs every test, the server tests against the SQLite stand-in and against a private
# PostgreSQL server that this script starts and stops. The sanitizer build and the fuzz targets are
# scripts/sanitize.sh (CI runs both).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
source scripts/test-postgres.sh start || exit 1
trap 'bash scripts/test-postgres.sh stop "$SURIBALL_TEST_PG_DIR"' EXIT
ctest --test-dir build --output-on-failure -j "$(nproc)"
