#!/usr/bin/env bash
# Checks the Debian package as a new user meets it: lintian, the desktop
# entries and the AppStream data; then installs it with apt in a clean
# Debian 12 root, starts both programs from their desktop entries' commands
# under Xvfb, and runs the command-line companions there.
#
#   tools/package-check.sh [BUILD_DIR]        (make package-check)
#
# Needs root (chroot, mounts) and, the first time, the Debian mirror that this
# machine's apt uses (DEBIAN_MIRROR overrides it). TARNEL_CHROOT (default
# /var/tmp/tarnel-package-check) keeps a pristine debootstrap of bookworm in
# base/, made once, and the root of each check in root/, made anew from base/.
# Screenshots and logs go to TARNEL_CHROOT/results/.
# shellcheck disable=SC2016  # dpkg-query formats are single-quoted on purpose
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
chroot_dir=${TARNEL_CHROOT:-/var/tmp/tarnel-package-check}
base=$chroot_dir/base
root=$chroot_dir/root
results=$chroot_dir/results
display=:${TARNEL_CHECK_DISPLAY:-57}
user=player

failures=0
step() { printf '\n== %s\n' "$*"; }
ok() { printf 'ok: %s\n' "$*"; }
bad() {
  printf 'FAILED: %s\n' "$*"
  failures=$((failures + 1))
}

