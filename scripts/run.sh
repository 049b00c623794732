#!/bin/sh
# Installs what is missing, builds Trovik, and starts its window in a demo
# folder that holds the sample template, so "Create Hex File" works at
# once. "Program PIC" talks to a simulated chip here, never to a serial
# port. Without a display, trovik-cli does the window's main job instead.
set -eu
cd "$(dirname "$0")/.."
root="$PWD"
sh scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
demo="$root/demo"
mkdir -p "$demo"
cp examples/TROVIK.HEX "$demo/TROVIK.HEX"
cd "$demo"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  echo "Starting the Trovik window in $demo"
  echo "(\"Program PIC\" programs a simulated chip: TROVIK_SIMULATED_PORT=${TROVIK_SIMULATED_PORT:-sim:realtime})"
  TROVIK_SIMULATED_PORT="${TROVIK_SIMULATED_PORT:-sim:realtime}" exec "$root/build/default/src/ui/trovik"
fi

echo "run.sh: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window" >&2
echo "cannot open. trovik-cli does the same work from a terminal ('trovik-cli --help');" >&2
echo "here it writes the hex file with the default settings:" >&2
"$root/build/default/src/cli/trovik-cli" export
echo "The hex file is $demo/OUTPUT.HEX"
