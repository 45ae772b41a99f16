#!/bin/bash
# The central-database scenario of quorbel_scenarios against a real
# PostgreSQL server of its own (tools/postgres.sh):
#   scenario-database.sh DRIVER_EXE WINEPREFIX
# The driver learns the server's port from QUORBEL_PG_PORT.
set -u
driver=$1 prefix=$2
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
work=$(mktemp -d /tmp/quorbel-db-scenario.XXXXXX) || exit 1
chmod 755 "$work"
cleanup() {
  "$tools/postgres.sh" stop "$work/pg"
  rm -rf "$work"
}
trap cleanup EXIT
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
"$tools/postgres.sh" start "$work/pg" "$port" || { echo "scenario-database: no PostgreSQL server" >&2; exit 1; }
QUORBEL_PG_PORT=$port timeout 170 "$tools/wine-run.sh" --prefix "$prefix" "$driver" \
  --gtest_filter='Scenario.CentralDatabase*'
