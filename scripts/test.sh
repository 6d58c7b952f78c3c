#!/usr/bin/env bash
# Builds 수리볼 and runs every test, the server tests against the SQLite stand-in and against PostgreSQL
# (ctest starts a private server for each test program that needs one). The sanitizer build and the fuzz
# targets are scripts/sanitize.sh (CI runs both).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
