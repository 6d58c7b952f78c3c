#!/usr/bin/env bash
# A private PostgreSQL server for the tests, on 127.0.0.1:2707 (or SURIBALL_TEST_PG_PORT), in a temporary folder.
#   source scripts/test-postgres.sh start   → exports SURIBALL_TEST_PG* for the tests
#   scripts/test-postgres.sh stop DIR
# initdb refuses to run as root, so as root the cluster belongs to the "postgres" user that Debian's
# package creates. No "set -e" here: this file is sourced into the caller's shell.

pg_bin() { ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1; }

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

start() {
    local bin dir password port=${SURIBALL_TEST_PG_PORT:-2707}
    bin=$(pg_bin)
    [ -n "$bin" ] || { echo "PostgreSQL is not installed (scripts/deps.sh)" >&2; return 1; }
    if (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; then
        echo "Something already listens on 127.0.0.1:$port; stop it first." >&2
        return 1
    fi
    dir=$(mktemp -d /tmp/suriball-pg.XXXXXX)
    password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
    printf '%s\n' "$password" > "$dir/pwfile"
    if [ "$(id -u)" -eq 0 ]; then chown -R postgres:postgres "$dir"; fi
    as_owner "$bin/initdb" -D "$dir/data" -U postgres --pwfile="$dir/pwfile" -E UTF8 --locale=C.UTF-8 \
        --auth-local=trust --auth-host=scram-sha-256 >"$dir/initdb.log" 2>&1 \
        || { cat "$dir/initdb.log" >&2; return 1; }
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-p $port -c listen_addresses=127.0.0.1 -k $dir -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        start >/dev/null || { cat "$dir/server.log" >&2; return 1; }
    export SURIBALL_TEST_PG=127.0.0.1
    export SURIBALL_TEST_PG_PORT=$port
    export SURIBALL_TEST_PG_ADMIN=postgres
    export SURIBALL_TEST_PG_PASSWORD=$password
    export SURIBALL_TEST_PG_DIR=$dir
    echo "PostgreSQL test server on 127.0.0.1:$port ($dir)"
}

stop() {
    local dir=${1:-${SURIBALL_TEST_PG_DIR:-}}
    [ -n "$dir" ] && [ -d "$dir/data" ] || return 0
    as_owner "$(pg_bin)/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
}

case "${1:-}" in
    start) start ;;
    stop) stop "${2:-}" ;;
    *) echo "usage: $0 start|stop [DIR]" >&2; false ;;
esac
