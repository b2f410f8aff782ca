#!/bin/bash

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Screenshots the help page in headless Chromium at the width of the game's
# window (640 px), so that its layout can be looked at without a desktop.
#
# Usage: tools/help_screenshot.sh [HELP_HTML [OUT_PNG [WIDTH]]]
#   HELP_HTML  default: assets/help/Help.html
#   OUT_PNG    default: /tmp/pokopin-help.png
#   WIDTH      default: 640
#
# The whole page is captured: the window is made taller than the page and
# the empty space below the page is cut off. Installs Debian's chromium when
# it is missing and the command runs as root.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
page="$(realpath "${1:-$root/assets/help/Help.html}")"
out="${2:-/tmp/pokopin-help.png}"
width="${3:-640}"
tall=6000

if ! command -v chromium >/dev/null 2>&1; then
    if [[ $(id -u) -ne 0 ]]; then
        echo "help_screenshot: chromium is missing; install: apt-get install chromium" >&2
        exit 1
    fi
    apt-get install -y chromium >/dev/null 2>&1 || { apt-get update >/dev/null && apt-get install -y chromium >/dev/null; }
fi
command -v convert >/dev/null 2>&1 || { echo "help_screenshot: ImageMagick's convert is missing" >&2; exit 1; }

profile="$(mktemp -d /tmp/pokopin-chromium.XXXXXX)"
trap 'rm -rf "$profile"' EXIT
raw="$profile/shot.png"

chromium --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --force-device-scale-factor=1 \
    --user-data-dir="$profile" --window-size="$width,$tall" \
    --screenshot="$raw" "file://$page" >/dev/null 2>&1

[[ -s "$raw" ]] || { echo "help_screenshot: chromium wrote no screenshot" >&2; exit 1; }

# The page's own background shows below the end of the page: frame the shot
# in that colour so that -trim cuts exactly that empty band.
background="$(convert "$raw" -crop 1x1+0+$((tall - 1)) -format '%[hex:p{0,0}]' info:)"
convert "$raw" -bordercolor "#$background" -border 1 -trim +repage "$out"
geometry="$(identify -format '%wx%h' "$out")"
echo "help page $page -> $out ($geometry px)"
