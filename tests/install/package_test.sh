#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks what it holds
# and what it depends on. Usage: package_test.sh <build dir> <version>
set -euo pipefail
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

cpack --config "$1/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log" >&2; exit 1; }
deb=$(ls "$tmp"/tamzelon_"$version"_*.deb) || { ls "$tmp" >&2; exit 1; }

# Mode and path of every entry, e.g. "-rwxr-xr-x ./usr/games/tamzelon".
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' >"$tmp/contents"
id=org.tamzelon.Tamzelon
desktop=usr/share/applications/$id.desktop
metainfo=usr/share/metainfo/$id.metainfo.xml
manpage=usr/share/man/man6/tamzelon.6.gz
doc=usr/share/doc/tamzelon
for entry in x/usr/libexec/tamzelon/tamzelon x/usr/games/tamzelon /usr/share/tamzelon/Sounds/{Klick,Knall,Cascade}.wav \
    "/$desktop" "/$metainfo" "/$manpage" "/$doc/copyright" "/$doc/changelog.gz" \
    /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/tamzelon.png; do
    mode=-rw-r--r--
    [[ $entry == x/* ]] && mode=-rwxr-xr-x
    grep -qxF -e "$mode .${entry#x}" "$tmp/contents" || fail "missing $mode .${entry#x}"
done
# The launcher is in /usr/games, as Debian wants for games; the game itself
# stays off PATH and nothing lands outside /usr.
grep -E ' \./usr/(bin|games)/' "$tmp/contents" | grep -vxF -- '-rwxr-xr-x ./usr/games/tamzelon' |
    grep -v '/$' && fail "more than the launcher on PATH"
grep -vE ' \./(usr/.*)?$' "$tmp/contents" && fail "files outside /usr"

for pair in Package=tamzelon Version="$version" Section=games \
    "Maintainer=Tamzelon developers <developers@tamzelon.org>"; do
    [ "$(dpkg-deb -f "$deb" "${pair%%=*}")" = "${pair#*=}" ] || fail "${pair%%=*} is not '${pair#*=}'"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2-2.0-0 libc6 libstdc++6; do
    [[ ", $depends," =~ ", $library"[\ ,] ]] || fail "Depends lacks $library: $depends"
done
# The game draws its text from glyphs baked into it: no font library.
[[ $depends =~ ttf|freetype|harfbuzz ]] && fail "Depends names a font library: $depends"

# The paperwork, read from the unpacked package.
root=$tmp/root
dpkg-deb -x "$deb" "$root"
for file in "$manpage" "$doc/changelog.gz"; do
    # gzip -9n: no name and no time in the header.
    [ "$(od -An -tx1 -N8 "$root/$file" | tr -d ' ')" = 1f8b080000000000 ] ||
        fail "$file not gzipped without name and time"
done
[[ $(gzip -dc "$root/$doc/changelog.gz" | head -n1) == "tamzelon ($version) "* ]] ||
    fail "the changelog's newest entry is not $version"
head -n1 "$root/$doc/copyright" |
    grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not machine-readable"
grep -qxF 'Files: resources/fonts/*.ttf' "$root/$doc/copyright" &&
    grep -qxF 'License: OFL-1.1' "$root/$doc/copyright" || fail "copyright lacks the fonts' licence"
grep -qF "<release version=\"$version\"" "$root/$metainfo" || fail "metainfo lacks release $version"

# Each tool's verdict, where the tool is installed (scripts/setup.sh installs them all).
# verdict TOOL COMMAND...: the command must succeed and print nothing.
verdict() {
    command -v "$1" >/dev/null || { echo "skipped, no $1"; return; }
    "${@:2}" >"$tmp/out" 2>&1 && [ ! -s "$tmp/out" ] || fail "$1: $(cat "$tmp/out")"
}
verdict desktop-file-validate desktop-file-validate "$root/$desktop"
verdict appstreamcli sh -c 'out=$(appstreamcli validate --no-net "$0" 2>&1) || echo "$out"' "$root/$metainfo"
# man -l reads the gzipped page; its warnings go to standard error.
verdict man sh -c 'man --warnings -E UTF-8 -l -Tutf8 -Z "$0" >/dev/null && gzip -dc "$0" | groff -man -ww -z' \
    "$root/$manpage"
verdict lintian sh -c 'lintian "$0" 2>&1 | grep "^E:"; true' "$deb"
exit $failed
