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

# The desktop entry and its icon, for the user's application menu.
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
icons="${XDG_DATA_HOME:-$HOME/.local/share}/icons/hicolor"
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$apps"
sed "s|^Exec=.*|Exec=$(cd "$build" && pwd)/bin/mostrador|" "$root/data/mostrador.desktop" >"$apps/mostrador.desktop"
for size in 16 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  cp "$root/src/core/common/ui/icons/mostrador-$size.png" "$icons/${size}x${size}/apps/mostrador.png"
done

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No hay pantalla (DISPLAY); se inicia en un servidor X virtual."
  exec xvfb-run -a "$build/bin/mostrador" "${@:2}"
fi
exec "$build/bin/mostrador" "${@:2}"
