#!/bin/bash
# A PostgreSQL server of our own, for the database scenario and
# `make run DB=1`:
#   postgres.sh start DIR PORT [trust]
#                                a cluster in DIR/data (made on first use),
#                                listening on 127.0.0.1:PORT, socket in DIR,
#                                database "quorbel", user postgres with the
#                                password "quorbel" over TCP (with "trust":
#                                no password asked on this machine)
#   postgres.sh stop DIR [immediate]
# QUORBEL_PG_OPTIONS adds server options ("-c name=value ...").
# The server refuses to run as root: it runs as the postgres user, who
# owns DIR.  Every wait is bounded.
set -u
bin=/usr/lib/postgresql/15/bin
action=${1:-} dir=${2:-}
[ -n "$dir" ] || { echo "usage: postgres.sh start DIR PORT [trust] | stop DIR [immediate]" >&2; exit 2; }
as_postgres() { runuser -u postgres -- "$@"; }
case $action in
  start)
    port=$3 host_auth=scram-sha-256
    [ "${4:-}" = trust ] && host_auth=trust
    mkdir -p "$dir" && chown postgres "$dir" && chmod 700 "$dir" || exit 1
    if [ ! -f "$dir/data/PG_VERSION" ]; then
      as_postgres "$bin/initdb" -U postgres -E UTF8 --locale=C.UTF-8 --auth-local=trust \
        --auth-host=$host_auth -D "$dir/data" >"$dir/initdb.log" 2>&1 || exit 1
    fi
    as_postgres "$bin/pg_ctl" -w -t 60 -D "$dir/data" -l "$dir/log" \
      -o "-p $port -k $dir -c listen_addresses=127.0.0.1 ${QUORBEL_PG_OPTIONS:-}" start >/dev/null || exit 1
    psql=(timeout 30 runuser -u postgres -- psql -X -q -h "$dir" -p "$port" -U postgres)
    "${psql[@]}" -d postgres -c "ALTER USER postgres PASSWORD 'quorbel'" >/dev/null || exit 1
    "${psql[@]}" -d postgres -tAc "SELECT 1 FROM pg_database WHERE datname = 'quorbel'" | grep -q 1 ||
      "${psql[@]}" -d postgres -c "CREATE DATABASE quorbel" >/dev/null || exit 1
    ;;
  stop)
    [ -f "$dir/data/postmaster.pid" ] &&
      as_postgres "$bin/pg_ctl" -w -t 60 -D "$dir/data" -m "${3:-fast}" stop >/dev/null
    exit 0
    ;;
  *)
    echo "usage: postgres.sh start DIR PORT [trust] | stop DIR [immediate]" >&2
    exit 2
    ;;
esac
