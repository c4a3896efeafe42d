#!/usr/bin/env bash
# Remakes docs/*.png, the screenshots of every window, under Xvfb with the
# X11 platform, from the bundled samples.
#   tools/screenshots.sh [BUILD_DIR] [NAME...]     (make screenshots)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
shift $(( $# > 0 ? 1 : 0 ))
cmake --build "$build" --target screenshots tarnel > /dev/null
cd "$repo"
QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' \
  "$build/tools/screenshots" "$build/tarnel" docs "$@"
