#!/usr/bin/env bash
# Opens the calculator in a window, or, on a machine without a display, shows
# the headless calculator at work instead.
set -euo pipefail
build=${1:-build}
bin="$build/mervik"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin"
fi

echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set): showing the headless calculator instead."
echo '$ mervik --keys "7 + 5 ="'
state=$("$bin" --keys "7 + 5 =")
display=$(printf '%s\n' "$state" | sed -n 's/.*"display":"\([^"]*\)".*/\1/p')
echo "display: $display"
shot="$build/mervik.png"
if printf 'press 7\npress +\npress 5\npress =\nscreenshot %s\n' "$shot" | "$bin" --script - >/dev/null; then
  echo "screenshot of the calculator: $shot"
fi
