#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL server for the tests, on loopback.
#   pg-test-server.sh start DIR PORT   # prints nothing; server listens on 127.0.0.1:PORT
#   pg-test-server.sh restart DIR      # stops it (fast) and starts it again, same port
#   pg-test-server.sh stop DIR
# The server runs as the user "postgres" when started by root (PostgreSQL
# refuses to run as root), otherwise as the calling user.
set -euo pipefail
cmd=$1; dir=$2
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bindir" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$cmd" in
  start)
    port=$3
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$dir"
    as_owner "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --no-locale >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; exit 1; }
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off -c synchronous_commit=off" start >/dev/null \
      || { cat "$dir/server.log" >&2; exit 1; }
    ;;
  restart)
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -m fast -w -t 60 restart >/dev/null \
      || { cat "$dir/server.log" >&2; exit 1; }
    ;;
  stop)
    [ -d "$dir/data" ] && as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
    ;;
  *) echo "usage: $0 start DIR PORT | restart DIR | stop DIR" >&2; exit 2 ;;
esac
