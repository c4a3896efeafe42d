#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the GUI need, when
# they are missing. Uses sudo when not run as root. Extra groups:
#   package        what `make package` needs besides the build (dpkg-shlibdeps)
#   package-check  what tools/package-check.sh runs
#   screenshots    what tools/screenshots.sh runs
#   fuzz           clang and its libFuzzer runtime, for make fuzz
#   windows        the MinGW-w64 cross compiler, Wine, NSIS and what builds and checks
#                  the Windows zip and installer (make windows, make windows-check);
#                  rsvg-convert and icotool make the programs' icons
set -euo pipefail
packages=(cmake ninja-build ccache g++ make qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev libtiff-dev nlohmann-json3-dev xvfb xauth fonts-dejavu-core fonts-liberation)
for group in "$@"; do
  case "$group" in
    package) packages+=(dpkg-dev) ;;
    package-check) packages+=(dpkg-dev lintian appstream desktop-file-utils debootstrap xdotool imagemagick) ;;
    screenshots) packages+=(imagemagick) ;;
    fuzz) packages+=(clang libclang-rt-dev) ;;
    windows) packages+=(g++-mingw-w64-x86-64-posix wine64 dpkg-dev zip googletest xdotool imagemagick
                     nsis nsis-doc librsvg2-bin icoutils) ;;
    *) echo "unknown group $group" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
