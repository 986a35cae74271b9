#!/usr/bin/env bash
# Builds the Debian package of BUILD_DIR with cpack into a temporary folder and reads it back: its name, the
# dependencies dpkg-shlibdeps found, the shlibs entry, and the files a host needs, in /usr.
# Installing it on a fresh Debian 12 is scripts/package-check's job.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "debian_package_test: $*" >&2
  exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
(cd "$work" && cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  fail "cpack failed: $(tail -5 "$work/cpack.log")"
deb="$work/vobreports_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || fail "no $(basename "$deb"); cpack wrote: $(ls "$work")"

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == vobreports && $(field Version) == "$version" ]] || fail "package $(field Package) $(field Version)"
depends=$(field Depends)
for needed in fonts-liberation libc6 libstdc++6 libcairo2 libsqlite3-0 libpq5 libcups2 libgdk-pixbuf-2.0-0 libxlsxwriter4; do
  [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] || fail "Depends lacks $needed: $depends"
done
[[ $(dpkg-deb --info "$deb" shlibs) == "libVOBADOReports2 1 vobreports (>= $version)" ]] || fail "shlibs: $(dpkg-deb --info "$deb" shlibs)"

files=$(dpkg-deb --contents "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
for entry in "./usr/bin/vobreports" "./usr/libexec/vobreports/vobreports-viewer" \
  "./usr/lib/libVOBADOReports2.so.$version" \
  "./usr/lib/libVOBADOReports2.so.1 -> libVOBADOReports2.so.$version" \
  "./usr/lib/libVOBADOReports2.so -> libVOBADOReports2.so.1" "./usr/include/vobreports/vob_c_api.h" \
  "./usr/lib/pkgconfig/vobreports.pc" "./usr/lib/cmake/vobreports/vobreports-config.cmake" \
  "./usr/share/doc/vobreports/examples/host.c"; do
  grep -qxF -- "$entry" <<<"$files" || fail "the package lacks $entry"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/lib/pkgconfig/vobreports.pc | grep -qx 'prefix=/usr' ||
  fail "vobreports.pc does not name /usr"
# Stripped: the package carries no debug info.
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/lib/libVOBADOReports2.so.$version" >"$work/library"
! readelf -S "$work/library" | grep -q '\.debug_info' || fail "the library in the package has debug info"
