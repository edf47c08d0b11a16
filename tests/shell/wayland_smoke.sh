#!/usr/bin/env bash
# The calculator on a Wayland-only desktop: a nested weston (its X11 back
# end, inside a virtual X display of our own) with WAYLAND_DISPLAY set and
# DISPLAY unset for the calculator, so that SDL takes its Wayland back end.
#
# 1. A desktop output: the window opens and presents frames for two seconds
#    with nothing of ours on standard error, and on SIGTERM it exits 0 and
#    prints its state.
# 2. A phone's output (720 x 1280 at scale 2: 360 logical pixels wide,
#    upright): the window starts full screen, the calculator scaled to fit
#    and centred at the output's scale; a click and typed keys (through
#    weston's X11 window) reach the keys drawn under them.
# 3. A Wayland display nobody serves: one clear line and status 1.
#
# Usage: wayland_smoke.sh [path/to/mervik]   (default: build/mervik)
# Skips (status 77) only where weston cannot start.
set -euo pipefail

MERVIK=${1:-build/mervik}
[[ -x $MERVIK ]] || { echo "FAIL: no program at $MERVIK"; exit 1; }
command -v weston >/dev/null || { echo "SKIP: weston is not installed (make deps installs it)"; exit 77; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "SKIP: needs Xvfb and xdotool"; exit 77; }

source "$(dirname "$0")/display_lib.sh"
WESTON_PID=
APP_PID=
CLEANUP_PIDS="APP_PID WESTON_PID $CLEANUP_PIDS"

# An X display of our own for weston's window; Xvfb keeps its screen in a
# file we can read pixels from.
mkdir -p "$WORK/fb" "$WORK/runtime"
chmod 700 "$WORK/runtime"
start_xvfb 1280x1400x24 -fbdir "$WORK/fb"
export XDG_RUNTIME_DIR="$WORK/runtime"
unset SDL_VIDEODRIVER
SANITIZED=
[[ $(ldd "$MERVIK") == *libasan* ]] && SANITIZED=1
# Under the leak checker, libdecor's own leak at exit is kept out (the plain
# build runs with it as it is): libdecor, which SDL takes for a compositor
# that leaves window decorations to the client, keeps its frame past SDL's
# exit. SDL's own Wayland objects left at exit are its (the suppressions
# name libSDL2): the full unwinding at each allocation lets the leak checker
# see SDL on the way to libwayland's.
CALCULATOR_ENV=()
if [[ -n $SANITIZED ]]; then
    CALCULATOR_ENV=(SDL_VIDEO_WAYLAND_ALLOW_LIBDECOR=0
                    "LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}fast_unwind_on_malloc=0")
fi

# Starts weston with an output of WIDTH x HEIGHT pixels at SCALE; sets
# WESTON_PID and the Wayland socket's name in SOCKET.
start_weston() {
    local width=$1 height=$2 scale=$3
    SOCKET="mervik-smoke-$$-$width"
    weston --backend=x11-backend.so --socket="$SOCKET" --width="$((width / scale))" --height="$((height / scale))" \
        --scale="$scale" --no-config --idle-time=0 >"$WORK/weston.log" 2>&1 &
    WESTON_PID=$!
    for _ in $(seq 100); do
        [[ -S $XDG_RUNTIME_DIR/$SOCKET ]] && return 0
        kill -0 "$WESTON_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "SKIP: weston cannot start here: $(tail -n 3 "$WORK/weston.log" | tr '\n' ' ')"
    exit 77
}
stop_weston() {
    kill "$WESTON_PID" 2>/dev/null || true
    wait "$WESTON_PID" 2>/dev/null || true
    WESTON_PID=
}

# Starts the calculator on weston's socket, without an X display, and waits
# until its window has a frame buffer (its shared memory is mapped) or it ends.
start_calculator() {
    env -u DISPLAY WAYLAND_DISPLAY="$SOCKET" "${CALCULATOR_ENV[@]}" "$MERVIK" --config "$WORK/config" "$@" \
        >"$WORK/out.txt" 2>"$WORK/err.txt" &
    APP_PID=$!
    for _ in $(seq 300); do
        grep -q "memfd:mervik-frame" "/proc/$APP_PID/maps" 2>/dev/null && return 0
        kill -0 "$APP_PID" 2>/dev/null || fail "the calculator ended: $(cat "$WORK/err.txt")"
        sleep 0.1
    done
    fail "no window within 30 s"
}
# Lines on standard error that are ours: not those Mesa (should SDL load it)
# or libdecor print themselves (libdecor without a decoration plugin says so in two lines).
our_errors() {
    grep -v -i -E "^(libdecor|MESA|libEGL|EGL|libGL|glx)|^Couldn't open plugin directory|^No plugins found, falling back on no decorations" \
        "$WORK/err.txt" || true
}
# Ends the calculator with SIGTERM; it must exit 0 and print its state.
stop_calculator() {
    kill -TERM "$APP_PID"
    local status=0
    timeout 10 tail --pid="$APP_PID" -f /dev/null || fail "SIGTERM did not end the calculator"
    wait "$APP_PID" || status=$?
    APP_PID=
    [[ $status -eq 0 ]] || fail "exit status $status after SIGTERM: $(cat "$WORK/err.txt")"
    [[ -z $(our_errors) ]] || fail "standard error: $(our_errors)"
}
state_field() {
    python3 - "$WORK/out.txt" "$1" <<'PY'
import json, sys
lines = open(sys.argv[1]).read().splitlines()
print(json.loads(lines[-1])[sys.argv[2]] if lines else "")
PY
}

