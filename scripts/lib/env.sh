# Sourced by the project's scripts. Fixes where the build, the Wine prefix and the locale live.
# EK_BUILD_DIR chooses another build tree (each tree has its own prefix and wineserver).

EK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
EK_BUILD=${EK_BUILD_DIR:-$EK_ROOT/build}
case "$EK_BUILD" in /*) ;; *) EK_BUILD=$EK_ROOT/$EK_BUILD ;; esac
EK_WIN_BUILD=$EK_BUILD/win
EK_NATIVE_BUILD=$EK_BUILD/native
EK_BIN=$EK_WIN_BUILD/bin
EK_JOBS=${EK_JOBS:-$(nproc)}
export EK_ROOT EK_BUILD EK_WIN_BUILD EK_NATIVE_BUILD EK_BIN

# Everything Wine writes stays inside the build tree (ek_wine_env is also used by ek-wine).
ek_wine_env() {
    export WINEPREFIX=$EK_BUILD/wineprefix
    export WINEARCH=win64
    export HOME=$EK_BUILD/winehome
    export XDG_CONFIG_HOME=$EK_BUILD/winehome/.config
    export XDG_DATA_HOME=$EK_BUILD/winehome/.local/share
    export XDG_CACHE_HOME=$EK_BUILD/winehome/.cache
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEDEBUG=${EK_WINEDEBUG:--all}
    mkdir -p "$HOME"
}

# Code page 936 comes from this locale, generated into the build tree.
ek_cp936_env() {
    export LOCPATH=$EK_BUILD/locale
    export LANG=zh_CN.UTF-8
    unset LC_ALL
}

# Starts Xvfb on a free display and exports DISPLAY; ek_stop_display ends it.
ek_start_display() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    EK_XVFB_PID=$!
    local num
    read -r num <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$num"
}

ek_stop_display() {
    if [ -n "${EK_XVFB_PID:-}" ]; then
        kill "$EK_XVFB_PID" 2>/dev/null
        wait "$EK_XVFB_PID" 2>/dev/null
        EK_XVFB_PID=
    fi
}

ek_stop_wineserver() {
    [ -d "${WINEPREFIX:-/nonexistent}" ] && wineserver -k 2>/dev/null
    [ -d "${WINEPREFIX:-/nonexistent}" ] && wineserver -w 2>/dev/null
    return 0
}

ek_configure_and_build() {
    cmake -S "$EK_ROOT" -B "$EK_WIN_BUILD" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$EK_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DEK_WARNINGS_AS_ERRORS="${EK_WINDOWS_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
    cmake --build "$EK_WIN_BUILD" -j "$EK_JOBS" "$@"
}

# The native build: the platform-free code, its tests and the fuzz targets, with clang 14 (libFuzzer)
# and the sanitizers. A tree configured with another compiler is configured afresh.
ek_configure_and_build_native() {
    local cache=$EK_NATIVE_BUILD/CMakeCache.txt
    if [ -f "$cache" ] && ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++-14$' "$cache"; then
        rm -rf "$EK_NATIVE_BUILD"
    fi
    CC=clang-14 CXX=clang++-14 cmake -S "$EK_ROOT" -B "$EK_NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Debug \
        -DEK_WARNINGS_AS_ERRORS="${EK_NATIVE_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
    cmake --build "$EK_NATIVE_BUILD" -j "$EK_JOBS" "$@"
}

# Keeps the server and Wine's own background processes running for the whole run. They are
# started here with their output on /dev/null: started by a test instead, they would inherit
# its output pipe and keep ctest waiting for it to close.
ek_warm_wine() {
    wineserver -p
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}
