#!/usr/bin/env bash
# Builds Lua for 64-bit Windows from Debian's own source package, the version
# of the host's liblua5.4-dev, as C++ (as Debian's liblua5.4-c++: a script's
# error unwinds the C++ frames between), into a static library in a cache
# outside the repository. Does nothing when the cache holds it; seconds.
#   TARNEL_CACHE  cache folder (default ~/.cache/tarnel)
# Prints the prefix (include/, lib/liblua54.a) on its last line.
set -euo pipefail
cache=${TARNEL_CACHE:-$HOME/.cache/tarnel}
mingw=x86_64-w64-mingw32
version=$(dpkg-query -W -f='${Version}' liblua5.4-dev)
prefix=$cache/lua5.4-win64-${version}
if [ -f "$prefix/lib/liblua54.a" ] && [ -f "$prefix/include/lua.hpp" ]; then echo "$prefix"; exit 0; fi

mkdir -p "$cache"
log=$cache/lua-build.log
src=$cache/lua-src
# Debian's source package; apt-get source needs a deb-src line for the same
# archive as the deb one (build-qt.sh adds the same line).
if [ ! -d "$src/lua-src/src" ]; then
  if ! apt-get source --print-uris lua5.4="$version" >/dev/null 2>&1; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    uris=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
    uris=${uris:-http://deb.debian.org/debian}
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm bookworm-updates bookworm-security\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uris" | $sudo tee /etc/apt/sources.list.d/tarnel-deb-src.sources >/dev/null
    $sudo apt-get update -qq
  fi
  rm -rf "$src" && mkdir -p "$src"
  (cd "$src" && apt-get source -qq --download-only lua5.4="$version" && dpkg-source -x ./*.dsc lua-src) >>"$log" 2>&1 ||
    { echo "Lua source download failed; see $log" >&2; tail -n 20 "$log" >&2; exit 1; }
fi

build=$cache/lua-win64-build
rm -rf "$build" && mkdir -p "$build"
objects=()
for c in "$src"/lua-src/src/*.c; do
  name=$(basename "$c" .c)
  # The stand-alone interpreter and compiler are programs of their own.
  [ "$name" = lua ] || [ "$name" = luac ] && continue
  nice "$mingw-g++-posix" -x c++ -std=c++17 -O2 -DNDEBUG -c "$c" -o "$build/$name.o" >>"$log" 2>&1 ||
    { echo "Lua build failed at $name.c; see $log" >&2; tail -n 20 "$log" >&2; exit 1; }
  objects+=("$build/$name.o")
done
mkdir -p "$prefix/lib" "$prefix/include"
rm -f "$prefix/lib/liblua54.a"
"$mingw-ar" rcs "$prefix/lib/liblua54.a" "${objects[@]}"
for h in lua.h luaconf.h lualib.h lauxlib.h lua.hpp; do cp "$src/lua-src/src/$h" "$prefix/include/"; done
echo "$prefix"
