#!/usr/bin/env bash
# Runs the given Windows test programs once per screen resolution, under the
# project's Wine prefix:  at_each_dpi.sh <source dir> <test dir> "<dpi> ..." <gtest filter> <exe> ...
# Wine reads the resolution (HKCU\Control Panel\Desktop, LogPixels) when its
# server starts, so the server is restarted for each one. At the end, whatever
# happened, the prefix is set back to 96 DPI and restarted, so the tests that
# follow see the screen they expect. Every test program is told the resolution
# it must find (DRAVIK_EXPECT_DPI) and fails when it finds another.
set -uo pipefail
source_dir=$1 test_dir=$2 dpis=$3 filter=$4
shift 4
source "$source_dir/tools/wine-env"

desktop_key='HKCU\Control Panel\Desktop'
set_dpi() {
  wine reg add "$desktop_key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
    { echo "at_each_dpi: could not set LogPixels to $1" >&2; return 1; }
}
restart_wine() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  start_wine
}
back_to_96() {
  set_dpi 96
  restart_wine
}
trap back_to_96 EXIT

ensure_display || exit 1
start_wine
status=0
for dpi in $dpis; do
  set_dpi "$dpi" || { status=1; continue; }
  restart_wine
  for exe in "$@"; do
    echo "== $exe at $dpi DPI"
    # Through a file, not a pipe: when this program is the one that starts the
    # Wine server, the server and its services inherit its output and keep a
    # pipe open long after the program has ended.
    out="$test_dir/at_each_dpi.out"
    DRAVIK_EXPECT_DPI=$dpi wine "$test_dir/$exe.exe" --gtest_filter="$filter" </dev/null >"$out" 2>&1
    code=$?
    grep -v 'wine32 is missing\|multiarch\|dpkg --add-architecture\|apt-get install wine32' "$out"
    [ "$code" -eq 0 ] || status=1
  done
done
exit $status
