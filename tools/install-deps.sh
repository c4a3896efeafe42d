#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the GUI need, when
# they are missing. Uses sudo when not run as root. "install-deps.sh fuzz"
# installs clang and its libFuzzer runtime for make fuzz instead.
set -euo pipefail
if [ "${1:-}" = fuzz ]; then
  packages=(cmake ninja-build make clang libclang-rt-dev libgtest-dev libgmock-dev)
else
  packages=(cmake ninja-build g++ make qt6-base-dev libgl-dev libgtest-dev libgmock-dev
            libbenchmark-dev libtiff-dev xvfb xauth fonts-dejavu-core fonts-liberation)
fi
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
