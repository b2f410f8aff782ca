#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Set up, build, play and test Pokopin on Debian 12.
#
#   bash tools/dev.sh play   install what is missing, build, start the game
#   bash tools/dev.sh test   install what is missing, check licences and the
#                            code's layout, build, run every test (normal build,
#                            then an address/UB-sanitizer build)
#   bash tools/dev.sh build  install what is missing and build
#   bash tools/dev.sh package
#                            install what is missing, build, make the Debian
#                            package build/pokopin_*.deb and check it with lintian
#
# Safe to run again: packages already present are not reinstalled and the
# builds are incremental.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${POKOPIN_BUILD_DIR:-$root/build}"
asan_build="${POKOPIN_ASAN_BUILD_DIR:-$root/build-asan}"
jobs=$(nproc 2>/dev/null || echo 2)

packages=(
    build-essential cmake ninja-build pkg-config python3 python3-mido
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n
    qt6-charts-dev libqt6opengl6-dev libqt6charts6
    libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont fonts-ipafont-gothic fonts-dejavu-core xdg-utils
    libxcb-xkb-dev libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils imagemagick libx11-dev
    libxdamage-dev libxtst-dev at-spi2-core python3-pyatspi dbus dbus-x11
    desktop-file-utils appstream dpkg-dev file lintian reuse git clang-format
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

configure_and_build() {  # build-dir [extra cmake args...]
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja -DPOKOPIN_WERROR=ON "$@"
    cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
    play)
        install_missing
        configure_and_build "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
        exec "$build/pokopin/pokopin"
        ;;
    build)
        install_missing
        configure_and_build "$build" -DCMAKE_BUILD_TYPE=Release
        ;;
    test)
        install_missing
        # Every file carries its licence and copyright (REUSE), and every C and
        # C++ file is laid out in the house style (.clang-format).
        (cd "$root" && reuse lint)
        (cd "$root" && git ls-files -z -- '*.c' '*.h' '*.cpp' | xargs -0 -r clang-format --dry-run -Werror)
        configure_and_build "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
        ctest --test-dir "$build" --output-on-failure -j "$jobs"
        configure_and_build "$asan_build" -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DPOKOPIN_SANITIZE=ON
        ctest --test-dir "$asan_build" --output-on-failure -j "$jobs"
        ;;
    package)
        install_missing
        configure_and_build "$build" -DCMAKE_BUILD_TYPE=Release
        (cd "$build" && cpack -G DEB)
        lintian --fail-on error,warning "$build"/pokopin_*.deb
        ;;
    *)
        echo "usage: bash tools/dev.sh play|test|build|package" >&2
        exit 2
        ;;
esac
