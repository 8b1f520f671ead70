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
expect -rwxr-xr-x ./usr/games/tamzelon
for sound in Klick Knall Cascade; do
    expect -rw-r--r-- "./usr/share/tamzelon/Sounds/$sound.wav"
done
id=org.tamzelon.Tamzelon
desktop=usr/share/applications/$id.desktop
metainfo=usr/share/metainfo/$id.metainfo.xml
manpage=usr/share/man/man6/tamzelon.6.gz
doc=usr/share/doc/tamzelon
for file in "$desktop" "$metainfo" "$manpage" "$doc/copyright" "$doc/changelog.gz"; do
    expect -rw-r--r-- "./$file"
done
for size in 16 32 48 64 128 256; do
    expect -rw-r--r-- "./usr/share/icons/hicolor/${size}x$size/apps/tamzelon.png"
done
# The launcher is in /usr/games, as Debian wants for games; the game itself
# stays off PATH and nothing lands outside /usr.
grep -E ' \./usr/(bin|games)/' "$tmp/contents" | grep -vxF -- '-rwxr-xr-x ./usr/games/tamzelon' |
    grep -v '/$' && fail "more than the launcher on PATH"
grep -vE ' \./(usr/.*)?$' "$tmp/contents" && fail "files outside /usr"

field() {
    dpkg-deb -f "$deb" "$1"
}
[ "$(field Package)" = tamzelon ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', expected $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Maintainer)" = "Tamzelon developers <developers@tamzelon.org>" ] ||
    fail "Maintainer is '$(field Maintainer)'"
depends=$(field Depends)
for library in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libc6 libstdc++6; do
    [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
        fail "Depends lacks $library: $depends"
done

# The paperwork, read from the unpacked package.
root=$tmp/root
dpkg-deb -x "$deb" "$root"
for file in "$manpage" "$doc/changelog.gz"; do
    # gzip -9n: no name and no time in the header.
    [ "$(od -An -tx1 -N8 "$root/$file" | tr -d ' ')" = 1f8b080000000000 ] ||
        fail "$file not gzipped without name and time"
done
newest=$(gzip -dc "$root/$doc/changelog.gz" | sed -n 1p)
[[ $newest == "tamzelon ($version) "* ]] || fail "the changelog's newest entry is not $version: $newest"
head -n1 "$root/$doc/copyright" |
    grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not machine-readable"
grep -qxF 'Files: resources/fonts/*.ttf' "$root/$doc/copyright" &&
    grep -qxF 'License: OFL-1.1' "$root/$doc/copyright" || fail "copyright lacks the fonts' licence"
grep -qF "<release version=\"$version\"" "$root/$metainfo" || fail "metainfo lacks release $version"

# Each tool's verdict, where the tool is installed (scripts/setup.sh installs them all).
have() {
    command -v "$1" >/dev/null || { echo "skipped, no $1: $2"; return 1; }
}
if have desktop-file-validate "desktop entry"; then
    desktop-file-validate "$root/$desktop" >"$tmp/out" 2>&1 && [ ! -s "$tmp/out" ] ||
        fail "desktop-file-validate: $(cat "$tmp/out")"
fi
if have appstreamcli metainfo; then
    appstreamcli validate --no-net "$root/$metainfo" >"$tmp/out" 2>&1 ||
        fail "appstreamcli validate: $(cat "$tmp/out")"
fi
if have man "manual page" && have groff "manual page"; then
    # man -l reads the gzipped page; its warnings go to standard error.
    { man --warnings -E UTF-8 -l -Tutf8 -Z "$root/$manpage" >/dev/null &&
        gzip -dc "$root/$manpage" | groff -man -ww -z; } 2>"$tmp/out" && [ ! -s "$tmp/out" ] ||
        fail "the manual page renders with warnings: $(cat "$tmp/out")"
fi
if have lintian package; then
    lintian "$deb" >"$tmp/out" 2>&1 || true
    grep '^E:' "$tmp/out" >&2 && fail "lintian reports errors"
fi

exit $failed
