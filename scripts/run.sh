#!/usr/bin/env bash
# Creates the demo store the first time (a SQLite file under the user's data directory),
# registers it as the named connection "Demo", and starts the program on it.
set -euo pipefail
build=${1:-build}
data="${XDG_DATA_HOME:-$HOME/.local/share}/Mostrador"
store="$data/demo.sqlite"
admin="$build/bin/mostrador-admin"

if [ ! -f "$store" ]; then
  mkdir -p "$data"
  "$admin" db init --demo --connection "sqlite:$store"
  echo "Tienda de demostracion creada en $store"
else
  # A program update may bring schema changes.
  "$admin" db upgrade --connection "sqlite:$store" >/dev/null
fi

settings="${XDG_CONFIG_HOME:-$HOME/.config}/mostrador/Mostrador.ini"
if [ ! -f "$settings" ] || ! grep -q '^Server[0-9]*=Demo$' "$settings"; then
  "$admin" connection add --name Demo --connection "sqlite:$store" --select
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No hay pantalla (DISPLAY); se inicia en un servidor X virtual."
  exec xvfb-run -a "$build/bin/mostrador" "${@:2}"
fi
exec "$build/bin/mostrador" "${@:2}"
