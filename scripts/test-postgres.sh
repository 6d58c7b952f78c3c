#!/usr/bin/env bash
# A private PostgreSQL server for the tests, on 127.0.0.1:2707 (or SURIBALL_TEST_PG_PORT) and [::1] on the same
# port, in a temporary folder. It speaks TLS only, with a certificate authority of its own made here
# (SURIBALL_TEST_PG_CA) and a server certificate naming 127.0.0.1 and ::1, the way a real service would
# serve every install.
#   source scripts/test-postgres.sh start   → exports SURIBALL_TEST_PG* for the tests
#   scripts/test-postgres.sh stop DIR
#   scripts/test-postgres.sh serve PORT     → a server in /tmp/suriball-pg-PORT (ctest starts one per test
#                                             program this way, and stops it with "stop")
# initdb refuses to run as root, so as root the cluster belongs to the "postgres" user that Debian's
# package creates. No "set -e" here: this file is sourced into the caller's shell.

pg_bin() { ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1; }

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

# The authority and the server's certificate. The certificate names the addresses only: a client that
# asks for "localhost" finds a name that does not match.
make_certificates() {
    local dir=$1
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 \
        -subj "/CN=suriball test authority" -keyout "$dir/ca.key" -out "$dir/ca.crt" >/dev/null 2>&1 || return 1
    openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
        -subj "/CN=127.0.0.1" -keyout "$dir/server.key" -out "$dir/server.csr" >/dev/null 2>&1 || return 1
    printf 'subjectAltName=IP:127.0.0.1,IP:::1\n' > "$dir/server.ext"
    openssl x509 -req -in "$dir/server.csr" -CA "$dir/ca.crt" -CAkey "$dir/ca.key" -CAcreateserial -days 30 \
        -extfile "$dir/server.ext" -out "$dir/server.crt" >/dev/null 2>&1 || return 1
    chmod 600 "$dir/server.key" "$dir/ca.key"
}

start() {
    local bin dir=${1:-} password port=${SURIBALL_TEST_PG_PORT:-2707}
    bin=$(pg_bin)
    [ -n "$bin" ] || { echo "PostgreSQL is not installed (scripts/deps.sh)" >&2; return 1; }
    if (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null; then
        echo "Something already listens on 127.0.0.1:$port; stop it first." >&2
        return 1
    fi
    if [ -n "$dir" ]; then mkdir -p "$dir" && chmod 700 "$dir" || return 1; else dir=$(mktemp -d /tmp/suriball-pg.XXXXXX); fi
    password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
    printf '%s\n' "$password" > "$dir/pwfile"
    make_certificates "$dir" || { echo "openssl could not make the test certificates" >&2; return 1; }
    if [ "$(id -u)" -eq 0 ]; then chown -R postgres:postgres "$dir"; fi
    as_owner "$bin/initdb" -D "$dir/data" -U postgres --pwfile="$dir/pwfile" -E UTF8 --locale=C.UTF-8 \
        --auth-local=trust --auth-host=scram-sha-256 >"$dir/initdb.log" 2>&1 \
        || { cat "$dir/initdb.log" >&2; return 1; }
    # Over the network only TLS: a client that would talk in the clear finds no line to match.
    as_owner sh -c "printf '%s\\n' 'local all all trust' 'hostssl all all 127.0.0.1/32 scram-sha-256' \
        'hostssl all all ::1/128 scram-sha-256' > '$dir/data/pg_hba.conf'"
    # Served as the README asks of a real server: the login's languages loaded once by the postmaster, not
    # again by every new server process.
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-p $port -c listen_addresses=127.0.0.1,::1 -k $dir -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c ssl=on -c ssl_cert_file=$dir/server.crt -c ssl_key_file=$dir/server.key -c shared_preload_libraries=plpgsql,pgcrypto" \
        start >/dev/null || { cat "$dir/server.log" >&2; return 1; }
    export SURIBALL_TEST_PG=127.0.0.1
    export SURIBALL_TEST_PG_PORT=$port
    export SURIBALL_TEST_PG_ADMIN=postgres
    export SURIBALL_TEST_PG_PASSWORD=$password
    export SURIBALL_TEST_PG_DIR=$dir
    export SURIBALL_TEST_PG_CA=$dir/ca.crt
    echo "PostgreSQL test server on 127.0.0.1:$port and [::1]:$port, TLS only ($dir)"
}

stop() {
    local dir=${1:-${SURIBALL_TEST_PG_DIR:-}}
    [ -n "$dir" ] && [ -d "$dir/data" ] || return 0
    as_owner "$(pg_bin)/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
}

# A server of its own for one test program, in a folder named by its port; one left by a run that was
# stopped half-way is stopped first.
serve() {
    local port=${1:?port}
    stop "/tmp/suriball-pg-$port"
    rm -rf "/tmp/suriball-pg-$port"
    SURIBALL_TEST_PG_PORT=$port start "/tmp/suriball-pg-$port"
}

case "${1:-}" in
    start) start ;;
    stop) stop "${2:-}" ;;
    serve) serve "${2:-}" ;;
    *) echo "usage: $0 start | stop [DIR] | serve PORT" >&2; false ;;
esac
