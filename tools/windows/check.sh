#!/usr/bin/env bash
# make windows-check: checks the Windows zip under Wine.
#   tools/windows/check.sh [LINUX_BUILD]     (BUILD_WIN: the Windows build, default build-win)
# Without a zip in BUILD_WIN (make windows-core-check, a build without Qt) it
# runs 1 to 3 on the build's own programs.
# 1. the core test programs, run from the unpacked zip's folder;
# 2. tarnel-cli.exe and orvik-cli.exe on every sample, their files and output
#    compared byte for byte with the Linux build's;
# 3. saves that must fail (a read-only file, a folder in the way, device
#    names) leave everything as it was, no reader waits on a device, and a
#    save through a symbolic link keeps the link, names beyond ASCII work;
# 4. tarnel.exe and orvik.exe start under Xvfb and show their windows
#    (screenshots docs/windows_tarnel.png and docs/windows_orvik.png);
# 5. the installer and the portable zip (tools/windows/check-installer.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
linux=$(cd "${1:-build}" && pwd)
win=$(cd "${BUILD_WIN:-build-win}" && pwd)
zip=$(ls "$win"/tarnel-*-win64.zip 2>/dev/null || true)
display=${WINE_DISPLAY:-:96}
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wineboot -i >/dev/null 2>&1 || true
if [ -n "$zip" ]; then
  (cd "$work" && unzip -q "$zip")
  app=$(ls -d "$work"/tarnel-*-win64)
  # Test programs and the samples' runs find the zip's DLLs, and only those.
  export WINEPATH=$(winepath -w "$app")
  # Every DLL the programs import is in the zip or is Windows' own.
  system32=$(winepath -u 'C:\windows\system32')
  for f in "$app"/*.exe "$app"/*.dll "$app"/*/*.dll; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p'); do
      # API sets (api-ms-win-..., ext-ms-...) are names the Windows loader
      # maps onto its own DLLs.
      case "${dll,,}" in api-ms-win-* | ext-ms-*) continue ;; esac
      if [ ! -e "$app/$dll" ] && [ ! -e "$system32/${dll,,}" ] && [ ! -e "$system32/$dll" ]; then
        fail "$(basename "$f") needs $dll, which the zip lacks"
      fi
    done
  done
else
  # A build without Qt (make windows-core-check): the companions and the core
  # tests from the build, the MinGW runtime from the cross compiler.
  echo "no zip in $win: the core and the command-line companions only"
  app=$win
  gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
  export WINEPATH="$(winepath -w "$gcc_dir");$(winepath -w /usr/x86_64-w64-mingw32/lib)"
fi

echo "== core tests under Wine"
for t in common_tests tarnel_core_tests orvik_core_tests; do
  if (cd "$work" && timeout 900 wine "$win/$t.exe" --gtest_brief=1 >"$work/$t.log" 2>&1); then
    pass "$t ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$work/$t.log" | head -1))"
  else
    fail "$t"; grep -E '^\[  FAILED|Failure' "$work/$t.log" | head -20
  fi
done

