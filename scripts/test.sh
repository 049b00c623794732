#!/bin/sh
# Installs what is missing, builds, and runs every test twice: once in the
# CI build (warnings are errors) and once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
for preset in ci asan; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" -j2
done
