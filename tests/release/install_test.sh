#!/usr/bin/env bash
# Installs, starts and uninstalls the program with its NSIS installer, silently
# (/S), in a Wine prefix made fresh for the purpose.
#
# Usage: install_test.sh PROGRAM_DIR ICON WORK_DIR
#   PROGRAM_DIR  a built 64-bit program folder (build/win64/program)
#   ICON         its program.ico
#   WORK_DIR     scratch folder; the prefix is removed again when all passed
#
# The Wine here is 64-bit only and runs no 32-bit program, so the shipping
# installer (32-bit stub) cannot run under it. This test builds the same
# installer script with the amd64 stub, which carries only the 64-bit program:
# what it does is what the shipping installer does on 64-bit Windows (the
# 64-bit program into the 64-bit Program Files, the uninstall entry and the
# settings in the 64-bit registry view), from the same file lists, shortcut
# and uninstaller logic.
# Needs an X display (the program must show its main window) and fails without.
set -euo pipefail
program_dir=$(cd "$1" && pwd)
icon=$2
work=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../tools/installer/package.sh"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
die() { echo "FAIL: $*" >&2; exit 1; }

[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 ||
  die "no X display (DISPLAY='${DISPLAY:-}'): the installed program cannot show its window"
command -v wine >/dev/null || die "wine is missing"

mkdir -p "$work"
work=$(cd "$work" && pwd)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stage=$work/stage
setup=$work/setup-amd64.exe
started=$(date +%s)

# --- the test installer, from the same script and lists as the release one
package_stage amd64 "$program_dir" "$stage" || die "could not gather the shipped files"
package_installer amd64 "" "$stage" "$icon" "$setup" || die "makensis could not build the installer"
package_check_installer amd64 "$setup" || die "the installer lacks its version or its administrator request"
mapfile -t shipped < <(package_files "$stage")

# --- a fresh prefix: nothing of an earlier install can hide a fault
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1 || true
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || die "Wine could not create the prefix $WINEPREFIX"
echo "prefix ready after $(( $(date +%s) - started )) s"

c_drive=$WINEPREFIX/drive_c
install_dir="$c_drive/Program Files/Dravik Task Manager"
install_dir_w='C:\Program Files\Dravik Task Manager'
shortcut="$c_drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Dravik Task Manager.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dravik Task Manager'
settings_key='HKLM\SOFTWARE\Dravik Task Manager'

reg_value() { # KEY NAME [/reg:32]: prints the value's data, fails when absent
  wine reg query "$1" /v "$2" ${3:-} 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | grep .
}

install() {
  local rc=0
  wine "$setup" /S || rc=$?
  [ $rc -eq 0 ] || fail "the silent install ended with $rc"
}

# The uninstaller copies itself to %TEMP% and runs from there, so `wine` returns
# before it is done: wait for every process of the prefix to end.
uninstall() {
  local rc=0
  [ -f "$install_dir/uninstall.exe" ] || { fail "no uninstall.exe to run"; return; }
  wine "$install_dir_w\\uninstall.exe" /S "$@" || rc=$?
  [ $rc -eq 0 ] || fail "the silent uninstall ended with $rc"
  timeout 120 wineserver -w || fail "the uninstaller had not ended after 120 s"
}

# --- install
install
mapfile -t present < <(cd "$install_dir" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(printf '%s\n' "${shipped[@]}" uninstall.exe | LC_ALL=C sort)
if [ "$(printf '%s\n' "${present[@]}")" = "$expected" ]; then
  pass "installed exactly the shipped files and the uninstaller (${#present[@]} files)"
else
  fail "installed files differ from the shipped ones:"
  diff <(echo "$expected") <(printf '%s\n' "${present[@]}") >&2 || true
fi
for f in "${shipped[@]}"; do
  cmp -s "$stage/$f" "$install_dir/$f" || fail "$f differs from the shipped copy"
done
[ -f "$shortcut" ] && pass "Start-menu shortcut" || fail "no shortcut at $shortcut"
grep -qa 'draviktm.exe' "$shortcut" 2>/dev/null || fail "the shortcut does not point at draviktm.exe"
[ "$(reg_value "$uninstall_key" DisplayName)" = "Dravik Task Manager" ] || fail "no DisplayName in the uninstall entry"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$(package_version)" ] || fail "DisplayVersion is not $(package_version)"
[ "$(reg_value "$uninstall_key" UninstallString)" = "\"$install_dir_w\\uninstall.exe\"" ] ||
  fail "UninstallString is '$(reg_value "$uninstall_key" UninstallString || true)'"
[ "$(reg_value "$uninstall_key" InstallLocation)" = "$install_dir_w" ] || fail "InstallLocation is wrong"
# 64-bit Windows: the entry in the native view only, where the 64-bit program's settings are too.
reg_value "$uninstall_key" DisplayName /reg:32 >/dev/null &&
  fail "the uninstall entry is in the 32-bit registry view" || pass "the uninstall entry is in the 64-bit view"
size=$(reg_value "$uninstall_key" EstimatedSize || true)
[ -n "$size" ] && [ $((size)) -gt 0 ] && pass "uninstall entry (EstimatedSize $((size)) KB)" || fail "no EstimatedSize"

# --- the installed program starts and shows its main window
wine "$install_dir_w\\draviktm.exe" >/dev/null 2>&1 &
# Its window, told from any other of that title by the process behind it.
installed_window() {
  local window pid
  for window in $(xdotool search --onlyvisible --name '^Dravik Task Manager$' 2>/dev/null); do
    pid=$(xdotool getwindowpid "$window" 2>/dev/null) || continue
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null |
      grep -qi 'Program Files.Dravik Task Manager.draviktm\.exe' && return 0
  done
  return 1
}
shown=no
for _ in $(seq 60); do
  installed_window && { shown=yes; break; }
  sleep 0.5
done
[ $shown = yes ] && pass "the installed program shows its main window" ||
  fail "the installed program showed no main window within 30 s"
# A running copy holds its files open: the silent uninstaller gives up and
# touches nothing. With _?= it runs in place, so its exit code can be read; the
# option must stand unquoted, which only a batch file gives it.
printf '@"%s\\uninstall.exe" /S _?=%s\r\n@exit /b %%errorlevel%%\r\n' "$install_dir_w" "$install_dir_w" \
  >"$c_drive/uninstall_in_place.bat"
rc=0
wine cmd /c 'C:\uninstall_in_place.bat' || rc=$?
mapfile -t kept < <(cd "$install_dir" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ $rc -ne 0 ] && [ "$(printf '%s\n' "${kept[@]}")" = "$expected" ]; then
  pass "uninstalling while the program runs is refused (exit $rc), nothing removed"
else
  fail "uninstalling while the program runs: exit $rc, ${#kept[@]} of $(echo "$expected" | wc -l) files left"
fi
# The program's own settings, as if it had saved them: the uninstaller keeps them.
wine reg add "$settings_key" /v InstallTestMark /d kept /f >/dev/null 2>&1 || fail "could not write the settings key"
wineserver -k 2>/dev/null || true
wineserver -w

# --- silent uninstall removes every installed file and the entry, keeps the settings
uninstall
left=()
for f in "${shipped[@]}" uninstall.exe; do [ -e "$install_dir/$f" ] && left+=("$f"); done
[ ${#left[@]} -eq 0 ] && pass "the uninstall removed every installed file" || fail "left behind: ${left[*]}"
[ ! -e "$install_dir" ] && pass "the program folder is gone" || fail "the program folder is still there"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then fail "the uninstall entry is still there"
else pass "the uninstall entry is gone"; fi
[ "$(reg_value "$settings_key" InstallTestMark || true)" = kept ] &&
  pass "the settings key was left alone" || fail "the settings key was removed without being asked"

# --- a second install; the uninstaller removes only its own files, and the
# settings too when asked (the box the GUI shows, ticked by /REMOVESETTINGS)
install
echo "user's own file" >"$install_dir/my notes.txt"
uninstall /REMOVESETTINGS
remaining=$(cd "$install_dir" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||')
[ "$remaining" = "my notes.txt" ] && pass "a file the user added stays, with its folder" ||
  fail "after the second uninstall the folder holds '$remaining' instead of only the user's file"
if wine reg query "$settings_key" >/dev/null 2>&1; then fail "/REMOVESETTINGS left the settings key"
else pass "/REMOVESETTINGS removed the settings key"; fi
wineserver -k 2>/dev/null || true

echo "install test took $(( $(date +%s) - started )) s"
if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed; the prefix is kept in $WINEPREFIX" >&2
  exit 1
fi
rm -rf "$WINEPREFIX"
echo "all install checks passed"
