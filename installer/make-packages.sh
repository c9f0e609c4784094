#!/usr/bin/env bash
# Makes the installer packages from the install tree of both cross builds:
#   QUARENT-Toolkit-<version>-x64.msi  64-bit DLLs under Program Files, 32-bit
#                                      ones under Program Files (x86)
#   QUARENT-Toolkit-<version>-x86.msi  the 32-bit DLLs, for 32-bit Windows
# Each DLL's registry rows are what registering it writes, printed by
# registration_text (run under Wine) from the class descriptions and the type
# library the DLL registers itself from, so package and DLL cannot disagree.
#
# Usage: installer/make-packages.sh <install tree> <registration_text.exe> <output folder> [version...]
# The version defaults to the project's; with several, a package of each is
# made. The tool runs in the 64-bit Wine prefix WINEPREFIX when it is set, else
# in a temporary one.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
dist=$(readlink -m "$1")
tool=$(readlink -m "$2")
output=$(readlink -m "$3")
versions=("${@:4}")
if [ "${#versions[@]}" -eq 0 ]; then
  versions=("$(sed -n 's/^project(QuarentToolkit VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")")
fi
components=(BrnLog QRNShrMem QRNBC10 QRNNTSrv)

# Every file a package carries must be there: a package without one of its
# DLLs would install and register nothing for it.
missing=()
for component in "${components[@]}"; do
  for arch in x64 x86; do
    for file in "$component.dll" "$component.tlb" "$component.idl" "${component}_h.h" "${component}_i.c" \
                "QUARENT.$component.manifest"; do
      [ -f "$dist/$component/$arch/$file" ] || missing+=("$dist/$component/$arch/$file")
    done
  done
done
[ -f "$tool" ] || missing+=("$tool")
if [ "${#missing[@]}" -gt 0 ]; then
  echo "make-packages: cannot make the packages, these files are missing:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  echo "Build both architectures first (scripts/build.sh)." >&2
  exit 1
fi

export QUARENT_WINE_ARCH=win64
source "$source_dir/scripts/wine-arch.sh"
mkdir -p "$output"
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
own_prefix=
finish() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  [ -z "$own_prefix" ] || rm -rf "$own_prefix"
}
trap finish EXIT
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix=$(mktemp -d)
  export WINEPREFIX=$own_prefix
  wine wineboot -i >/dev/null 2>&1
fi
# One server for all the tool's runs (once wineboot's has gone).
wineserver -w
wineserver -p

# registry_rows <component> <arch> <file id> <parent directory id> <all|own>
# The component's rows as WiX RegistryValue elements under HKLM\Software\Classes
# (the view is the WiX component's). The module is the installed file, its help
# folder the parent directory (a property ending in a backslash) plus the
# component's folder name.
registry_rows() {
  local component=$1 arch=$2 file_id=$3 parent=$4 part=$5 rows
  rows=$(wine "$tool" rows "$component.dll" "[#$file_id]" "[$parent]$component" \
      "Z:$dist/$component/$arch/$component.tlb" "$part") ||
    { echo "make-packages: registration_text failed for $component ($arch)" >&2; exit 1; }
  tr -d '\r' <<<"$rows" | awk -F '\t' '
    function xml(text) {
      gsub(/&/, "\\&amp;", text); gsub(/</, "\\&lt;", text); gsub(/>/, "\\&gt;", text); gsub(/"/, "\\&quot;", text)
      return text
    }
    $1 == "value" {
      name = $3 == "" ? "" : " Name=\"" xml($3) "\""
      printf "          <RegistryValue Root=\"HKLM\" Key=\"Software\\Classes\\%s\"%s Value=\"%s\" Type=\"string\"/>\n",
             xml($2), name, xml($4)
    }
    $1 == "key" {
      printf "          <RegistryValue Root=\"HKLM\" Key=\"Software\\Classes\\%s\" Name=\"*\" Value=\"\" Type=\"string\"/>\n",
             xml($2)
    }'
}

# component_folder <component> <arch> <parent directory id> <Win64 yes|no> <all|own>
# A folder of the installation with one component's DLL, its development files
# and its registry rows.
component_folder() {
  local component=$1 arch=$2 parent=$3 win64=$4 part=$5
  # wixl reads a Source relative to the folder of the file naming it.
  local files
  files=$(realpath --relative-to="$output" "$dist/$component/$arch")
  echo "    <DirectoryRef Id=\"$parent\">"
  echo "      <Directory Id=\"Folder_${arch}_$component\" Name=\"$component\">"
  echo "        <Component Id=\"Component_${arch}_$component\" Guid=\"*\" Win64=\"$win64\">"
  echo "          <File Id=\"${arch}_$component.dll\" Source=\"$files/$component.dll\" KeyPath=\"yes\"/>"
  for file in "$component.idl" "$component.tlb" "${component}_h.h" "${component}_i.c" "QUARENT.$component.manifest"; do
    echo "          <File Id=\"${arch}_$file\" Source=\"$files/$file\"/>"
  done
  registry_rows "$component" "$arch" "${arch}_$component.dll" "$parent" "$part"
  echo "        </Component>"
  echo "      </Directory>"
  echo "    </DirectoryRef>"
}

# make_package <platform> then one "<arch> <parent directory id> <Win64> <part>" per folder set.
make_package() {
  local platform=$1
  shift
  local fragment=$output/components-$platform.wxs
  {
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">'
    echo '  <Fragment>'
    for folders in "$@"; do
      read -r arch parent win64 part <<<"$folders"
      for component in "${components[@]}"; do
        component_folder "$component" "$arch" "$parent" "$win64" "$part"
      done
    done
    echo '    <ComponentGroup Id="ComponentFiles">'
    for folders in "$@"; do
      read -r arch _ <<<"$folders"
      for component in "${components[@]}"; do
        echo "      <ComponentRef Id=\"Component_${arch}_$component\"/>"
      done
    done
    echo '    </ComponentGroup>'
    echo '  </Fragment>'
    echo '</Wix>'
  } >"$fragment"
  local win64=no
  [ "$platform" = x64 ] && win64=yes
  for version in "${versions[@]}"; do
    wixl -a "$platform" -D "Platform=$platform" -D "Win64=$win64" -D "Version=$version" \
      -o "$output/QUARENT-Toolkit-$version-$platform.msi" "$source_dir/installer/toolkit.wxs" "$fragment"
    echo "$output/QUARENT-Toolkit-$version-$platform.msi"
  done
}

# In the 64-bit package the 64-bit DLLs write the type libraries' shared values
# (registered first, as regsvr32 of the 64-bit DLL then the 32-bit one would).
make_package x64 "x64 INSTALLDIR yes all" "x86 INSTALLDIR32 no own"
make_package x86 "x86 INSTALLDIR no all"
