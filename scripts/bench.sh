#!/usr/bin/env bash
# Runs every benchmark; those that need PostgreSQL get a cluster of their own.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
pgdir=$(mktemp -d /tmp/mostrador-pg.XXXXXX)
chmod 755 "$pgdir"
cleanup() { bash "$root/scripts/pg-cluster.sh" stop "$pgdir"; rm -rf "$pgdir"; }
trap cleanup EXIT
port=$(bash "$root/scripts/pg-cluster.sh" start "$pgdir")
export MDR_TEST_PG="postgresql://mostrador@127.0.0.1:${port}/postgres"
for b in "$build"/bench/*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
