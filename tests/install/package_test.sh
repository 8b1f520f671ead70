#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks what it holds
# and what it depends on. Usage: package_test.sh <build dir> <version>
set -euo pipefail
build=$1
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2
    exit 1
fi
debs=("$tmp"/tamzelon_"$version"_*.deb)
[ -f "${debs[0]}" ] || { ls "$tmp" >&2; echo "FAIL: no tamzelon_${version}_*.deb" >&2; exit 1; }
deb=${debs[0]}

# Mode and path of every entry, e.g. "-rwxr-xr-x ./usr/bin/tamzelon".
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' >"$tmp/contents"
expect() {
    grep -qxF -e "$1 $2" "$tmp/contents" || fail "missing $1 $2"
}
expect -rwxr-xr-x ./usr/libexec/tamzelon/tamzelon
expect -rwxr-xr-x ./usr/bin/tamzelon
for sound in Klick Knall Cascade; do
    expect -rw-r--r-- "./usr/share/tamzelon/Sounds/$sound.wav"
done
expect -rw-r--r-- ./usr/share/applications/tamzelon.desktop
for size in 16 32 48 64 128 256; do
    expect -rw-r--r-- "./usr/share/icons/hicolor/${size}x$size/apps/tamzelon.png"
done
# The game itself stays off PATH and nothing lands outside /usr.
grep -E ' \./usr/(bin|games)/' "$tmp/contents" | grep -vxF -- '-rwxr-xr-x ./usr/bin/tamzelon' |
    grep -v '/$' && fail "more than the launcher on PATH"
grep -vE ' \./(usr/.*)?$' "$tmp/contents" && fail "files outside /usr"

field() {
    dpkg-deb -f "$deb" "$1"
}
[ "$(field Package)" = tamzelon ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', expected $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Maintainer)" = "Tamzelon developers" ] || fail "Maintainer is '$(field Maintainer)'"
depends=$(field Depends)
for library in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libc6 libstdc++6; do
    [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
        fail "Depends lacks $library: $depends"
done

exit $failed
