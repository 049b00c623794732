#!/bin/sh
# Installs what building and testing Trovik needs on Debian 12, skipping
# what is already there. Needs root (or sudo).
set -eu

PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
qt6-base-dev libtomlplusplus-dev libcli11-dev libserialport-dev
srecord binutils xvfb xauth fonts-dejavu-core"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
    echo "install-deps: these packages are missing and installing them needs root:$missing" >&2
    exit 1
  fi
else
  SUDO=
fi
echo "install-deps: installing$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
