# What the window tests share, sourced after `set -euo pipefail`: a work
# folder removed at exit, fail, and a virtual X display of our own.
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

# Starts Xvfb with one screen of SIZE ("1280x1024x24") and any further
# Xvfb arguments, on a display number Xvfb picks itself (so that tests run
# side by side never take the same one), and exports DISPLAY once it answers.
start_xvfb() {
    local size=$1
    shift
    Xvfb -displayfd 9 -screen 0 "$size" -nolisten tcp "$@" 9>"$WORK/display-number" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    # Xvfb writes the number once it accepts connections.
    for _ in $(seq 300); do [[ -s $WORK/display-number ]] && break; sleep 0.05; done
    [[ -s $WORK/display-number ]] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    DISPLAY=":$(tr -d '\n' <"$WORK/display-number")"
    export DISPLAY
}
