#!/usr/bin/env bash
# Installs the Debian packages Orvane needs to build, run, test and package
# (dpkg-dev and file: cpack's Depends from dpkg-shlibdeps), and
# the packages named as arguments (scripts/fuzz.sh adds clang's). Safe to
# run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev
  libqt6sql6-sqlite libqt6sql6-psql libqt6opengl6-dev libgl-dev
  libsqlite3-dev libpq-dev
  qt6-translations-l10n
  fonts-ipafont-gothic fonts-ipaexfont-gothic
  postgresql
  poppler-utils
  dpkg-dev file
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
