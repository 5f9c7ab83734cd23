#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL cluster for the test run.
#   pg-test-cluster.sh start STATE_DIR   -> writes STATE_DIR/url (postgresql://corvexa@127.0.0.1:PORT/postgres)
#   pg-test-cluster.sh stop STATE_DIR
# The cluster lives in a temporary folder owned by the user who runs the
# server (the "postgres" account when started as root, which PostgreSQL refuses).
set -euo pipefail
action=${1:?start or stop}
state=${2:?state folder}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[[ -x "$bindir/initdb" ]] || { echo "PostgreSQL server programs not found (install postgresql)" >&2; exit 1; }

as_owner() {
    if [[ $(id -u) -eq 0 ]]; then runuser -u postgres -- "$@"; else "$@"; fi
}

port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

stop() {
    [[ -f "$state/datadir" ]] || return 0
    local data
    data=$(cat "$state/datadir")
    if [[ -d "$data" ]]; then
        as_owner "$bindir/pg_ctl" -D "$data/db" -m immediate -w stop >/dev/null 2>&1 || true
        rm -rf "$data"
    fi
    rm -f "$state/datadir" "$state/url"
}

case "$action" in
start)
    mkdir -p "$state"
    stop
    data=$(mktemp -d /tmp/corvexa-pg.XXXXXX)
    chmod 755 "$data"
    [[ $(id -u) -eq 0 ]] && chown postgres: "$data"
    echo "$data" >"$state/datadir"
    as_owner "$bindir/initdb" -D "$data/db" -U corvexa --auth=trust -E UTF8 --locale=C.UTF-8 >"$data/initdb.log" 2>&1 ||
        { cat "$data/initdb.log" >&2; exit 1; }
    port=55432
    while ! port_free "$port"; do port=$((port + 1)); done
    as_owner "$bindir/pg_ctl" -D "$data/db" -l "$data/server.log" -w -t 60 \
        -o "-h 127.0.0.1 -p $port -k $data -c fsync=off -c max_connections=300" start >/dev/null ||
        { cat "$data/server.log" >&2; exit 1; }
    echo "postgresql://corvexa@127.0.0.1:$port/postgres" >"$state/url"
    echo "PostgreSQL test cluster on port $port ($data)"
    ;;
stop) stop ;;
*) echo "usage: $0 start|stop STATE_DIR" >&2; exit 2 ;;
esac
