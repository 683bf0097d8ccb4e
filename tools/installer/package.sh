# Sourced by tools/release and the install test: how the shipped files are
# gathered, listed for the installer, packed and checked. One copy of each
# rule, so the zip, the installer and the test cannot drift apart.

package_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
package_source=$(cd "$package_dir/../.." && pwd)

package_fail() { echo "package: $*" >&2; return 1; }

# The program's version as the build names it: "2.1" and "2.1.0.0".
package_file_version() {
  sed -n 's/^project(DravikTaskManager VERSION \([0-9.]*\).*/\1/p' "$package_source/CMakeLists.txt"
}
package_version() {
  local v; v=$(package_file_version)
  [ -n "$v" ] || package_fail "no version in CMakeLists.txt" || return 1
  echo "${v%.*.*}"
}

# Copies what ships from a built program folder into STAGE: the program, its
# help, every language file of the source tree, the readme and the licence.
# The program loses its symbol tables and the debug data the static runtime
# brings along (about 40% of its size); texts get Windows line ends, for
# Notepad. ARCH: x86 or amd64.
package_stage() {
  local arch=$1 program=$2 stage=$3 version lng name strip
  case $arch in
    x86) strip=i686-w64-mingw32-strip ;;
    amd64) strip=x86_64-w64-mingw32-strip ;;
    *) package_fail "unknown architecture $arch"; return 1 ;;
  esac
  version=$(package_version) || return 1
  rm -rf "$stage"
  mkdir -p "$stage/Language"
  for name in draviktm.exe draviktm.chm; do
    [ -s "$program/$name" ] || package_fail "$program/$name is missing: build the program first" || return 1
    cp "$program/$name" "$stage/$name"
  done
  "$strip" "$stage/draviktm.exe" || package_fail "could not strip the program" || return 1
  for lng in "$package_source"/localization/languages/*.lng; do
    name=$(basename "$lng")
    [ -s "$program/Language/$name" ] || package_fail "$program/Language/$name is missing" || return 1
    cp "$program/Language/$name" "$stage/Language/$name"
  done
  sed "s/@VERSION@/$version/; s/\r*\$/\r/" "$package_dir/readme.txt" >"$stage/readme.txt"
  sed 's/\r*$/\r/' "$package_source/LICENSE.txt" >"$stage/LICENSE.txt"
}

# The shipped files, relative to STAGE, one a line, sorted.
package_files() {
  (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

# Writes LISTS/installed_files.nsh and LISTS/removed_files.nsh from STAGE:
# every file installed is deleted again, and its folders removed when empty.
package_write_nsis_lists() {
  local stage=$1 lists=$2 file dir last=
  mkdir -p "$lists"
  : >"$lists/installed_files.nsh"
  : >"$lists/removed_files.nsh"
  while IFS= read -r file; do
    dir=$(dirname "$file")
    if [ "$dir" != "$last" ]; then
      if [ "$dir" = . ]; then echo 'SetOutPath "$INSTDIR"'
      else echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\""; fi >>"$lists/installed_files.nsh"
      last=$dir
    fi
    echo "File \"$stage/$file\"" >>"$lists/installed_files.nsh"
    echo "Delete \"\$INSTDIR\\${file//\//\\}\"" >>"$lists/removed_files.nsh"
  done < <(package_files "$stage")
  # Deepest folders first, each only if nothing else is left in it.
  (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r) |
    while IFS= read -r dir; do echo "RMDir \"\$INSTDIR\\${dir//\//\\}\""; done >>"$lists/removed_files.nsh"
}

# Builds an installer of STAGE. ARCH: x86 (the shipping one) or amd64.
package_installer() {
  local arch=$1 stage=$2 icon=$3 out=$4 work
  work=$(dirname "$out")/nsis-lists-$arch
  package_write_nsis_lists "$stage" "$work" || return 1
  [ -s "$icon" ] || package_fail "no program icon at $icon" || return 1
  command -v makensis >/dev/null || package_fail "makensis is missing (Debian package nsis)" || return 1
  makensis -V2 -WX -DVERSION="$(package_version)" -DFILE_VERSION="$(package_file_version)" \
    -DARCH="$arch" -DSTAGE="$stage" -DLISTS="$work" -DICON="$icon" -DOUT_FILE="$out" \
    "$package_dir/draviktm.nsi" >&2 || package_fail "makensis failed" || return 1
}

# Packs STAGE into a zip with the files at its root, then reads it back.
package_zip() {
  local stage=$1 out=$2 listed
  rm -f "$out"
  python3 - "$stage" "$out" <<'PY' || package_fail "could not write $out" || return 1
import os, sys, zipfile
stage, out = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(stage):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            z.write(path, os.path.relpath(path, stage))
PY
  listed=$(python3 -c 'import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
print("\n".join(sorted(z.namelist())))' "$out") || package_fail "$out does not read back" || return 1
  [ "$listed" = "$(package_files "$stage")" ] ||
    package_fail "$out does not hold exactly the staged files" || return 1
}

# The program needs nothing beside it but Windows: every DLL it imports is a
# system one. Also checks the version resource, the manifest and the icon.
package_check_exe() {
  local arch=$1 exe=$2 objdump machine dll bad=0
  case $arch in
    x86) objdump=i686-w64-mingw32-objdump machine=i386 ;;
    amd64) objdump=x86_64-w64-mingw32-objdump machine=amd64 ;;
    *) package_fail "unknown architecture $arch"; return 1 ;;
  esac
  local -a system_dlls=(kernel32 user32 gdi32 advapi32 shell32 shlwapi comctl32 comdlg32 ole32
                        oleaut32 iphlpapi ws2_32 pdh psapi winhttp version msvcrt ntdll)
  local imports; imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  [ -n "$imports" ] || package_fail "$exe: objdump found no imports" || return 1
  while IFS= read -r dll; do
    dll=${dll,,}
    [[ " ${system_dlls[*]} " == *" ${dll%.dll} "* ]] || { echo "package: $exe imports $dll, not a system DLL" >&2; bad=1; }
  done <<<"$imports"
  [ $bad -eq 0 ] || return 1
  echo "$exe imports only system DLLs: $(echo $imports)"
  python3 "$package_dir/pe_check.py" "$exe" --machine "$machine" --version "$(package_file_version)" \
    --icon AAA --manifest-has Microsoft.Windows.Common-Controls --manifest-has requireAdministrator
}

# An installer asks for administrator rights and says its version.
package_check_installer() {
  local arch=$1 setup=$2 machine
  case $arch in x86) machine=i386 ;; amd64) machine=amd64 ;; esac
  python3 "$package_dir/pe_check.py" "$setup" --machine "$machine" --version "$(package_file_version)" \
    --manifest-has requireAdministrator
}
