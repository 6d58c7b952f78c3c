#!/usr/bin/env bash
# Builds 수리볼 and starts it on a demo install: an SQLite stand-in server with the real results of
# draws 1 to 1200, demo members and offline web pages. The install goes to $SURIBALL_ROOT, or
# ~/VELTRA/수리볼, and is made only if it is not there yet. The program runs under a Korean locale,
# whose date format it can read.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.utf-\?8$'; then
    $sudo sed -i 's/^# *\(ko_KR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ko_KR.UTF-8 UTF-8' /etc/locale.gen || echo 'ko_KR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi

bash scripts/build.sh
export SURIBALL_ROOT=${SURIBALL_ROOT:-$HOME/VELTRA/수리볼}
if [ ! -f "$SURIBALL_ROOT/BIN/SYSTEM.mdb" ]; then
    build/setup/suriball-setup demo --root "$SURIBALL_ROOT"
fi
# The programs run from the install, where the updater can replace them; a newer build goes in first.
for program in app/수리볼 updater/업데이트; do
    if [ "build/$program" -nt "$SURIBALL_ROOT/$(basename "$program")" ]; then
        cp -p "build/$program" "$SURIBALL_ROOT/$(basename "$program").new"
        mv -f "$SURIBALL_ROOT/$(basename "$program").new" "$SURIBALL_ROOT/$(basename "$program")"
    fi
done
export LANG=ko_KR.UTF-8 LC_TIME=ko_KR.UTF-8
# Chromium's sandbox, behind the web views, refuses to run as root.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
exec "$SURIBALL_ROOT/수리볼" "$@"
