#!/usr/bin/env bash
# Installs BUILD_DIR into a temporary prefix and uses it as a host would: the C example built with pkg-config's
# flags only, the same example built with find_package, the Python example, and the installed command run
# from outside the source and build trees. The host's text dump must equal the command's.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/usr"
fail() {
  echo "installed_host_test: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
lib="$prefix/lib"
[[ $(readlink "$lib/libVOBADOReports2.so") == libVOBADOReports2.so.1 ]] || fail "libVOBADOReports2.so is not a link to .so.1"
[[ -f "$lib/$(readlink "$lib/libVOBADOReports2.so.1")" ]] || fail "libVOBADOReports2.so.1 does not lead to the library"
examples="$prefix/share/doc/vobreports/examples"

# The version a host compiles against, the one pkg-config reports and the library's file name agree.
export PKG_CONFIG_PATH="$lib/pkgconfig"
header_version=$(sed -n 's/^#define VOB_VERSION "\(.*\)"$/\1/p' "$prefix/include/vobreports/vob_c_api.h")
[[ -n "$header_version" ]] || fail "the installed header has no VOB_VERSION"
[[ $(pkg-config --modversion vobreports) == "$header_version" ]] || fail "vobreports.pc's version is not $header_version"
[[ -f "$lib/libVOBADOReports2.so.$header_version" ]] || fail "no libVOBADOReports2.so.$header_version"

cd "$work"
# shellcheck disable=SC2046  # pkg-config's output is a list of flags
cc -std=c99 -Wall -Wextra -pedantic-errors -Werror "$examples/host.c" $(pkg-config --cflags --libs vobreports) \
  -o host-pkg-config
readelf -d host-pkg-config | grep -q 'NEEDED.*\[libVOBADOReports2\.so\.1\]' || fail "the host does not need the SONAME"
cmake -S "$examples" -B cmake-host -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_COMPILER_LAUNCHER= >/dev/null
cmake --build cmake-host >/dev/null

# The installed command, with a home of its own for the demo database, from a folder outside both trees.
export HOME="$work/home" LD_LIBRARY_PATH="$lib"
unset XDG_CACHE_HOME
params=("1=04/01/2024" "2=06/30/2024" "3=202404" "4=202406")
# No title, as the host sets none.
"$prefix/bin/vobreports" run trbalance "${params[@]/#/--param=}" --title "" -o command.txt
db="$HOME/.cache/vobreports/demo-2024-06-30.sqlite"
[[ -f "$db" ]] || fail "the command did not create the demo database in the user's cache"
# `view` hands its command line over to the viewer program, which the install put under libexec.
served=$(timeout -s TERM 5 "$prefix/bin/vobreports" view --no-browser --db "$db" | head -n 1) || true
[[ $served == "vobreports view: serving at http://127.0.0.1:"* ]] || fail "the installed view did not serve: $served"
connection="Provider=SQLite;Data Source=$db;"
./host-pkg-config "$connection" trbalance host.txt "${params[@]}" >/dev/null
cmake-host/vobreports-host "$connection" trbalance host.pdf "${params[@]}" >/dev/null
[[ $(head -c 5 host.pdf) == %PDF- ]] || fail "the find_package host wrote no PDF"
# Both stamp the time of the run on the page footer.
diff <(grep -v 'Date:' command.txt) <(grep -v 'Date:' host.txt) || fail "the C host's pages differ from the command's"
python3 "$examples/host.py" "$db" aging.pdf
[[ $(head -c 5 aging.pdf) == %PDF- ]] || fail "the Python host wrote no PDF"
