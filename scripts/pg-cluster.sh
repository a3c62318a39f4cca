#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the tests: unix socket only, trust auth.
#   scripts/pg-cluster.sh start DIR   -> prints the socket folder (DIR)
#   scripts/pg-cluster.sh stop DIR
# PostgreSQL refuses to run as root, so the cluster belongs to the postgres user.
set -euo pipefail
cmd=${1:?start or stop}
dir=${2:?folder}
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
as_pg() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
case "$cmd" in
  start)
    # A freshly unpacked system root can be closed to everyone but root (mode 0700), and then
    # the postgres user cannot even reach its own programs; a normal system has it 0755.
    if [ "$(id -u)" = 0 ] && ! runuser -u postgres -- test -x "$bin/initdb"; then
      echo "pg-cluster: / não é acessível a outros usuários; abrindo-o (0755)" >&2
      chmod 755 /
    fi
    mkdir -p "$dir"
    [ "$(id -u)" = 0 ] && chown postgres "$dir"
    chmod 755 "$dir"
    if [ ! -f "$dir/data/PG_VERSION" ]; then
      as_pg "$bin/initdb" -A trust -U postgres -E UTF8 --locale=C.UTF-8 -D "$dir/data" >"$dir/initdb.log" 2>&1 \
        || { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    as_pg "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" \
      -o "-k $dir -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
      -w start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    echo "$dir"
    ;;
  stop)
    [ -f "$dir/data/postmaster.pid" ] && as_pg "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    ;;
  *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