# 1. A desktop output: two seconds of frames, then SIGTERM.
start_weston 1024 768 1
started=$(date +%s%N)
start_calculator
sleep 2
kill -0 "$APP_PID" 2>/dev/null || fail "the calculator ended: $(cat "$WORK/err.txt")"
peak_kib=$(awk '/^VmHWM:/ { print $2 }' "/proc/$APP_PID/status")
echo "peak resident memory on Wayland after 2 s: $(( peak_kib / 1024 )) MiB"
# No GL stack: SDL is kept from loading EGL and the GL driver.
! grep -q -E "libEGL|libGL|libLLVM" "/proc/$APP_PID/maps" || fail "a GL library is loaded: $(grep -o -E "[^ ]*lib(EGL|GL|LLVM)[^ ]*" "/proc/$APP_PID/maps" | sort -u | tr '\n' ' ')"
# The budget holds for the plain build; the sanitizers' shadow memory is theirs.
if [[ -z $SANITIZED ]]; then
    (( peak_kib <= 40 * 1024 )) || fail "peak resident memory $(( peak_kib / 1024 )) MiB is over 40 MiB"
fi
stop_calculator
[[ $(state_field display) == 0 ]] || fail "the state at exit is not the fresh calculator's: $(cat "$WORK/out.txt")"
echo "desktop output: ran for $(( ($(date +%s%N) - started) / 1000000 )) ms, closed cleanly"
stop_weston

# 2. A phone's output: full screen, scaled to fit, input where it is drawn.
start_weston 720 1280 2
# Weston's output window, at the top left of the X display.
OUTPUT=$(xdotool search --name '^Weston Compositor' 2>/dev/null | head -1) || true
[[ -n $OUTPUT ]] || OUTPUT=$(xdotool search --class weston 2>/dev/null | head -1) || true
[[ -n $OUTPUT ]] || fail "no window of weston's output"
eval "$(xdotool getwindowgeometry --shell "$OUTPUT")"  # X, Y, WIDTH, HEIGHT
[[ $WIDTH == 720 && $HEIGHT == 1280 ]] || fail "weston's output is ${WIDTH}x${HEIGHT}, not 720x1280"
start_calculator
sleep 2
kill -0 "$APP_PID" 2>/dev/null || fail "the calculator ended: $(cat "$WORK/err.txt")"
# 320 x 460 points in 360 x 640 logical pixels: 1.125 logical pixels a
# point, 2.25 output pixels; centred, 61.25 logical pixels from the top.
to_x() { echo $(( X + ($1 * 225) / 100 )); }
to_y() { echo $(( Y + 122 + ($1 * 225) / 100 )); }
# The full-screen frame: the margin above in the calculator's grey, the dark backdrop where scaled to.
margin_grey() { (( R > 40 && R < 70 && R == G && G == B )); }
for _ in $(seq 100); do
    read -r R G B < <(pixel "$((X + 360))" "$((Y + 60))")
    read -r R2 G2 B2 < <(pixel "$(to_x 5)" "$(to_y 300)")
    margin_grey && (( R2 < 120 && G2 < 120 && B2 < 120 && R2 + G2 + B2 > 0 )) && break
    sleep 0.1
done
margin_grey || fail "the margin above the calculator is not the calculator's grey (found $R $G $B)"
(( R2 < 120 && G2 < 120 && B2 < 120 && R2 + G2 + B2 > 0 )) ||
    fail "the calculator's dark backdrop is not where it is scaled to (found $R2 $G2 $B2)"
# Weston's X11 back end moves its pointer by the steps between X motion
# events and learns where the pointer is only when it enters weston's window;
# a pointer already over the window when weston opened it is somewhere else
# for weston. Out of the window and back in, then the click.
xdotool mousemove "$((X + WIDTH + 100))" "$Y" sleep 0.2 mousemove "$(to_x 47)" "$(to_y 255)" sleep 0.2 click 1   # the 7 key
sleep 0.3
xdotool type --delay 60 "8+1"
xdotool key Return
sleep 0.4
stop_calculator
[[ $(state_field display) == 79 ]] || fail "the click and keys did not reach their keys: $(cat "$WORK/out.txt")"
echo "phone output: full screen, the click and keys pressed their keys"
stop_weston

# 3. A Wayland display that nobody serves: one clear line, status 1 (never
# a window nobody sees).
status=0
env -u DISPLAY WAYLAND_DISPLAY="mervik-smoke-$$-nobody" "$MERVIK" --config "$WORK/config" >"$WORK/out.txt" 2>"$WORK/err.txt" ||
    status=$?
[[ $status -eq 1 ]] || fail "with no Wayland compositor the status was $status, not 1"
grep -q '^mervik: cannot open a window: no display (.*); use --script or --keys' "$WORK/err.txt" ||
    fail "with no Wayland compositor the message was: $(cat "$WORK/err.txt")"

echo "PASS: Wayland smoke test"
