#!/usr/bin/env bash
# The Debian 12 packages Cubewright needs, in one place, and the installer the other
# scripts call. Installs only what is missing; with everything there it does nothing
# (and does not touch the network).
#
#   scripts/packages.sh play    what building and running the program needs
#   scripts/packages.sh web     what building the browser build (the site) needs
#   scripts/packages.sh test    all of that, plus everything the full test run needs
#   scripts/packages.sh list [play|web|test]   print the list
#
# The browser tests' driver comes from npm, pinned in tests/web/package-lock.json; `test`
# installs it too (into tests/web/node_modules), with no browser of its own: the tests
# drive Debian's chromium.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Building and running the program.
play_packages=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libx11-dev
    libgl1-mesa-dev libglu1-mesa-dev libegl-dev
    libgl1-mesa-dri libegl-mesa0
    libfreetype-dev libfontconfig-dev
    # The overlay's font: the metric twin of the bold monospace the program asks for.
    fonts-liberation2
    # SDL's X11 message boxes draw their text with these; without them a box fails.
    xfonts-base x11-utils
)

# The browser build, and the local web server that scripts/play-web starts: emscripten,
# with its prebuilt system libraries (it brings node).
web_packages=(
    cmake ninja-build emscripten python3
)

# The tests, benchmarks, fuzzing, packaging checks and robustness runs.
test_packages=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth xdotool x11-xserver-utils imagemagick
    valgrind man-db
    # Where an end-to-end wait times out, the program's thread stacks are printed with it.
    gdb
    desktop-file-utils appstream dpkg-dev file
    # The Windows build, cross-compiled with mingw-w64, and its tests under Wine.
    mingw-w64 g++-mingw-w64-x86-64-posix wine64
    # The Windows icon is packed, and read back out of the program, with icoutils; the
    # installer is made by NSIS; the zip is listed with unzip.
    icoutils nsis unzip
    # The browser build's end-to-end tests run the page in headless Chromium.
    chromium
)

missing() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$package"
        fi
    done
}

install() {
    local -a wanted
    mapfile -t wanted < <(missing "$@")
    if ((${#wanted[@]} == 0)); then
        return 0
    fi
    if ((EUID != 0)); then
        echo "packages.sh: missing Debian packages: ${wanted[*]}" >&2
        echo "packages.sh: run this as root, or install them with apt-get" >&2
        exit 1
    fi
    echo "packages.sh: installing ${wanted[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${wanted[@]}" >/dev/null
}

# The browser tests' driver, exactly as the lock file pins it, when what is installed is
# not that (npm ci starts from an empty node_modules).
install_npm() {
    local folder=$root/tests/web
    if [[ -d $folder/node_modules ]] &&
        cmp -s <(npm_locked "$folder/package-lock.json") <(npm_locked "$folder/node_modules/.package-lock.json"); then
        return 0
    fi
    echo "packages.sh: installing the browser tests' driver from npm (tests/web/package-lock.json)"
    (cd "$folder" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
}

# The packages and versions a lock file names, one a line.
npm_locked() {
    [[ -f $1 ]] || return 0
    node -e 'const lock = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"));
        for (const [path, entry] of Object.entries(lock.packages || {}))
            if (path) console.log(path, entry.version);' "$1" | sort
}

case ${1:-} in
play) install "${play_packages[@]}" ;;
web) install "${web_packages[@]}" ;;
test)
    install "${play_packages[@]}" "${web_packages[@]}" "${test_packages[@]}"
    install_npm
    ;;
list)
    case ${2:-test} in
    play) printf '%s\n' "${play_packages[@]}" ;;
    web) printf '%s\n' "${web_packages[@]}" ;;
    *) printf '%s\n' "${play_packages[@]}" "${web_packages[@]}" "${test_packages[@]}" ;;
    esac
    ;;
*)
    echo "usage: scripts/packages.sh play|web|test|list [play|web|test]" >&2
    exit 2
    ;;
esac
