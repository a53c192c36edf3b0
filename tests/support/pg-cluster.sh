#!/bin/sh
# Starts or stops a throwaway database server for the tests that need one:
#   pg-cluster.sh start DIR   a new cluster in DIR, listening on a socket in DIR and nowhere else
#   pg-cluster.sh stop DIR    stops it and removes DIR
# Local socket connections are trusted (the superuser is belmo_test); TCP is neither listened
# on nor allowed. The server refuses to run as root: as root, it runs as the postgres system
# user. Nothing is synced to the disk: the data dies with the folder.
set -eu

bin=${BELMO_PG_BINDIR:-$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)}
[ $# -eq 2 ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }
command=$1
dir=$2

as_server() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop() {
    if [ -f "$dir/data/postmaster.pid" ]; then
        pid=$(head -n 1 "$dir/data/postmaster.pid")
        as_server "$bin/pg_ctl" -D "$dir/data" stop -m fast -w >/dev/null
        # pg_ctl returns when the server let go of its folder; the process is gone a moment later.
        tries=0
        while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do sleep 0.1; tries=$((tries + 1)); done
    fi
    rm -rf "$dir"
}

case $command in
start)
    stop  # what a run that did not end left behind
    mkdir -m 700 "$dir"
    if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
    as_server "$bin/initdb" -D "$dir/data" --username=belmo_test --auth-local=trust --auth-host=reject \
        --encoding=UTF8 --no-locale --no-sync >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    cat >>"$dir/data/postgresql.conf" <<CONF
listen_addresses = ''
unix_socket_directories = '$dir'
max_connections = 20
shared_buffers = 16MB
fsync = off
synchronous_commit = off
full_page_writes = off
CONF
    as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" start -w >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    ;;
stop) stop ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
