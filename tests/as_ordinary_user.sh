#!/usr/bin/env bash
# Runs a test program as an ordinary user (nobody) when the tests run as
# root, so the writers' fault tests are seen to pass both ways. Exit 77 (a
# skip) with the reason when that cannot be done here.
# usage: tests/as_ordinary_user.sh PROGRAM [ARGUMENTS...]
set -u
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: already an ordinary user; the tests ran as this user"
  exit 77
fi
if ! command -v setpriv > /dev/null; then
  echo "skipped: setpriv (util-linux) is not installed"
  exit 77
fi
as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/tmp TMPDIR=/tmp)
if ! "${as_user[@]}" test -x "$1"; then
  echo "skipped: user nobody cannot reach $1 (a folder on its path is closed to other users)"
  exit 77
fi
exec "${as_user[@]}" "$@"
