#!/bin/sh
# 수리볼 as the desktop's menu starts it: the install's own copy of the program, which the updater keeps
# current, or the packaged one, which offers to make an install where there is none.
root=${SURIBALL_ROOT:-$HOME/VELTRA/수리볼}
# The program reads dates as the Korean desktop writes them.
if [ -z "${LC_ALL:-}" ] && locale -a 2>/dev/null | grep -qix 'ko_KR\.utf-\?8'; then
    export LC_TIME=ko_KR.UTF-8
fi
if [ -x "$root/수리볼" ]; then
    exec "$root/수리볼" "$@"
fi
exec /usr/lib/suriball/수리볼 "$@"
