#!/bin/sh
# Installs what is missing, builds Trovik, and runs its main job in a demo
# folder that holds the sample template.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
demo="$PWD/demo"
mkdir -p "$demo"
cp examples/TROVIK.HEX "$demo/TROVIK.HEX"
cd "$demo"
"$OLDPWD/build/default/src/cli/trovik-cli" export
echo "The hex file is $demo/OUTPUT.HEX"
