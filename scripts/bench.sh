#!/usr/bin/env bash
# Runs every benchmark, built optimised (Release, NDEBUG) in a tree of its own beside the test
# build, whatever build type the tests use; those that need PostgreSQL get a cluster of their own.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
release="${build%/}-release"
if [ ! -f "$release/build.ninja" ]; then
  cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$release" -j "$(nproc)" --target mdr_benchmarks

pgdir=$(mktemp -d /tmp/mostrador-pg.XXXXXX)
chmod 755 "$pgdir"
cleanup() { bash "$root/scripts/pg-cluster.sh" stop "$pgdir"; rm -rf "$pgdir"; }
trap cleanup EXIT
port=$(bash "$root/scripts/pg-cluster.sh" start "$pgdir")
export MDR_TEST_PG="postgresql://mostrador@127.0.0.1:${port}/postgres"
export MDR_BENCH_PG="$MDR_TEST_PG"
for b in "$release"/bench/*; do
  # Only the programs: the folder also holds CMake's own directories.
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
