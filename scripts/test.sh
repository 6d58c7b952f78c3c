#!/usr/bin/env bash
# Builds 수리볼 and runs every test, the server tests against the SQLite stand-in and against a private
# PostgreSQL server on 127.0.0.1:2707 that this script starts and stops; then the same suite built with
# the address and undefined-behaviour sanitizers, and each fuzz target for a bounded time
# (scripts/sanitize.sh; SURIBALL_SKIP_SANITIZE=1 leaves that part out).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
source scripts/test-postgres.sh start || exit 1
trap 'bash scripts/test-postgres.sh stop "$SURIBALL_TEST_PG_DIR"' EXIT
ctest --test-dir build --output-on-failure -j "$(nproc)"
if [ "${SURIBALL_SKIP_SANITIZE:-0}" != 1 ]; then
    bash scripts/sanitize.sh
fi
