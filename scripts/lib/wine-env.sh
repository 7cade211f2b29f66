# Shared by scripts/run, scripts/test and the Wine test launcher: an X display
# (Xvfb when none is given) and a Wine prefix inside the build tree.
# Source it; it defines functions only.

# Makes DISPLAY point at a working X server. Without one, starts Xvfb on a
# display of our own and leaves it running for the next caller.
tide_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n=${TIDE_XVFB_DISPLAY:-97}
    export DISPLAY=":$n"
    if xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    (
        exec 9>"/tmp/.tide-xvfb-$n.lock"
        flock 9
        if ! xdpyinfo >/dev/null 2>&1; then
            rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
            setsid Xvfb ":$n" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
            echo $! > "/tmp/.tide-xvfb-$n.pid"
            for _ in $(seq 1 100); do
                xdpyinfo >/dev/null 2>&1 && break
                sleep 0.1
            done
        fi
    )
    xdpyinfo >/dev/null 2>&1 || { echo "wine-env: could not start Xvfb on $DISPLAY" >&2; return 1; }
}

# The machine type of a Windows program (i386, x86_64, or its PE number in
# hex), read from its PE header; nothing when the file is not one.
tide_pe_machine() { # program
    local offset machine
    [ "$(head -c 2 "$1" 2>/dev/null)" = MZ ] || return 0
    offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    [ "$(od -An -c -j "$offset" -N 4 "$1" | tr -d ' ')" = 'PE\0\0' ] || return 0
    machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ')
    case $machine in
        014c) echo i386 ;;
        8664) echo x86_64 ;;
        *) echo "$machine" ;;
    esac
}

# True when Wine's 32-bit loader (wine32's) is installed but this machine
# cannot execute it: a kernel built without 32-bit support refuses every
# 32-bit x86 program ("Exec format error").
tide_wine32_refused() {
    [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Why this machine's Wine cannot run the Windows program at $1, in a line;
# nothing (and status 1) when it can. Debian's Wine runs a 32-bit program
# only with the 32-bit loader of wine32; without it `wine` exits 0 having run
# nothing, and with WINEDEBUG=-all it does not even say so.
tide_wine_cannot_run() { # program
    if ! command -v wine >/dev/null; then
        echo "Wine is not installed"
        return 0
    fi
    if [ "$(tide_pe_machine "$1")" = i386 ]; then
        if [ -x /usr/lib/wine/wine64 ] && [ ! -x /usr/lib/wine/wine ]; then
            echo "wine32 is not installed, and this Wine runs no 32-bit program"
            return 0
        fi
        if tide_wine32_refused; then
            echo "this machine's kernel runs no 32-bit program, Wine's 32-bit loader among them"
            return 0
        fi
    fi
    return 1
}

# Debian's `wine` starts wine32's loader whenever it is installed, for 64-bit
# programs too; where the kernel refuses that loader nothing would run. There
# `wine` (and `wine-stable`, which wineboot and winepath call) is put first on
# PATH as the 64-bit loader, from a folder in the build tree.
tide_wine64_only() {
    tide_wine32_refused && [ -x /usr/lib/wine/wine64 ] || return 0
    local shim
    shim="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wine64-loader"
    case ":$PATH:" in *":$shim:"*) return 0 ;; esac
    mkdir -p "$shim"
    local name
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
            >"$shim/$name"
        chmod +x "$shim/$name"
    done
    export PATH="$shim:$PATH"
}

# What the prefix was made with: our settings' revision and the installed Wine
# packages. A prefix made by another Wine (or before wine32 was installed) may
# not start programs at all ("could not load kernel32.dll"), so it is made anew.
tide_wine_stamp() {
    printf 'settings 3; %s; %s\n' "$(wine --version 2>/dev/null)" \
        "$(dpkg-query -W -f='${Package}:${Architecture}=${Version} ' wine64 wine32:i386 2>/dev/null)"
}

# Exports the Wine environment for the prefix at $1 and creates the prefix on
# first use: Chinese font replacements, no Mono/Gecko prompts.
tide_wine_prefix() {
    tide_wine64_only
    # Wine takes an absolute prefix only.
    export WINEPREFIX
    WINEPREFIX=$(realpath -m "$1")
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        exec 9>"$WINEPREFIX.lock"
        flock 9
        local stamp
        stamp=$(tide_wine_stamp)
        [ "$(cat "$WINEPREFIX/.tide-ready" 2>/dev/null)" = "$stamp" ] && exit 0
        [ -d "$WINEPREFIX" ] && { wineserver -k 2>/dev/null || true; }
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        local face=${TIDE_CJK_FONT:-WenQuanYi Micro Hei}
        local key='HKCU\Software\Wine\Fonts\Replacements'
        for name in 宋体 SimSun 新宋体 NSimSun Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
            wine reg add "$key" /v "$name" /t REG_SZ /d "$face" /f >/dev/null 2>&1
        done
        # Smoothed text, as on a current Windows desktop.
        wine reg add 'HKCU\Control Panel\Desktop' /v FontSmoothing /t REG_SZ /d 2 /f >/dev/null 2>&1
        wine reg add 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 2 /f >/dev/null 2>&1
        # Xvfb has no window manager: a managed window that hides would wait
        # two seconds for a withdrawal notice that never comes.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
        echo "$stamp" >"$WINEPREFIX/.tide-ready"
    )
}

# Stops the Xvfb that tide_ensure_display started for display number $1.
tide_stop_display() {
    local n=${1:-${TIDE_XVFB_DISPLAY:-97}}
    local pidfile="/tmp/.tide-xvfb-$n.pid"
    if [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    fi
}
