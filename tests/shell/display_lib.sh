# What the window tests share, sourced after `set -euo pipefail`: a work
# folder removed at exit, fail, a virtual X display of our own, and readers
# of its screen and of a process's memory.
#
# At exit every process whose pid stands in one of the variables named in
# CLEANUP_PIDS is ended (they may be empty), then the work folder goes.

WORK=$(mktemp -d)
XVFB_PID=
CLEANUP_PIDS="XVFB_PID"
cleanup() {
    local name
    for name in $CLEANUP_PIDS; do
        [[ -n ${!name:-} ]] && kill "${!name}" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Whether our Xvfb still runs, and the end of its log: said with a failure
# that may be the display's and not the calculator's.
xvfb_state() {
    if kill -0 "$XVFB_PID" 2>/dev/null; then echo "(Xvfb on $DISPLAY still runs)"
    else echo "(Xvfb on $DISPLAY has ended: $(tail -n 5 "$WORK/xvfb.log" | tr '\n' ' '))"; fi
}

# Starts Xvfb with one screen of SIZE ("1280x1024x24") and any further
# Xvfb arguments, on a display number Xvfb picks itself (so that tests run
# side by side never take the same one), and exports DISPLAY once it answers.
# -noreset: by default an X server resets when its last client leaves, and a
# client that connects while it resets (the next calculator a test starts) is
# dropped and finds no display.
start_xvfb() {
    local size=$1
    shift
    Xvfb -displayfd 9 -screen 0 "$size" -nolisten tcp -noreset "$@" 9>"$WORK/display-number" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    # Xvfb writes the number once it accepts connections.
    for _ in $(seq 300); do [[ -s $WORK/display-number ]] && break; sleep 0.05; done
    [[ -s $WORK/display-number ]] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    DISPLAY=":$(tr -d '\n' <"$WORK/display-number")"
    export DISPLAY
}

# The screen, for an Xvfb started with -fbdir "$WORK/fb" (it keeps its
# screen there as an XWD file). The colour of screen pixel (X, Y) as "r g b".
pixel() {
    python3 - "$WORK/fb/Xvfb_screen0" "$1" "$2" <<'PY'
import struct, sys
path, x, y = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(path, 'rb') as f:
    head = struct.unpack('>25I', f.read(100))
    header_size, bytes_per_line, colours = head[0], head[12], head[19]
    f.seek(header_size + colours * 12 + y * bytes_per_line + x * 4)
    b, g, r, _ = f.read(4)
print(r, g, b)
PY
}
# A digest of the screen pixels in the box X Y W H.
region() {
    python3 - "$WORK/fb/Xvfb_screen0" "$@" <<'PY'
import hashlib, struct, sys
path, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:6])
with open(path, 'rb') as f:
    head = struct.unpack('>25I', f.read(100))
    header_size, bytes_per_line, colours = head[0], head[12], head[19]
    digest = hashlib.sha1()
    for row in range(y, y + h):
        f.seek(header_size + colours * 12 + row * bytes_per_line + x * 4)
        digest.update(f.read(w * 4))
print(digest.hexdigest())
PY
}
# The resident memory of process PID, in KiB.
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
