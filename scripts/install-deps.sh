#!/usr/bin/env bash
# Installs the Debian packages that building and testing Mervik needs, but only
# those that are missing: a second run only asks dpkg and returns at once.
# With --peers, also the desktop calculators the start-up benchmark measures
# Mervik against, and the session bus they are started with.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev libboost-dev
  libcairo2-dev libpango1.0-dev libsdl2-dev libxdamage-dev fonts-dejavu-core
  xvfb xdotool weston libwayland-dev
  dpkg-dev desktop-file-utils man-db groff-base
  clang libclang-rt-14-dev llvm
)
if [ "${1:-}" = --peers ]; then
  packages+=(galculator speedcrunch gnome-calculator dbus-daemon)
fi

# dpkg-query fails for a package it has never seen; that one is missing too.
installed=$( { dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null || true; } \
  | awk '$2 ~ /^ii/ { print $1 }' | sed 's/:.*//')
missing=()
for p in "${packages[@]}"; do
  grep -qx "$p" <<<"$installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
