#!/usr/bin/env bash
# The calculator as a screen reader sees it: a private session bus, the
# accessibility bus launcher and a virtual X display (Xvfb); the window runs
# there and access_smoke.py reads and presses it through AT-SPI. Skipped
# (status 77) when the bus tools or pyatspi are missing.
#
# Usage: access_smoke.sh path/to/mervik
set -euo pipefail

MERVIK=${1:-build/mervik}
HERE=$(cd "$(dirname "$0")" && pwd)
[[ -x $MERVIK ]] || { echo "FAIL: no program at $MERVIK"; exit 1; }
LAUNCHER=
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [[ -x $l ]] && { LAUNCHER=$l; break; }
done
command -v dbus-run-session >/dev/null || { echo "SKIP: needs dbus-run-session (Debian: dbus)"; exit 77; }
[[ -n $LAUNCHER ]] || { echo "SKIP: needs the accessibility bus launcher (Debian: at-spi2-core)"; exit 77; }
command -v Xvfb >/dev/null || { echo "SKIP: needs Xvfb (Debian: xvfb)"; exit 77; }
PYTHON=
for p in /usr/bin/python3 python3; do
    command -v "$p" >/dev/null && "$p" -c "import pyatspi" 2>/dev/null && { PYTHON=$p; break; }
done
[[ -n $PYTHON ]] || { echo "SKIP: needs pyatspi (Debian: python3-pyatspi)"; exit 77; }

source "$HERE/display_lib.sh"
start_xvfb 800x600x24
unset WAYLAND_DISPLAY SDL_VIDEODRIVER NO_AT_BRIDGE AT_SPI_BUS_ADDRESS

# Inside the private session bus: the launcher, the calculator, the reader.
cat >"$WORK/session.sh" <<SESSION
set -u
"$LAUNCHER" --launch-immediately &
launcher=\$!
# The reader listens before the calculator starts, as a screen reader does.
timeout 60 "$PYTHON" "$HERE/access_smoke.py" &
reader=\$!
sleep 0.5
"$MERVIK" --config "$WORK/config" >"$WORK/out.txt" 2>"$WORK/err.txt" &
app=\$!
wait \$reader
status=\$?
# Asked to end, the calculator closes its window and ends cleanly (under the
# sanitizers: with no leak or fault reported).
kill \$app 2>/dev/null; wait \$app
ended=\$?
[[ \$status -eq 0 && \$ended -ne 0 ]] && { echo "FAIL: the calculator ended with status \$ended"; status=1; }
kill \$launcher 2>/dev/null; wait \$launcher 2>/dev/null
exit \$status
SESSION
status=0
dbus-run-session -- bash "$WORK/session.sh" 2> >(grep -v "fd limit" >&2) || status=$?
if [[ $status -ne 0 ]]; then
    echo "-- the calculator's standard error:"; cat "$WORK/err.txt"
fi
exit $status
