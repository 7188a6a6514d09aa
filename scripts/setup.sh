#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running Kaleidra need.
# Packages already present are skipped; nothing happens when all are there.
set -euo pipefail

packages=(
  cmake g++ pkg-config ninja-build
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
  libplist-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra
  xvfb xauth
  # For the tests only: the validators of the desktop and software-centre entries, and the
  # typesetter and reader of the manual page.
  appstream desktop-file-utils groff-base man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo to install them" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
