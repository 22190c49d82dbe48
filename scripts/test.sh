#!/usr/bin/env bash
# Runs every test through CTest, with a PostgreSQL cluster of its own that is stopped at the end.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)

pgdir=$(mktemp -d /tmp/mostrador-pg.XXXXXX)
chmod 755 "$pgdir"
cleanup() { bash "$root/scripts/pg-cluster.sh" stop "$pgdir"; rm -rf "$pgdir"; }
trap cleanup EXIT

port=$(bash "$root/scripts/pg-cluster.sh" start "$pgdir")
export MDR_TEST_PG="postgresql://mostrador@127.0.0.1:${port}/postgres"
export MDR_REQUIRE_PG=1
export MDR_TEST_PG_RESTART="bash $root/scripts/pg-cluster.sh restart $pgdir"
echo "PostgreSQL de prueba en 127.0.0.1:${port}"

ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
