#!/bin/sh
# Draws the README's pictures of the window on Qt's offscreen platform:
# docs/screenshots/configuration1.png, configuration2.png and about.png.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target trovik_screenshots
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen build/default/tests/ui/trovik_screenshots docs/screenshots
echo "Pictures written to $PWD/docs/screenshots"
