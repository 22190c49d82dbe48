#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the tests: temporary data directory, loopback port,
# run as an unprivileged user. Usage: pg-cluster.sh start DIR | stop DIR | restart DIR
set -euo pipefail

cmd=$1
dir=$2
pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
user=$(id -un)
as_user() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  user=mostrador-pg
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  as_user() { runuser -u "$user" -- "$@"; }
fi

case "$cmd" in
start)
  mkdir -p "$dir"
  chown "$user" "$dir" 2>/dev/null || true
  chmod 700 "$dir"
  as_user "$pgbin/initdb" -D "$dir/data" -U mostrador -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
  for attempt in 1 2 3 4 5 6 7 8; do
    port=$((20000 + RANDOM % 30000))
    if as_user "$pgbin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
        -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c max_connections=200 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" start >/dev/null; then
      echo "$port" >"$dir/port"
      echo "$port"
      exit 0
    fi
  done
  echo "No se pudo iniciar PostgreSQL; ver $dir/server.log" >&2
  exit 1
  ;;
stop)
  [ -d "$dir/data" ] && as_user "$pgbin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  ;;
restart)
  as_user "$pgbin/pg_ctl" -D "$dir/data" -m fast -w -t 30 restart -l "$dir/server.log" >/dev/null
  ;;
esac
