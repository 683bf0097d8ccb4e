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
# The program is linked without symbols; strip takes away anything a build
# left all the same. Texts get Windows line ends, for Notepad. ARCH: x86 or
# amd64.
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

# Writes, into LISTS, what the installer puts in place and takes away again:
# installed_files_<ARCH>.nsh for each staged program folder given (ARCH=FOLDER,
# ARCH x86 or amd64) and removed_files.nsh. Both programs ship the same file
# names, so one removal list serves whichever was installed: every file is
# deleted again, and its folders removed when empty.
package_write_nsis_lists() {
  local lists=$1 arg arch stage file dir last first=
  shift
  mkdir -p "$lists"
  for arg in "$@"; do
    arch=${arg%%=*} stage=${arg#*=} last=
    if [ -z "$first" ]; then first=$stage
    elif [ "$(package_files "$stage")" != "$(package_files "$first")" ]; then
      package_fail "$stage and $first do not hold the same files"; return 1
    fi
    : >"$lists/installed_files_$arch.nsh"
    while IFS= read -r file; do
      dir=$(dirname "$file")
      if [ "$dir" != "$last" ]; then
        if [ "$dir" = . ]; then echo 'SetOutPath "$INSTDIR"'
        else echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\""; fi >>"$lists/installed_files_$arch.nsh"
        last=$dir
      fi
      echo "File \"$stage/$file\"" >>"$lists/installed_files_$arch.nsh"
    done < <(package_files "$stage")
  done
  [ -n "$first" ] || package_fail "no program folder to list" || return 1
  package_files "$first" | while IFS= read -r file; do
    echo "Delete \"\$INSTDIR\\${file//\//\\}\""
  done >"$lists/removed_files.nsh"
  # Deepest folders first, each only if nothing else is left in it.
  (cd "$first" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r) |
    while IFS= read -r dir; do echo "RMDir \"\$INSTDIR\\${dir//\//\\}\""; done >>"$lists/removed_files.nsh"
}

# Builds an installer. STUB x86 is the shipping one: it runs on every Windows,
# carries both programs (X86_STAGE and AMD64_STAGE) and installs the 64-bit one
# on 64-bit Windows. STUB amd64 (64-bit Windows only) carries AMD64_STAGE alone;
# the install test uses it, as Wine here runs no 32-bit program.
package_installer() {
  local stub=$1 x86_stage=$2 amd64_stage=$3 icon=$4 out=$5 work
  local -a programs=("amd64=$amd64_stage")
  case $stub in
    x86) programs=("x86=$x86_stage" "${programs[@]}") ;;
    amd64) ;;
    *) package_fail "unknown installer stub $stub"; return 1 ;;
  esac
  work=$(dirname "$out")/nsis-lists-$stub
  rm -rf "$work"
  package_write_nsis_lists "$work" "${programs[@]}" || return 1
  [ -s "$icon" ] || package_fail "no program icon at $icon" || return 1
  command -v makensis >/dev/null || package_fail "makensis is missing (Debian package nsis)" || return 1
  makensis -V2 -WX -DVERSION="$(package_version)" -DFILE_VERSION="$(package_file_version)" \
    -DSTUB="$stub" -DLISTS="$work" -DLICENSE="$amd64_stage/LICENSE.txt" -DICON="$icon" -DOUT_FILE="$out" \
    "$package_dir/draviktm.nsi" >&2 || package_fail "makensis failed" || return 1
}

# The portable folder: the 32-bit program at the root, where Windows XP users
# find it, and the 64-bit one in x64\, each with its help and languages beside
# it (the program looks for them in its own folder). One readme and licence.
package_portable() {
  local x86_stage=$1 amd64_stage=$2 out=$3
  rm -rf "$out"
  cp -r "$x86_stage" "$out" && mkdir "$out/x64" &&
    cp -r "$amd64_stage/draviktm.exe" "$amd64_stage/draviktm.chm" "$amd64_stage/Language" "$out/x64/" ||
    package_fail "could not gather the portable folder $out"
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

# The DLLs a shipped program may import: Windows' Known DLLs, which it loads
# from the system folder only, so a DLL planted beside the program (in a
# Downloads folder, say) cannot stand in for one of them. comctl32 comes from
# the side-by-side assembly the manifest names, also never from beside it.
package_known_dlls=(kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 msvcrt comctl32 comdlg32
                    shlwapi ws2_32)
package_size_limit=1000000

package_objdump() {
  case $1 in
    x86) echo i686-w64-mingw32-objdump ;;
    amd64) echo x86_64-w64-mingw32-objdump ;;
    *) package_fail "unknown architecture $1" ;;
  esac
}

