#!/usr/bin/env bash
# A headless run maps only what it uses: `--keys` and a script without a
# screenshot load at most 30 shared objects (as the dynamic loader lists
# them), none of them a display, accessibility or font library; a script's
# first screenshot loads the renderer. The program finds its modules only
# relative to its own real path: a copy of it without them, run from a
# folder that holds them and with the library path pointing there, still
# answers `--keys`, and a screenshot, a text measure and the window each end
# with status 1 and the reason, not a crash.
#
# Usage: headless_libraries.sh path/to/mervik   (the built or the installed program)
set -euo pipefail

MERVIK=$(realpath "${1:?usage: headless_libraries.sh path/to/mervik}")
[[ -x $MERVIK ]] || { echo "FAIL: no program at $MERVIK"; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

MAX_OBJECTS=30
# Libraries a headless run that draws nothing has no use for.
UNWANTED='lib(SDL|X11|X[a-z]|xcb|wayland|EGL|GL|atk|atspi|dbus|glib|gobject|gio|gmodule|pango|cairo|fontconfig|freetype|harfbuzz)'

# Runs the program with ARGS (standard input passed on) and writes the
# shared objects it mapped, one a line, to $WORK/loaded.
run_listing() {
    rm -f "$WORK"/ld.*
    LD_DEBUG=files LD_DEBUG_OUTPUT="$WORK/ld" "$MERVIK" "$@"
    cat "$WORK"/ld.* | sed -n 's/^ *[0-9]*:[[:space:]]*file=\([^ ]*\) .*generating link map$/\1/p' >"$WORK/loaded"
}

check_lean() {
    local what=$1 count
    count=$(wc -l <"$WORK/loaded")
    (( count <= MAX_OBJECTS )) || fail "$what mapped $count shared objects: $(tr '\n' ' ' <"$WORK/loaded")"
    if grep -E "$UNWANTED" "$WORK/loaded" >"$WORK/unwanted"; then
        fail "$what mapped $(tr '\n' ' ' <"$WORK/unwanted")"
    fi
    echo "$what: $count shared objects"
}

display_of() { sed -n 's/.*"display":"\([^"]*\)".*/\1/p'; }

cd "$WORK"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config"

[[ $(run_listing --keys "7 + 5 =" | display_of) == 12 ]] || fail "--keys did not add 7 and 5"
check_lean "--keys"
[[ $(printf 'press 7\npress +\npress 5\npress =\nstate\n' | run_listing --script - | display_of) == 12 ]] ||
    fail "the script did not add 7 and 5"
check_lean "a script without a screenshot"
printf 'press 1\nscreenshot %s\n' "$WORK/shot.png" | run_listing --script - || fail "the screenshot script failed"
[[ -s $WORK/shot.png ]] || fail "no screenshot was written"
grep -q libcairo "$WORK/loaded" && grep -q libpango "$WORK/loaded" || fail "the screenshot did not load the renderer"

# A copy of the program without its modules, run where the modules are.
folder=$(dirname "$MERVIK")
modules=$folder
[[ -e $modules/mervik-render.so ]] || modules=$folder/../lib/mervik
[[ -e $modules/mervik-render.so && -e $modules/mervik-window.so ]] || fail "no modules beside $MERVIK or in ../lib/mervik"
resources=$folder/resources
[[ -d $resources ]] || resources=$folder/../share/mervik
mkdir -p "$WORK/bin" "$WORK/here"
cp "$MERVIK" "$WORK/bin/mervik"
cp "$modules"/mervik-*.so "$WORK/here/"
cd "$WORK/here"
export LD_LIBRARY_PATH="$WORK/here" MERVIK_RESOURCES="$resources"
lone="$WORK/bin/mervik"

[[ $("$lone" --keys "7 + 5 =" | display_of) == 12 ]] || fail "without its modules, --keys did not add 7 and 5"
# Each case: the program's input, its arguments, the message it must give.
expect_failure() {
    local input=$1 message=$2 status
    shift 2
    status=0
    printf '%b' "$input" | timeout 60 "$lone" "$@" >/dev/null 2>"$WORK/err" || status=$?
    [[ $status == 1 ]] || fail "without its modules, '$*' ended with status $status: $(cat "$WORK/err")"
    grep -q "$message" "$WORK/err" || fail "without its modules, '$*' said: $(cat "$WORK/err")"
}
expect_failure 'press 1\nscreenshot shot.png\n' "cannot load the renderer: no mervik-render.so in " --script -
[[ ! -e shot.png ]] || fail "a screenshot was written without the renderer"
expect_failure 'press settings\nstate\n' "error: cannot load the renderer: no mervik-render.so in " --script -
expect_failure '' "error: cannot load the window: no mervik-window.so in " --scale 1

echo "PASS: headless runs map only what they use"
