#!/usr/bin/env bash
# The Debian 12 packages Cubewright needs, in one place, and the installer the other
# scripts call. Installs only what is missing; with everything there it does nothing
# (and does not touch the network).
#
#   scripts/packages.sh play    what building and running the program needs
#   scripts/packages.sh test    that, plus everything the full test run needs
#   scripts/packages.sh list [play|test]   print the list
set -euo pipefail

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

case ${1:-} in
play) install "${play_packages[@]}" ;;
test) install "${play_packages[@]}" "${test_packages[@]}" ;;
list)
    case ${2:-test} in
    play) printf '%s\n' "${play_packages[@]}" ;;
    *) printf '%s\n' "${play_packages[@]}" "${test_packages[@]}" ;;
    esac
    ;;
*)
    echo "usage: scripts/packages.sh play|test|list [play|test]" >&2
    exit 2
    ;;
esac
