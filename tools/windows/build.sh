#!/usr/bin/env bash
# make windows: cross-compiles Tarnel, Orvik and their command-line companions
# for 64-bit Windows, packs $BUILD_WIN/tarnel-<version>-win64.zip (portable)
# and makes the installer $BUILD_WIN/tarnel-<version>-setup.exe with NSIS.
#   BUILD_WIN     build folder (default build-win)
#   TARNEL_CACHE  where Qt for Windows is built and kept (default ~/.cache/tarnel)
#   JOBS          parallel compile jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${BUILD_WIN:-build-win}
jobs=${JOBS:-2}
cache=${TARNEL_CACHE:-$HOME/.cache/tarnel}
mingw=x86_64-w64-mingw32

tools/install-deps.sh windows
JOBS=$jobs TARNEL_CACHE=$cache tools/windows/build-qt.sh
lua=$(TARNEL_CACHE=$cache tools/windows/build-lua.sh | tail -n 1)
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt=$cache/qt6-win64-${version%%+*}

# Qt's qt-cmake chain-loads the toolchain file, this checkout's.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/tools/windows/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTARNEL_GTEST_SOURCE=/usr/src/googletest -DTARNEL_LUA_PREFIX="$lua" --no-warn-unused-cli "${launcher[@]}" >/dev/null
nice cmake --build "$build" -j"$jobs"

app_version=$(sed -n 's/^project(TarnelOrvik VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=tarnel-$app_version-win64
stage=$build/$name
rm -rf "$stage" "$build/$name.zip"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/samples"
cp "$build/tarnel.exe" "$build/orvik.exe" "$build/tarnel-cli.exe" "$build/orvik-cli.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
[ -f "$qt/plugins/styles/qwindowsvistastyle.dll" ] && cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
rmdir "$stage/styles" 2>/dev/null || true

# Every DLL the programs and plugins import that Qt or MinGW provides, and
# what those import in turn; the rest are Windows' own.
gcc_dir=$(dirname "$($mingw-g++-posix -print-libgcc-file-name)")
search=("$qt/bin" "$gcc_dir" "/usr/$mingw/lib" "/usr/$mingw/bin")
queue=("$stage"/*.exe "$stage"/platforms/*.dll)
[ -d "$stage/styles" ] && queue+=("$stage"/styles/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}; queue=("${queue[@]:1}")
  for dll in $($mingw-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$stage/$dll" ] && continue
    for dir in "${search[@]}"; do
      if [ -f "$dir/$dll" ]; then cp "$dir/$dll" "$stage/"; queue+=("$stage/$dll"); break; fi
    done
  done
done
# Debug information stays out of the zip.
$mingw-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/platforms/*.dll
[ -d "$stage/styles" ] && $mingw-strip --strip-unneeded "$stage"/styles/*.dll

# The help file and the MOB files beside the programs, as in a game
# installation; the samples in their own folder, with theirs.
cp tarnel/help/Tarnel.hlp samples/MOB03 samples/MOB07 samples/KOB03 samples/KOB07 "$stage/"
cp -r samples/* "$stage/samples/"
sed "s/@VERSION@/$app_version/g" tools/windows/README.txt | sed 's/$/\r/' >"$stage/README.txt"
# The help once more under a name a web browser opens (the Start menu's
# Tarnel Help).
cp tarnel/help/Tarnel.hlp "$stage/Tarnel Help.html"
# The zip's Tarnel is portable: it keeps its settings in this file.
: >"$stage/portable.ini"

(cd "$build" && rm -f "$name.zip" && zip -q -r -X "$name.zip" "$name")
echo "$build/$name.zip: $(du -k "$build/$name.zip" | cut -f1) KiB packed, $(du -sk "$stage" | cut -f1) KiB unpacked"

# The installer installs the zip's files but portable.ini; the uninstaller
# deletes the same list, so files a user saved among them stay.
start=$SECONDS
abs_build=$(cd "$build" && pwd)
nsis_path() { local p=${1//\$/\$\$}; printf '%s' "${p//\//\\}"; }
(cd "$stage" && find . -type f ! -name portable.ini | sed 's|^\./||' | LC_ALL=C sort) >"$build/installer-files.txt"
{
  dir=""
  while IFS= read -r f; do
    d=$(dirname "$f")
    if [ "$d" != "$dir" ]; then
      if [ "$d" = . ]; then echo 'SetOutPath "$INSTDIR"'; else echo "SetOutPath \"\$INSTDIR\\$(nsis_path "$d")\""; fi
      dir=$d
    fi
    echo "File \"$abs_build/$name/${f//\$/\$\$}\""
  done <"$build/installer-files.txt"
} >"$build/files.nsh"
{
  while IFS= read -r f; do echo "Delete \"\$INSTDIR\\$(nsis_path "$f")\""; done <"$build/installer-files.txt"
  # Folders deepest first; RMDir leaves a folder that still holds a file.
  (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r) |
    while IFS= read -r d; do echo "RMDir \"\$INSTDIR\\$(nsis_path "$d")\""; done
} >"$build/unfiles.nsh"
setup=$build/tarnel-$app_version-setup.exe
rm -f "$setup"
makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$app_version" -DBUILD="$abs_build" -DOUTFILE="$abs_build/tarnel-$app_version-setup.exe" \
  tools/windows/installer.nsi
echo "$setup: $(du -k "$setup" | cut -f1) KiB, made in $((SECONDS - start)) s"
