#!/usr/bin/env bash
# The installer and the portable zip under Wine, in a fresh Wine prefix with
# a home folder of its own (make windows-check runs it from check.sh, with an
# X server on DISPLAY):
#   tools/windows/check-installer.sh BUILD_WIN
# 0. the four programs carry an icon and a version resource;
# 1. the zip's Tarnel, portable.ini beside it, opens a game and closes, and
#    the registry is as before: no key of Tarnel's;
# 2. a silent install for the current user (the default): its files byte for
#    byte, its Start menu and desktop shortcuts, its registry keys (uninstall
#    entry, "Open with" for .dat files beside another program's default),
#    nothing else on the drive; the installed tarnel.exe started through the
#    "Open with" command line on a game (screenshot docs/windows_installed.png);
#    the silent uninstall (the entry's QuietUninstallString) leaves the
#    registry and the drive as before the install, but for a saved game in
#    the user's Documents and one the user put among the samples;
# 3. the same for all users, into a folder given by /D=, without the
#    optional desktop shortcut.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
win=$(cd "${1:-build-win}" && pwd)
setup=$(ls "$win"/tarnel-*-setup.exe)
zip=$(ls "$win"/tarnel-*-win64.zip)
name=$(basename "$zip" .zip)
version=$(basename "$setup" -setup.exe); version=${version#tarnel-}
stage=$win/$name
listed=$win/installer-files.txt

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
# same WHAT EXPECTED ACTUAL: the two files alike, else their difference shown.
same() {
  if cmp -s "$2" "$3"; then pass "$1"; else fail "$1"; diff "$2" "$3" | head -20; fi
}

work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
# Wine links the user's Desktop and Documents to the home folder's.
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
mkdir -p "$HOME/Desktop" "$HOME/Documents"
wineboot -i >/dev/null 2>&1
wineserver -w
drive=$WINEPREFIX/drive_c
winvar() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
# winepath names C: through dosdevices; the checks name it drive_c.
unixpath() { winepath -u "$1" 2>/dev/null | sed "s|^$WINEPREFIX/dosdevices/c:|$drive|"; }
# names LNK PATH: the shortcut names the path (as its target or icon).
names() { local text; text=$({ strings -a "$1"; strings -el "$1"; } 2>/dev/null) && grep -qiF "$2" <<<"$text"; }

# Another program is the default for .dat files; installing must not change it.
other_default=OtherEditor.dat
wine reg add 'HKCU\Software\Classes\.dat' /ve /d "$other_default" /f >/dev/null
wine reg add 'HKLM\Software\Classes\.dat' /ve /d "$other_default" /f >/dev/null
# The folder the user keeps games in, for the install given by /D=.
mkdir -p "$drive/Games"

# snapshot NAME: HKCU and HKLM\Software as text in NAME.registry, without
# what Wine itself changes at will; the drive's folders and files, but the
# temporary ones and Windows' own, in NAME.files.
snapshot() {
  local hive
  for hive in HKCU 'HKLM\Software'; do
    wine reg export "$hive" "$work/export.reg" /y >/dev/null
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' |
      awk '/^\[/ { skip = ($0 ~ /Temporary System Parameters|NetworkCards|\\Software\\Wine\\/) } !skip'
  done >"$work/$1.registry"
  (cd "$drive" && find . ! -path './windows/*' ! -path './windows' ! -path './users/*/Temp/*' | LC_ALL=C sort) \
    >"$work/$1.files"
}
# added BEFORE AFTER: the lines AFTER has and BEFORE lacks.
added() { LC_ALL=C comm -13 "$work/$1" "$work/$2"; }

# query KEY VALUE: the data of a registry value ("" when it is missing).
query() {
  local args=(/v "$2")
  [ "$2" = "" ] && args=(/ve)
  wine reg query "$1" "${args[@]}" 2>/dev/null | tr -d '\r' | sed -n 's/^ *[^ ].*  *REG_[A-Z_]*  *//p' | head -1 || true
}
no_key() { ! wine reg query "$1" >/dev/null 2>&1; }

# window PROGRAM PNG ARGS...: starts the program, waits for its main window,
# takes the screen into PNG (or not, when PNG is -), closes the window with
# Alt+F4 as a user would and waits for Wine to end.
window() {
  local program=$1 png=$2; shift 2
  (cd "$HOME/Documents" && exec wine "$program" "$@" >/dev/null 2>&1) &
  local pid=$! started=$SECONDS id=""
  while [ $((SECONDS - started)) -lt 60 ] && [ -z "$id" ]; do
    sleep 1
    id=$(xdotool search --onlyvisible --name "Varno Editor" 2>/dev/null | head -1 || true)
  done
  if [ -z "$id" ]; then
    fail "$(basename "$program") $*: no window within 60 s"
    wineserver -k 2>/dev/null || true
  else
    sleep 3
    [ "$png" != - ] && import -window root "$png"
    pass "$(basename "$program") $*: window after $((SECONDS - started)) s$([ "$png" != - ] && echo ", $png")"
    xdotool windowactivate --sync "$id" key --clearmodifiers alt+F4 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
  wineserver -w
}

echo "== icons and version resources"
for program in tarnel orvik tarnel-cli orvik-cli; do
  resources=$(wrestool -l "$stage/$program.exe" 2>/dev/null || true)
  strings=$(wrestool -x --raw --type=16 "$stage/$program.exe" 2>/dev/null | strings -el | paste -sd'|' || true)
  check "$program.exe: icon IDI_ICON1, version $version" \
    test -n "$(grep "name='IDI_ICON1'" <<<"$resources")" -a -n "$(grep -F "|FileVersion|$version|" <<<"$strings")" \
      -a -n "$(grep -F "|ProductVersion|$version|" <<<"$strings")"
done

echo "== the zip's portable Tarnel writes no registry key"
mkdir -p "$HOME/Documents/stick"
(cd "$HOME/Documents/stick" && unzip -q "$zip")
portable=$HOME/Documents/stick/$name
check "the zip holds portable.ini" test -f "$portable/portable.ini"
cp "$repo/samples/vn3_crossing.dat" "$HOME/Documents/crossing.dat"
snapshot portable-before
window "$portable/tarnel.exe" - "$(winepath -w "$HOME/Documents/crossing.dat")"
snapshot portable-after
check "no key HKCU\\Software\\Tarnel" no_key 'HKCU\Software\Tarnel'
same "the registry as before" "$work/portable-before.registry" "$work/portable-after.registry"
rm -rf "$HOME/Documents/stick"

# round MODE PNG "SETUP ARGUMENTS": installs silently, checks, starts Tarnel
# through "Open with", uninstalls silently, checks. The arguments go to the
# installer as typed at a command prompt, through a batch file: /D= must be
# the last, unquoted even with blanks, which wine would quote.
round() {
  local mode=$1 png=$2 arguments=$3
  local desktop_shortcut=no
  [[ " $arguments " == *" /DesktopShortcut "* ]] && desktop_shortcut=yes
  local hive=HKCU root programs desktop
  if [ "$mode" = AllUsers ]; then
    hive=HKLM
    programs=$(unixpath "$(winvar ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs")
    desktop=$(unixpath "$(winvar PUBLIC)\\Desktop")
  else
    programs=$(unixpath "$(winvar APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
    desktop=$HOME/Desktop
  fi
  local uninstall_key="$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnel"
  local classes="$hive\\Software\\Classes"
  echo "== silent install, $mode: setup.exe $arguments"
  # The user's own saved game, which no uninstall may touch.
  cp "$repo/samples/vn3_crossing.dat" "$HOME/Documents/my campaign.dat"
  snapshot before
  printf '"%s" %s\r\n' "$(winepath -w "$setup")" "$arguments" >"$work/install.bat"
  wine cmd /c "$(winepath -w "$work/install.bat")" >/dev/null 2>&1 || true
  wineserver -w   # wine returns before the installer ends
  snapshot installed

  local location
  location=$(query "$uninstall_key" InstallLocation)
  root=$(unixpath "$location")
  check "$mode: installed into $location" test -n "$location" -a -f "$root/tarnel.exe"
  if [[ "$arguments" == *"/D="* ]]; then
    check "$mode: into the folder given by /D=" test "$location" = "${arguments##*/D=}"
  fi
  local missing=0 differ=0 f
  while IFS= read -r f; do
    if [ ! -f "$root/$f" ]; then missing=$((missing + 1)); elif ! cmp -s "$stage/$f" "$root/$f"; then differ=$((differ + 1)); fi
  done <"$listed"
  check "$mode: the $(wc -l <"$listed") files of the zip but portable.ini, byte for byte ($missing missing, $differ differ)" \
    test "$missing$differ" = 00
  check "$mode: no portable.ini installed" test ! -e "$root/portable.ini"
  check "$mode: the uninstaller installed" test -f "$root/uninstall.exe"

  # Shortcuts: each names its target.
  local lnk target
  for lnk in "Tarnel:tarnel.exe" "Orvik:orvik.exe" "Tarnel Help:Tarnel Help.html" "Uninstall Tarnel:uninstall.exe"; do
    target=${lnk#*:}; lnk=${lnk%%:*}
    check "$mode: Start menu shortcut \"$lnk\" to $target" names "$programs/Tarnel/$lnk.lnk" "$location\\$target"
  done
  if [ $desktop_shortcut = yes ]; then
    check "$mode: desktop shortcut" names "$desktop/Tarnel.lnk" "$location\\tarnel.exe"
  else
    check "$mode: no desktop shortcut unasked" test ! -e "$desktop/Tarnel.lnk"
  fi

  # The drive gained the install, its shortcuts and nothing else.
  local rel_root=./${root#"$drive"/} rel_programs=./${programs#"$drive"/} rel_desktop=./${desktop#"$drive"/}
  {
    echo "$rel_root"; echo "$rel_root/uninstall.exe"
    sed "s|^|$rel_root/|" "$listed"
    (cd "$stage" && find . -mindepth 1 -type d | sed "s|^\\.|$rel_root|")
    echo "$rel_programs/Tarnel"
    for lnk in Tarnel Orvik "Tarnel Help" "Uninstall Tarnel"; do echo "$rel_programs/Tarnel/$lnk.lnk"; done
    if [ $desktop_shortcut = yes ] && [ "$mode" = AllUsers ]; then echo "$rel_desktop/Tarnel.lnk"; fi
    # The known folder of per-user programs, Windows' own (made by the
    # first program installed per user).
    if [ "$mode" = CurrentUser ]; then dirname "$rel_root"; fi
  } | LC_ALL=C sort -u >"$work/expected.all"
  added before.files expected.all >"$work/expected.files"
  added before.files installed.files >"$work/gained.files"
  same "$mode: the drive gained exactly the install and its shortcuts" "$work/expected.files" "$work/gained.files"

  # The entry under Apps & Features.
  check "$mode: DisplayName" test "$(query "$uninstall_key" DisplayName)" = "Tarnel and Orvik"
  check "$mode: DisplayVersion" test "$(query "$uninstall_key" DisplayVersion)" = "$version"
  check "$mode: Publisher" test "$(query "$uninstall_key" Publisher)" = "The Tarnel team"
  check "$mode: DisplayIcon" test "$(query "$uninstall_key" DisplayIcon)" = "$location\\tarnel.exe,0"
  local size files_kib
  size=$(( $(query "$uninstall_key" EstimatedSize) ))
  files_kib=$(cd "$root" && tr '\n' '\0' <"$listed" | xargs -0 stat -c %s | awk '{ k += int(($1 + 1023) / 1024) } END { print k }')
  check "$mode: EstimatedSize $size KiB, the installed files' $files_kib KiB" \
    test $((size * 100)) -ge $((files_kib * 95)) -a $((size * 100)) -le $((files_kib * 105))
  check "$mode: UninstallString" test "$(query "$uninstall_key" UninstallString)" = "\"$location\\uninstall.exe\" /$mode"
  local quiet
  quiet=$(query "$uninstall_key" QuietUninstallString)
  check "$mode: QuietUninstallString" test "$quiet" = "\"$location\\uninstall.exe\" /S /$mode"

  # "Open with": a ProgID among .dat's OpenWithProgids; the default stays.
  check "$mode: .dat lists Tarnel.GameFile under OpenWithProgids" \
    test "$(wine reg query "$classes\\.dat\\OpenWithProgids" /v Tarnel.GameFile 2>/dev/null | grep -c REG_NONE)" = 1
  check "$mode: .dat's default program stays $other_default" test "$(query "$classes\\.dat" "")" = "$other_default"
  local command
  command=$(query "$classes\\Tarnel.GameFile\\shell\\open\\command" "")
  check "$mode: open command $command" test "$command" = "\"$location\\tarnel.exe\" \"%1\""
  # Start it as Explorer would: the command line with the game's path for %1.
  local game="$HOME/Documents/my campaign.dat" exe
  exe=${command#\"}; exe=${exe%%\"*}
  window "$(unixpath "$exe")" "$png" "$(winepath -w "$game")"

  # The user saves a game among the installed samples.
  cp "$repo/samples/v11_ridge.dat" "$root/samples/my own.dat"
  echo "== silent uninstall, $mode: $quiet"
  local uninstaller=${quiet#\"}; uninstaller=${uninstaller%%\"*}
  # shellcheck disable=SC2086
  wine "$(unixpath "$uninstaller")" ${quiet##*\" } >/dev/null 2>&1 || true
  wineserver -w
  snapshot removed
  # Tarnel's own settings (HKCU\Software\Tarnel), which it keeps for the
  # user, are not the installer's.
  local r
  for r in before removed; do
    awk '/^\[/ { skip = ($0 ~ /^\[HKEY_CURRENT_USER\\Software\\Tarnel(\\|\])/) } !skip' "$work/$r.registry" >"$work/$r-own.registry"
  done
  same "$mode: the registry as before the install" "$work/before-own.registry" "$work/removed-own.registry"
  {
    echo "$rel_root"; echo "$rel_root/samples"; echo "$rel_root/samples/my own.dat"
    if [ "$mode" = CurrentUser ]; then dirname "$rel_root"; fi
  } | LC_ALL=C sort -u >"$work/expected.all"
  added before.files expected.all >"$work/expected.files"
  added before.files removed.files >"$work/left.files"
  same "$mode: of the install only the user's game among the samples is left" "$work/expected.files" "$work/left.files"
  check "$mode: the saved game in Documents stays" cmp -s "$game" "$repo/samples/vn3_crossing.dat"
  check "$mode: the game among the samples stays" cmp -s "$root/samples/my own.dat" "$repo/samples/v11_ridge.dat"
  rm -rf "$root" "$game"
}

round CurrentUser "$repo/docs/windows_installed.png" "/S /DesktopShortcut"
round AllUsers - "/S /AllUsers /D=C:\\Games\\Tarnel and Orvik"

if [ "$failures" -gt 0 ]; then
  echo "installer check: $failures failures"
  exit 1
fi
echo "installer check: all passed"
