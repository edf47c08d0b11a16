#!/usr/bin/env bash
# The window follows the desktop's appearance settings: on a private session
# bus a stand-in settings portal (fake_settings_portal.py) answers, and the
# state the window prints when it closes names the look. Skipped (status 77)
# without dbus-run-session, Xvfb or Python's GObject bindings.
#
# Usage: appearance_smoke.sh path/to/mervik
set -euo pipefail

MERVIK=${1:-build/mervik}
HERE=$(cd "$(dirname "$0")" && pwd)
[[ -x $MERVIK ]] || { echo "FAIL: no program at $MERVIK"; exit 1; }
command -v dbus-run-session >/dev/null || { echo "SKIP: needs dbus-run-session (Debian: dbus)"; exit 77; }
command -v Xvfb >/dev/null || { echo "SKIP: needs Xvfb (Debian: xvfb)"; exit 77; }
PYTHON=
for p in /usr/bin/python3 python3; do
    command -v "$p" >/dev/null && "$p" -c "import gi; gi.require_version('Gio', '2.0')" 2>/dev/null && { PYTHON=$p; break; }
done
[[ -n $PYTHON ]] || { echo "SKIP: needs Python's GObject bindings (Debian: python3-gi)"; exit 77; }

source "$HERE/display_lib.sh"
start_xvfb 800x600x24
unset WAYLAND_DISPLAY SDL_VIDEODRIVER AT_SPI_BUS_ADDRESS GTK_THEME MERVIK_THEME
export NO_AT_BRIDGE=1

# In a private session bus: the portal answering SCHEME CONTRAST (a change to
# contrast after DELAY seconds), and the window, closed after SECONDS; prints
# the look the window's state names.
look_after() {
    local scheme=$1 contrast=$2 delay=$3 seconds=$4
    shift 4
    cat >"$WORK/session.sh" <<SESSION
set -u
"$PYTHON" "$HERE/fake_settings_portal.py" $scheme $contrast $delay >"$WORK/portal.txt" 2>&1 &
portal=\$!
for _ in \$(seq 100); do grep -q ready "$WORK/portal.txt" && break; sleep 0.05; done
"$MERVIK" --config "$WORK/config" $* >"$WORK/out.txt" 2>"$WORK/err.txt" &
app=\$!
sleep $seconds
kill -TERM \$app
wait \$app
kill \$portal
SESSION
    dbus-run-session -- bash "$WORK/session.sh" 2>/dev/null
    python3 -c 'import json, sys; print(json.loads(open(sys.argv[1]).read().splitlines()[-1])["theme"])' "$WORK/out.txt" \
        || fail "no state line: $(cat "$WORK/err.txt") $(xvfb_state)"
}

[[ $(look_after 2 0 0 2) == light ]] || fail "a light preference did not give the light look"
[[ $(look_after 1 1 0 2) == contrast ]] || fail "high contrast did not give the contrast look"
[[ $(look_after 0 0 1 3) == contrast ]] || fail "a change to high contrast was not followed"
[[ $(look_after 2 0 0 2 --theme dark) == dark ]] || fail "--theme did not keep its look"
echo "PASS: the window follows the desktop's appearance settings"
