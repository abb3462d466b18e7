#!/usr/bin/env bash
# Runs the built program under Wine in its own prefix (build/run-prefix), with a Japanese locale
# and a Favorites folder that holds the sample from resources/sample-favorites when it is empty.
#
# With a usable X display (DISPLAY) the program runs in Wine's virtual desktop on it, in the
# foreground. Without one, the script starts Xvfb, takes a screenshot (build/tolvak-run.png) once
# the program's window is up, and keeps the program running until it exits or Ctrl+C.
#
# Usage: scripts/run.sh [program arguments...]
# TOLVAK_PROGRAM overrides the program (a Unix path or a Windows program name such as notepad).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAM="${TOLVAK_PROGRAM:-$ROOT/build/bin/Tolvak.exe}"

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
DESKTOP=Tolvak,1280x1024
SAMPLE="$ROOT/resources/sample-favorites"
SCREENSHOT_REL=build/tolvak-run.png

export LANG=ja_JP.UTF-8          # gives Wine the ANSI code page 932
export WINEDEBUG=-all
export WINEPREFIX="$ROOT/build/run-prefix"
# No menu entries or file associations on the host for this throwaway prefix.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"

server_started=false
xvfb_pid=
prog_pid=

cleanup() {
    local status=$?
    trap - INT TERM EXIT
    if [[ -n $prog_pid ]] && kill -0 "$prog_pid" 2>/dev/null; then
        kill "$prog_pid" 2>/dev/null || true
    fi
    if $server_started; then
        "$WINESERVER" -k >/dev/null 2>&1 || true
        timeout 10 "$WINESERVER" -w >/dev/null 2>&1 || true
    fi
    if [[ -n $prog_pid ]]; then
        wait "$prog_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Resolve the program before touching Wine: a Unix path must exist.
if [[ $PROGRAM == */* && ! -f $PROGRAM ]]; then
    echo "run.sh: $PROGRAM not found; build it first (make)." >&2
    exit 1
fi

# --- Wine prefix and wineserver ------------------------------------------------------------------
mkdir -p "$WINEPREFIX"
new_prefix=false
[[ -f $WINEPREFIX/system.reg ]] || new_prefix=true

# Start the wineserver ourselves (exit status 2: one already runs for this prefix; leave it be).
# Otherwise the first Wine process would start it together with services that inherit, and keep
# open, whatever stdout that process had, which hangs command substitutions and pipes.
rc=0
"$WINESERVER" -p >/dev/null 2>&1 || rc=$?
case $rc in
    0) server_started=true ;;
    2) ;;
    *) echo "run.sh: could not start wineserver for $WINEPREFIX" >&2; exit 1 ;;
esac

if $new_prefix; then
    echo "Creating the Wine prefix build/run-prefix (takes a few seconds the first time)..."
    # No Mono/Gecko download prompts.
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mscoree,mshtml=" \
        "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
fi
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null

# --- Favorites -----------------------------------------------------------------------------------
# Ask Wine where the profile is; cmd expands the variable and winepath prints the Unix path.
favorites="$("$WINE" cmd /c winepath -u '%USERPROFILE%\Favorites' 2>/dev/null </dev/null | tr -d '\r')"
if [[ -z $favorites ]]; then
    echo "run.sh: could not find the Favorites folder of $WINEPREFIX" >&2
    exit 1
fi
if [[ -L $favorites ]]; then
    # Linked elsewhere (e.g. into the home directory): use it, but never fill it.
    :
else
    mkdir -p "$favorites"
    if [[ -z $(ls -A "$favorites") ]]; then
        cp -R "$SAMPLE/." "$favorites/"
        echo "Filled the empty Favorites folder with the sample from resources/sample-favorites."
    fi
fi

# --- Program -------------------------------------------------------------------------------------
if [[ $PROGRAM == */* ]]; then
    winprog="$("$WINE" winepath -w "$PROGRAM" 2>/dev/null </dev/null | tr -d '\r')"
else
    winprog=$PROGRAM
fi

if [[ -n ${DISPLAY:-} ]] && timeout 5 xdpyinfo >/dev/null 2>&1; then
    # Foreground on the user's display; exits when the program exits.
    rc=0
    "$WINE" explorer /desktop="$DESKTOP" "$winprog" "$@" || rc=$?
    exit "$rc"
fi

# --- Headless: Xvfb, screenshot, keep running ----------------------------------------------------
display=
for n in $(seq 99 199); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    # Own session: Ctrl+C on the terminal must not take the X server down under the running
    # Wine processes (they would complain about the lost connection); cleanup stops it last.
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    xvfb_pid=$!
    for _ in $(seq 1 50); do
        kill -0 "$xvfb_pid" 2>/dev/null || break
        if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            display=":$n"
            break
        fi
        sleep 0.1
    done
    [[ -n $display ]] && break
    # Lost a race for this number, or the server did not come up: try the next one.
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
done
if [[ -z $display ]]; then
    echo "run.sh: could not start Xvfb on any display from :99 to :199" >&2
    exit 1
fi
export DISPLAY=$display

"$WINE" explorer /desktop="$DESKTOP" "$winprog" "$@" </dev/null &
prog_pid=$!

# The program's top-level windows show up as named X children of the desktop window; anything
# bigger than 1x1 that is not the desktop's own (explorer.exe) or an IME window is ours.
program_window_up() {
    xwininfo -root -tree 2>/dev/null |
        grep -E '^ +0x[0-9a-f]+ ".*": \(' |
        grep -v -e 'Wine desktop"' -e '"Default IME"' -e '("explorer.exe"' |
        grep -qvE '\)  1x1\+'
}
up=false
for _ in $(seq 1 100); do                       # up to ~20 s
    kill -0 "$prog_pid" 2>/dev/null || break
    if program_window_up; then
        up=true
        break
    fi
    sleep 0.2
done
if ! kill -0 "$prog_pid" 2>/dev/null; then
    rc=0
    wait "$prog_pid" || rc=$?
    prog_pid=
    echo "run.sh: the program exited before its window appeared (status $rc)." >&2
    exit $(( rc == 0 ? 1 : rc ))
fi
$up || echo "run.sh: no program window after 20 s; taking the screenshot anyway." >&2
sleep 1                                         # let the first paint finish

import -window root "$ROOT/$SCREENSHOT_REL"
echo "Screenshot written to $SCREENSHOT_REL; the program keeps running on a virtual display" \
     "(DISPLAY=$DISPLAY). Close its window or press Ctrl+C to stop."

rc=0
wait "$prog_pid" || rc=$?
prog_pid=
exit "$rc"
