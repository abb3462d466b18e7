# Shared by the test and benchmark scripts: a fresh Wine prefix inside the build tree, a private
# virtual X display and a warm wineserver. Source it, call wine_env_start, and wine_env_stop (also
# registered as an exit trap).
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_env_start() {   # $1: prefix directory; $2: first display number to try (default 90)
    export WINEPREFIX="$1" WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
    export XDG_DATA_HOME="$WINEPREFIX/xdg-data"   # the recycle bin lands here, not in $HOME
    export WINEDLLOVERRIDES="winemenubuilder.exe=d"  # no menu entries or file associations on the host
    mkdir -p "$XDG_DATA_HOME"
    # Environments started side by side begin their search at different numbers: two searches
    # from the same number could both find it free before either server has taken it.
    local n="${2:-90}"
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    trap wine_env_stop EXIT
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # No Mono or Gecko installer prompts in a prefix nobody sits in front of.
        WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mscoree,mshtml=" "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
    fi
    # Every window runs inside Wine's virtual desktop: on bare Xvfb (no window manager) hiding or
    # closing a top-level window takes seconds. The setting is read when the desktop starts, so
    # the server is restarted after writing it.
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 </dev/null
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    # A persistent server plus one warm-up start: without them every test process pays for
    # starting the Wine services, and those keep ctest's output pipe open.
    "$WINESERVER" -p 2>/dev/null || true
    "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
    XVFB_PID=
}
