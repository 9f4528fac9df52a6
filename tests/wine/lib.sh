# Shared steps of everything that runs Windows programs under Wine, sourced by the test
# scripts and by the Windows packaging checks: one Wine prefix per build, booted once and
# shared, quiet, with the fonts a Windows machine has.
#
#   CUBEWRIGHT_WINE_PREFIX  the prefix to use (CTest sets it to the build folder's);
#                           by default build/windows/wine-prefix of this checkout.
#
# After sourcing: WINEPREFIX and WINEDEBUG are exported, $wine is the loader, $wineserver
# its server, and wine_boot_prefix boots the prefix unless it is ready already.

wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${CUBEWRIGHT_WINE_PREFIX:-$wine_root/build/windows/wine-prefix}
export WINEDEBUG=-all
# Debian keeps both off PATH.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# A Windows machine has Courier New, which the overlay asks for; a fresh prefix has not,
# and Wine would fall back to a proportional sans. Liberation Mono is its metric twin.
wine_font_replacements=('Courier New=Liberation Mono')

# Test programs whose windows Wine need not hand to a window manager. With none running,
# Wine waits two seconds for one at each window it destroys; the window back end's tests
# destroy dozens. The program itself keeps Wine's defaults.
wine_unmanaged_programs=(win32_platform_tests.exe)

# What a ready prefix was set up with; a prefix set up otherwise is set up again.
wine_settings="fonts=${wine_font_replacements[*]} unmanaged=${wine_unmanaged_programs[*]}"

# Boots the prefix if it is not ready yet. Safe to call from tests running side by side:
# the first takes a lock and boots, the others wait for it and find the prefix ready.
wine_boot_prefix() {
    local ready=$WINEPREFIX/.cubewright-ready replacement program
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [[ -e $ready && $(cat "$ready") == "$wine_settings" ]] && exit 0
        # wineboot grumbles about the 32-bit rundll32 that a 64-bit-only Wine lacks.
        "$wine" wineboot -i >"$WINEPREFIX.boot.log" 2>&1 || true
        for replacement in "${wine_font_replacements[@]}"; do
            "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${replacement%%=*}" \
                /d "${replacement#*=}" /f >>"$WINEPREFIX.boot.log" 2>&1 || exit 1
        done
        for program in "${wine_unmanaged_programs[@]}"; do
            "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" \
                /v Managed /d N /f >>"$WINEPREFIX.boot.log" 2>&1 || exit 1
        done
        # The registry reaches the disk when the server ends; later runs then start clean.
        "$wineserver" -w
        [[ -d $WINEPREFIX/drive_c ]] || exit 1
        printf '%s' "$wine_settings" >"$ready"
    ) 9>"$WINEPREFIX.lock"
}

# Ends the prefix's session: every process of this prefix (and nothing else), and its
# server. Wine's desktop process starts with the first program of a session, on that
# program's display (or none), and serves every later program with that display's
# screen: each test therefore runs in a session of its own (tests/wine/run).
wine_end_session() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
}

# Ends every process of this prefix (and nothing else) and waits for its server to go.
wine_stop_prefix() {
    [[ -d $WINEPREFIX ]] || return 0
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
}

# A Linux path as Windows programs under Wine see it (Wine's Z: drive is the root).
wine_path() {
    local path
    path=$(realpath -m "$1")
    printf 'Z:%s\n' "${path//\//\\}"
}
