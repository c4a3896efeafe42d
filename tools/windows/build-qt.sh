#!/usr/bin/env bash
# Builds Qt's base module (Core, Gui, Widgets, the Windows platform plugin and
# style) for 64-bit Windows from Debian's own source package, the version of
# the host Qt, into a cache outside the repository. Does nothing when the
# cache holds them; a build cut short goes on where it stopped.
#   TARNEL_CACHE  cache folder (default ~/.cache/tarnel)
#   JOBS          parallel compile jobs (default 2)
# Runs at the lowest priority; the build log goes to $TARNEL_CACHE/qt-build.log
# and the wall-clock time of each run to $TARNEL_CACHE/qt-build-time.txt.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${TARNEL_CACHE:-$HOME/.cache/tarnel}
jobs=${JOBS:-2}
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%+*}
prefix=$cache/qt6-win64-$upstream
needed=(bin/qt-cmake bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll plugins/platforms/qwindows.dll
        plugins/styles/qwindowsvistastyle.dll lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake)
complete() { for f in "${needed[@]}"; do [ -e "$prefix/$f" ] || return 1; done; }
complete && exit 0

mkdir -p "$cache"
log=$cache/qt-build.log
start=$(date +%s)
echo "Building Qt $upstream for Windows into $prefix (log: $log)"
echo "== run started $(date -u '+%F %T') UTC" >>"$log"

# Debian's source package of the installed version; apt-get source needs a
# deb-src line for the same archive as the deb one.
src=$cache/src
if [ ! -d "$src/qtbase-src" ]; then
  if ! apt-get source --print-uris qt6-base="$version" >/dev/null 2>&1; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    uris=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
    uris=${uris:-http://deb.debian.org/debian}
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uris" | $sudo tee /etc/apt/sources.list.d/tarnel-deb-src.sources >/dev/null
    $sudo apt-get update -qq
  fi
  rm -rf "$src" && mkdir -p "$src"
  (cd "$src" && apt-get source -qq --download-only qt6-base="$version" \
     && dpkg-source -x ./*.dsc qtbase-src) >>"$log" 2>&1
fi

build=$cache/qt6-win64-build
if [ ! -f "$build/build.ninja" ]; then
  rm -rf "$build" && mkdir -p "$build"
  (cd "$build" && nice -n 19 "$src/qtbase-src/configure" -xplatform win32-g++ \
    -device-option CROSS_COMPILE=x86_64-w64-mingw32- -qt-host-path /usr -prefix "$prefix" \
    -release -nomake examples -nomake tests -no-opengl -no-feature-vulkan \
    -no-feature-tabletevent -no-feature-sql -no-feature-network -no-dbus -- \
    -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >>"$log" 2>&1 ||
    { echo "Qt configure failed; see $log" >&2; tail -n 30 "$log" >&2; exit 1; }
fi
# Only what the programs need: the rest of the module (Test, PrintSupport,
# Xml, Concurrent, other plugins) would double the time.
nice -n 19 cmake --build "$build" -j"$jobs" --target Widgets qwindows qwindowsvistastyle EntryPointImplementation \
  >>"$log" 2>&1 || { echo "Qt build failed; see $log" >&2; tail -n 30 "$log" >&2; exit 1; }
# A whole install would ask for the parts not built, so each folder of what
# was built installs on its own (CMAKE_INSTALL_LOCAL_ONLY: without its
# subfolders).
dirs=(. src src/entrypoint src/corelib src/gui src/widgets src/3rdparty src/plugins src/plugins/platforms
      src/plugins/platforms/windows src/plugins/styles src/plugins/styles/windowsvista)
for d in "$build"/src/3rdparty/*/; do dirs+=("src/3rdparty/$(basename "$d")"); done
for d in "${dirs[@]}"; do
  [ -f "$build/$d/cmake_install.cmake" ] || continue
  # A bundled library no module built needs (libjpeg, for the image plugins
  # left out) has nothing to install.
  bundled=$(grep -o 'libQt6Bundled[A-Za-z0-9]*\.a' "$build/$d/cmake_install.cmake" | head -1 || true)
  [ -n "$bundled" ] && [ ! -f "$build/lib/$bundled" ] && continue
  cmake -DCMAKE_INSTALL_LOCAL_ONLY=ON -P "$build/$d/cmake_install.cmake" >>"$log" 2>&1 ||
    { echo "Qt install of $d failed; see $log" >&2; tail -n 30 "$log" >&2; exit 1; }
done
complete || { echo "Qt install lacks some of: ${needed[*]}" >&2; exit 1; }
secs=$(( $(date +%s) - start ))
echo "$secs" >>"$cache/qt-build-time.txt"
echo "== run ended $(date -u '+%F %T') UTC after $secs s" >>"$log"
echo "Qt built in $((secs / 60)) min $((secs % 60)) s"
