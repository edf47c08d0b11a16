#!/usr/bin/env bash
# Installs the Debian packages that building and testing Mervik needs, but only
# those that are missing: a second run only asks dpkg and returns at once.
# With --peers, also the desktop calculators the start-up and key press
# benchmarks measure Mervik against, the command-line one (qalc) its headless
# answer is measured against, and the session bus they are started with.
# With --arm64, what the arm64 cross build needs: the cross compiler,
# qemu-user to run its programs, and the arm64 -dev packages beside this
# machine's own (Debian multiarch). Those are installed only when apt would
# remove nothing on the way; otherwise the script stops and says what.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev libboost-dev
  libcairo2-dev libpango1.0-dev libsdl2-dev libxdamage-dev libxtst-dev fonts-dejavu-core
  libatk1.0-dev libatk-bridge2.0-dev
  xvfb xdotool weston libwayland-dev openbox
  dbus at-spi2-core python3-pyatspi
  dpkg-dev desktop-file-utils appstream man-db groff-base python3 x11-utils
  clang libclang-rt-14-dev llvm
)
arm64=()
case "${1:-}" in
  --peers) packages+=(galculator speedcrunch gnome-calculator qalc dbus-daemon) ;;
  --arm64)
    packages+=(g++-aarch64-linux-gnu qemu-user)
    arm64=(libcairo2-dev:arm64 libpango1.0-dev:arm64 libsdl2-dev:arm64 libwayland-dev:arm64
           libatk1.0-dev:arm64 libatk-bridge2.0-dev:arm64
           libgtest-dev:arm64 libgmock-dev:arm64)
    packages+=("${arm64[@]}") ;;
esac

# dpkg-query fails for a package it has never seen; that one is missing too.
# A package of another architecture keeps its ":arch" suffix.
native=$(dpkg --print-architecture)
installed=$( { dpkg-query -W -f='${binary:Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null || true; } \
  | awk '$2 ~ /^ii/ { print $1 }' | sed "s/:$native\$//")
missing=()
for p in "${packages[@]}"; do
  grep -qx "$p" <<<"$installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ ${#arm64[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  "${sudo[@]}" dpkg --add-architecture arm64
fi
"${sudo[@]}" apt-get update -qq
if [ ${#arm64[@]} -gt 0 ]; then
  # Another architecture's packages must come beside this machine's, never
  # in their place: a plan that removes anything is refused.
  removed=$("${sudo[@]}" apt-get -s install --no-install-recommends "${missing[@]}" | awk '$1 == "Remv" { print $2 }')
  if [ -n "$removed" ]; then
    echo "Not installing: apt would remove $(echo $removed) to make room for the arm64 packages" >&2
    exit 1
  fi
fi
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