# The functions a program imports, one a line: "dll function".
package_imports() {
  local objdump; objdump=$(package_objdump "$1") || return 1
  "$objdump" -p "$2" | awk '
    /^\tDLL Name: / { dll = tolower($3) }
    /^\t[0-9a-f]+\t +[0-9]+  / && dll != "" { print dll, $3 }
    /^$/ && prev ~ /^\t[0-9a-f]+\t/ { dll = "" }
    { prev = $0 }'
}

# Fails, naming them, on imported functions that Windows XP does not have: the
# mingw headers declare a newer function only for a newer _WIN32_WINNT, so a
# file that takes the address of every imported name, compiled for XP, reports
# each newer one as undeclared. Names starting with "_" are the C runtime's own.
package_check_xp_imports() {
  local arch=$1 exe=$2 gcc work newer h
  case $arch in x86) gcc=i686-w64-mingw32-gcc ;; amd64) gcc=x86_64-w64-mingw32-gcc ;; esac
  work=$(mktemp -d)
  package_imports "$arch" "$exe" | awk '{print $2}' | grep -v '^_' | sort -u >"$work/names"
  { for h in winsock2 windows commctrl shellapi shlobj psapi iphlpapi pdh winhttp ole2 olectl uxtheme \
             stdio stdlib string wchar wctype locale signal setjmp time; do echo "#include <$h.h>"; done
    echo 'void* refs[] = {'; sed 's/.*/ (void*)\&&,/' "$work/names"; echo '};'; } >"$work/ref.c"
  "$gcc" -fsyntax-only -D_WIN32_WINNT=0x0501 -DWINVER=0x0501 -DPSAPI_VERSION=1 -DUNICODE -D_UNICODE \
    "$work/ref.c" 2>"$work/errors"
  newer=$(grep -oE "‘[A-Za-z0-9_]+’ undeclared|'[A-Za-z0-9_]+' undeclared" "$work/errors" |
          tr -d "‘’'" | awk '{print $1}' | sort -u | tr '\n' ' ')
  if [ -z "$newer" ] && grep -q 'error' "$work/errors"; then
    cat "$work/errors" >&2; rm -rf "$work"
    package_fail "$exe: the import check itself did not compile"; return 1
  fi
  rm -rf "$work"
  [ -z "$newer" ] || package_fail "$exe imports functions Windows XP does not have: $newer" || return 1
}

# What a shipped program must be: no larger than the limit, importing only
# Known DLLs and only what Windows XP (the 64-bit one: XP x64 and Server 2003)
# has, with its version resource, manifest and icon.
package_check_exe() {
  local arch=$1 exe=$2 machine size dll bad=0 imports functions
  case $arch in x86) machine=i386 ;; amd64) machine=amd64 ;; *) package_fail "unknown architecture $arch"; return 1 ;; esac
  size=$(stat -c %s "$exe")
  echo "$exe: $size bytes (limit $package_size_limit)"
  [ "$size" -le $package_size_limit ] || package_fail "$exe is $size bytes, above $package_size_limit" || bad=1
  imports=$(package_imports "$arch" "$exe") || return 1
  [ -n "$imports" ] || package_fail "$exe: objdump found no imports" || return 1
  for dll in $(awk '{print $1}' <<<"$imports" | sort -u); do
    functions=$(grep -c "^$dll " <<<"$imports")
    if [[ " ${package_known_dlls[*]} " == *" ${dll%.dll} "* ]]; then
      echo "  $dll: $functions functions"
    else
      echo "package: $exe imports $dll ($functions functions), which is not a Known DLL" >&2
      bad=1
    fi
  done
  echo "  $(wc -l <<<"$imports") functions from $(awk '{print $1}' <<<"$imports" | sort -u | wc -l) DLLs"
  package_check_xp_imports "$arch" "$exe" || bad=1
  python3 "$package_dir/pe_check.py" "$exe" --machine "$machine" --version "$(package_file_version)" \
    --icon AAA --manifest-has Microsoft.Windows.Common-Controls --manifest-has requireAdministrator || bad=1
  [ $bad -eq 0 ]
}

# An installer asks for administrator rights and says its version.
package_check_installer() {
  local stub=$1 setup=$2 machine
  case $stub in x86) machine=i386 ;; amd64) machine=amd64 ;; esac
  python3 "$package_dir/pe_check.py" "$setup" --machine "$machine" --version "$(package_file_version)" \
    --manifest-has requireAdministrator
}