[ "$(id -u)" -eq 0 ] || { echo "package-check needs root (chroot and mounts)" >&2; exit 2; }
case "$chroot_dir" in "$repo"|"$repo"/*) echo "TARNEL_CHROOT must lie outside the repository" >&2; exit 2 ;; esac
shopt -s nullglob
debs=("$build"/tarnel_*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "expected one tarnel_*.deb in $build (make package)" >&2; exit 2; }
deb=${debs[0]}
for tool in lintian appstreamcli desktop-file-validate debootstrap Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing $tool: tools/install-deps.sh package-check" >&2; exit 2; }
done
mkdir -p "$results"
rm -f "$results"/*

# ---- The package itself --------------------------------------------------
step "lintian $(basename "$deb")"
lintian --info "$deb" 2>/dev/null | tee "$results/lintian.txt" || true
if grep -q '^E:' "$results/lintian.txt"; then bad "lintian reports errors"; else ok "lintian: no error"; fi

step "desktop entries and AppStream data"
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
check() {  # check DESCRIPTION COMMAND...: ok or FAILED by the command's status
  if "${@:2}"; then ok "$1"; else bad "$1"; fi
}
check "desktop-file-validate" desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
check "appstreamcli validate" appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.xml
rm -rf "$unpacked"

# ---- A clean Debian 12 root ----------------------------------------------
mirror() {
  if [ -n "${DEBIAN_MIRROR:-}" ]; then echo "$DEBIAN_MIRROR"; return; fi
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    awk '/^URIs:/ { uri = $2 } /^Suites:/ && / bookworm( |$)/ && uri { print uri; exit }' "$f"
  done | head -n 1
  [ -f /etc/apt/sources.list ] &&
    awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list
}

if [ ! -x "$base/usr/bin/apt-get" ]; then
  step "debootstrap bookworm (minbase) into $base"
  url=$(mirror | head -n 1)
  [ -n "$url" ] || { echo "no Debian mirror found; set DEBIAN_MIRROR" >&2; exit 2; }
  rm -rf "$base.tmp"
  debootstrap --variant=minbase bookworm "$base.tmp" "$url" > "$chroot_dir/debootstrap.log"
  mv "$base.tmp" "$base"
fi

mounted=()
pids=()
cleanup() {
  local p m
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for ((m = ${#mounted[@]} - 1; m >= 0; m--)); do umount -l "${mounted[m]}" 2>/dev/null || true; done
}
trap cleanup EXIT
mountin() {  # mountin TARGET MOUNT-ARGS...
  mkdir -p "$root$1"
  mount "${@:2}" "$root$1"
  mounted+=("$root$1")
}

step "fresh root from the base"
awk -v r="$root" 'index($2, r) == 1 { print $2 }' /proc/mounts | sort -r | while read -r m; do umount -l "$m"; done
rm -rf "$root"
cp -a "$base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mountin /proc -t proc proc
mountin /dev --bind /dev
mountin /dev/pts --bind /dev/pts
[ -d /tmp/.X11-unix ] || install -d -m 1777 /tmp/.X11-unix
mountin /tmp/.X11-unix --bind /tmp/.X11-unix
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
as_user() {
  chroot --userspec=$user:$user "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/$user USER=$user \
    LANG=C.UTF-8 DISPLAY="$display" "$@"
}
before=$(in_root dpkg-query -W -f='${Package}\n' | wc -l)

step "apt install ./$(basename "$deb") in the clean root"
mkdir -p "$root/tmp/pkg"
cp "$deb" "$root/tmp/pkg/"
in_root apt-get update -qq
if chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
     sh -c "cd /tmp/pkg && apt-get install -y -q ./$(basename "$deb")" > "$results/apt-install.txt" 2>&1; then
  after=$(in_root dpkg-query -W -f='${Package}\n' | wc -l)
  ok "installed with $((after - before - 1)) dependencies; $(in_root dpkg-query -W -f='${Package} ${Version}' tarnel)"
else
  tail -n 20 "$results/apt-install.txt"
  bad "apt install"
  exit 1
fi

step "command-line companions as a new user"
in_root useradd -m -s /bin/sh $user
samples=/usr/share/tarnel/samples
check "tarnel-cli --version: $(as_user tarnel-cli --version)" as_user tarnel-cli --version
check "orvik-cli --version: $(as_user orvik-cli --version)" as_user orvik-cli --version
check "tarnel-cli --help exits 0" as_user sh -c "tarnel-cli --help > /dev/null"
for f in vn3_crossing.dat v11_ridge.dat v10_border.dat SAVE01.DAT SCEN02.DAT; do
  check "tarnel-cli info and resave of $f give the same bytes" \
    as_user sh -c "tarnel-cli info $samples/$f > /dev/null && tarnel-cli resave $samples/$f ~/$f && cmp $samples/$f ~/$f"
done
check "tarnel-cli summary of SAVE01.DAT, side 1, counts men at start" \
  as_user sh -c "tarnel-cli summary $samples/SAVE01.DAT 1 | grep -q '^Men  [1-9]'"
check "orvik-cli wrote the stand-in's icon list" \
  as_user orvik-cli write /usr/share/orvik/samples/varno_stand_in.exe 00000300060009 /home/$user/VN3IL.CSV

# ---- The programs under Xvfb, started by their desktop entries' commands --
step "desktop entries' commands under Xvfb $display"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -ac > "$results/xvfb.txt" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display

exec_of() {  # the Exec command of an installed desktop entry, %f given $2
  sed -n 's/^Exec=//p' "$root/usr/share/applications/$1" | head -n 1 | sed "s|%f|$2|"
}
wait_window() {  # wait_window NAME-REGEX: the window's id, or nothing after 20 s
  timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true
}
shot() { import -window root "$results/$1.png"; }

tarnel_cmd=$(exec_of org.tarnel.Tarnel.desktop "$samples/vn3_crossing.dat")
echo "Tarnel: $tarnel_cmd"
# shellcheck disable=SC2086
as_user $tarnel_cmd > "$results/tarnel.txt" 2>&1 &
pids+=($!)
# A first run finds no KOB files beside /usr/bin and nothing remembered: one
# warning per side, answered as the user would.
warnings=0
for _ in 1 2; do
  w=$(wait_window '^Warning$')
  [ -n "$w" ] || break
  [ $warnings -eq 0 ] && shot tarnel-first-warning
  warnings=$((warnings + 1))
  xdotool windowfocus "$w" key Return
  sleep 0.5
done
echo "warnings answered: $warnings"
w=$(wait_window '^Varno Editor$')
if [ -n "$w" ]; then
  sleep 1
  shot tarnel-started
  ok "Tarnel's window \"Varno Editor\" is up (screenshot tarnel-started.png)"
else
  bad "Tarnel's window did not appear"; cat "$results/tarnel.txt"
fi
kill "${pids[-1]}" 2>/dev/null || true

# The next run, with the samples' folder remembered as "Locate MOB Files"
# keeps it, finds the KOB files there and warns no more.
mkdir -p "$root/home/$user/.config/Tarnel"
printf '[General]\nmobDirectory=%s/\n' "$samples" > "$root/home/$user/.config/Tarnel/Tarnel.conf"
chown -R --reference="$root/home/$user" "$root/home/$user/.config"
# shellcheck disable=SC2086
as_user $tarnel_cmd > "$results/tarnel-second.txt" 2>&1 &
pids+=($!)
w=$(wait_window '^(Varno Editor|Warning)$')
if [ -n "$w" ] && [ "$(xdotool getwindowname "$w")" = "Varno Editor" ]; then
  ok "the second run, with the MOB folder remembered, starts without a warning"
else
  bad "the second run did not start quietly"
fi
kill "${pids[-1]}" 2>/dev/null || true

orvik_cmd=$(exec_of org.tarnel.Orvik.desktop "")
echo "Orvik: $orvik_cmd"
# shellcheck disable=SC2086
as_user $orvik_cmd > "$results/orvik.txt" 2>&1 &
pids+=($!)
w=$(wait_window '^Orvik ')
if [ -n "$w" ]; then
  sleep 1
  shot orvik-started
  ok "Orvik's window is up (screenshot orvik-started.png)"
else
  bad "Orvik's window did not appear"; cat "$results/orvik.txt"
fi
kill "${pids[-1]}" 2>/dev/null || true

# ---- What a file manager sees --------------------------------------------
step "the game-file type in a desktop's MIME database"
in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -q shared-mime-info desktop-file-utils libglib2.0-bin' \
  > "$results/apt-desktop.txt" 2>&1
for f in vn3_crossing.dat v11_ridge.dat v10_border.dat SAVE01.DAT; do
  type=$(as_user gio info -a standard::content-type "$samples/$f" | sed -n 's/.*standard::content-type: //p')
  check "$f is application/x-varno-game ($type)" test "$type" = application/x-varno-game
done
# The magic alone, for a file without the extension.
for f in vn3_crossing v11_ridge; do
  cp "$root$samples/$f.dat" "$root/home/$user/$f"
  type=$(as_user gio info -a standard::content-type "/home/$user/$f" | sed -n 's/.*standard::content-type: //p')
  check "$f without .dat is application/x-varno-game by its magic ($type)" test "$type" = application/x-varno-game
done
as_user gio mime application/x-varno-game | tee "$results/gio-mime.txt"
check "Tarnel is offered for game files" grep -q org.tarnel.Tarnel.desktop "$results/gio-mime.txt"

step "result"
echo "screenshots and logs: $results"
if [ $failures -eq 0 ]; then echo "package-check: all passed"; else echo "package-check: $failures failed"; exit 1; fi