echo "== command-line companions: Windows and Linux give the same bytes"
# Both run in copies of the samples folder with the same relative names.
mkdir -p "$work/lin" "$work/win"
cp -r "$repo"/samples/* "$work/lin/"
cp -r "$repo"/samples/* "$work/win/"
# run SIDE NAME ARGS...: runs a companion in the side's folder, keeping its
# standard output in NAME.out and its exit status in NAME.status.
run() {
  local side=$1 name=$2 program=$3; shift 3
  local status=0
  if [ "$side" = lin ]; then
    (cd "$work/lin" && timeout 120 "$linux/tools/$program" "$@" >"$name.out" 2>/dev/null) || status=$?
    echo "$status" >"$work/lin/$name.status"
  else
    (cd "$work/win" && timeout 120 wine "$app/$program.exe" "$@" >"$name.out" 2>/dev/null) || status=$?
    echo "$status" >"$work/win/$name.status"
  fi
}
compared=0
same() {
  local name=$1; shift
  for f in "$name.out" "$name.status" "$@"; do
    if [ ! -e "$work/lin/$f" ] || ! cmp -s "$work/lin/$f" "$work/win/$f"; then
      fail "$name: $f differs (exit status $(cat "$work/lin/$name.status") on Linux, $(cat "$work/win/$name.status") on Windows)"
      return
    fi
  done
  compared=$((compared + 1))
}
for game in $(cd "$repo/samples" && ls *.dat *.DAT); do
  for side in lin win; do
    run $side "$game.info" tarnel-cli info "$game"
    run $side "$game.resave" tarnel-cli resave "$game" "$game.resaved"
    run $side "$game.dump" tarnel-cli dump "$game" "$game.all"
    run $side "$game.csv" tarnel-cli csv-export "$game" "$game.csv-out"
    run $side "$game.summary0" tarnel-cli summary "$game" 0
    run $side "$game.summary1" tarnel-cli summary "$game" 1
  done
  same "$game.info"
  same "$game.resave" "$game.resaved"
  cmp -s "$repo/samples/$game" "$work/win/$game.resaved" || fail "$game: resaved bytes differ from the sample"
  # A VN2 version 1.0 file has no sections to dump: both refuse it.
  if [ -e "$work/lin/$game.all" ]; then same "$game.dump" "$game.all"; else same "$game.dump"; fi
  same "$game.csv" "$game.csv-out"
  same "$game.summary0"
  same "$game.summary1"
done
for side in lin win; do
  run $side paste tarnel-cli csv-paste vn3_crossing.dat vn3_crossing.csv pasted.dat
  run $side orvik.search orvik-cli search varno_stand_in.exe 00000300060009
  run $side orvik.write orvik-cli write varno_stand_in.exe 00000300060009 VN3IL.CSV
  run $side orvik.vn1 orvik-cli write varno_stand_in.exe D400D700DA00DD VN1IL.CSV
done
same paste pasted.dat
same orvik.search
same orvik.write VN3IL.CSV
same orvik.vn1
pass "$compared comparisons of output, exit status and files"

echo "== failed saves change nothing, device names never wait"
cd "$work/win"
cp vn3_crossing.dat readonly.dat && chmod a-w readonly.dat
run win ro tarnel-cli resave vn3_crossing.dat readonly.dat
[ "$(cat ro.status)" = 1 ] && cmp -s readonly.dat vn3_crossing.dat && pass "read-only file kept" ||
  fail "save over a read-only file (status $(cat ro.status))"
chmod u+w readonly.dat
mkdir -p folder.dat && echo kept >folder.dat/kept.txt
run win folder tarnel-cli resave vn3_crossing.dat folder.dat
[ "$(cat folder.status)" = 1 ] && [ "$(cat folder.dat/kept.txt)" = kept ] && pass "folder in the way kept" ||
  fail "save over a folder (status $(cat folder.status))"
# A symbolic link stays a link; the file it points to gets the bytes.
mkdir -p real && echo old >real/game.dat && ln -sf real/game.dat link.dat
run win link tarnel-cli resave vn3_crossing.dat link.dat
[ "$(cat link.status)" = 0 ] && [ -L link.dat ] && cmp -s real/game.dat vn3_crossing.dat && pass "save through a link" ||
  fail "save through a symbolic link (status $(cat link.status))"
# Names beyond ASCII reach the file system as wide-character names.
cp vn3_crossing.dat "ñandú é.dat"
run win utf8 tarnel-cli resave "ñandú é.dat" "größe ü.dat"
[ "$(cat utf8.status)" = 0 ] && cmp -s "größe ü.dat" vn3_crossing.dat && pass "names beyond ASCII" ||
  fail "resave between names beyond ASCII (status $(cat utf8.status))"
# A colon after the name (CON:, COM1:) is still the device, in a folder too.
for device in CON NUL COM1 con.dat nul.cmt CON: NUL: COM1: 'C:\games\COM1:' "$(winepath -w "$PWD")\\nul:"; do
  run win dev tarnel-cli info "$device"
  [ "$(cat dev.status)" = 1 ] && pass "info $device refused" || fail "info $device (status $(cat dev.status))"
  run win dev tarnel-cli resave vn3_crossing.dat "$device"
  [ "$(cat dev.status)" = 1 ] && pass "resave to $device refused" || fail "resave to $device (status $(cat dev.status))"
done
run win orvikdev orvik-cli write varno_stand_in.exe 00000300060009 CON
[ "$(cat orvikdev.status)" = 1 ] && pass "icon list to CON refused" || fail "icon list to CON"
leftovers=$(ls -a | grep -c '\.tmp-' || true)
[ "$leftovers" = 0 ] && pass "no temporary file left" || fail "$leftovers temporary files left"
cd "$repo"

if [ -z "$zip" ]; then
  [ "$failures" -gt 0 ] && { echo "windows-check: $failures failures"; exit 1; }
  echo "windows-check (core and companions): all passed"
  exit 0
fi

echo "== the programs' windows under Xvfb"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=""
trap 'kill $xvfb $wm 2>/dev/null; rm -rf "$work"' EXIT
sleep 2
export DISPLAY=$display
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
fi
# shot PROGRAM TITLE PNG CLICK ARGS...: starts the program, waits for its
# window, clicks at CLICK ("X Y" in the window, or -), takes the screen and
# closes the program.
shot() {
  local program=$1 title=$2 png=$3 click=$4; shift 4
  (cd "$app/samples" && exec wine "$app/$program" "$@" >/dev/null 2>&1) &
  local pid=$! started=$SECONDS window=""
  while [ $((SECONDS - started)) -lt 60 ] && [ -z "$window" ]; do
    sleep 1
    window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1 || true)
  done
  if [ -z "$window" ]; then
    fail "$program showed no window \"$title\" within 60 s"
  else
    sleep 3
    if [ "$click" != - ]; then
      # shellcheck disable=SC2086
      xdotool mousemove --window "$window" $click click 1
      sleep 2
    fi
    import -window root "$png"
    pass "$program: window \"$title\" after $((SECONDS - started)) s, $png"
  fi
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
# A click on Tarnel's title picture shows the grid of the game it opened.
shot tarnel.exe "Varno Editor" docs/windows_tarnel.png "350 500" vn3_crossing.dat
shot orvik.exe "Orvik" docs/windows_orvik.png -

# 5. the installer and the zip's portable mode, in a Wine prefix of their own.
if [ -n "$(ls "$win"/tarnel-*-setup.exe 2>/dev/null)" ]; then
  tools/windows/check-installer.sh "$win" || fail "the installer's check (above)"
else
  fail "no tarnel-*-setup.exe in $win"
fi

if [ "$failures" -gt 0 ]; then
  echo "windows-check: $failures failures"
  exit 1
fi
echo "windows-check: all passed"
