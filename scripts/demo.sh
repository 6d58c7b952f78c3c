#!/usr/bin/env bash
# Builds 수리볼 and starts it on a demo install: an SQLite stand-in server with the real results of
# draws 1 to 1200, demo members and offline web pages. The install goes to $SURIBALL_ROOT, or
# ~/VELTRA/수리볼, and is made only if it is not there yet.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
export SURIBALL_ROOT=${SURIBALL_ROOT:-$HOME/VELTRA/수리볼}
if [ ! -f "$SURIBALL_ROOT/BIN/SYSTEM.mdb" ]; then
    build/setup/suriball-setup demo --root "$SURIBALL_ROOT"
fi
exec build/app/수리볼 "$@"
