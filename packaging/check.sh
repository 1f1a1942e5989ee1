#!/usr/bin/env bash
# Checks the three packages as a user gets them: lintian passes the Debian
# package with no error and no warning; the .deb holds a dynamic program and
# the .tar.gz a static one; the zip's texts have CR LF line ends; and each
# unpacked program prints the release build's bytes and exit status for a
# scripted session (the zip's under Wine).
# Run after the release, package and package-windows workflows.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(tavro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=build/package/tavro_${version}_amd64.deb
tgz=build/package/tavro-${version}-linux-x86_64.tar.gz
zip=$PWD/build/package-windows/tavro-${version}-windows-x86_64.zip
work=$(mktemp -d)
export WINEPREFIX=$PWD/build/package-windows/wine WINEDEBUG=-all
export WINEDLLOVERRIDES=winemenubuilder.exe=d
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAILED: $*"; exit 1; }

echo "lintian $deb"
lintian --fail-on error,warning "$deb" 2>/dev/null || fail "lintian finds errors or warnings"

/usr/lib/wine/wine64 wineboot >/dev/null 2>&1  # a quiet first start of the prefix
dpkg-deb -x "$deb" "$work/deb"
tar xzf "$tgz" -C "$work"
(cd "$work" && cmake -E tar xf "$zip")
linux=$work/tavro-${version}-linux-x86_64
windows=$work/tavro-${version}-windows-x86_64
for file in tavro tavro.1 README.md LICENSE; do
  [ -f "$linux/$file" ] || fail "$tgz has no $file"
done
readelf -l "$work/deb/usr/bin/tavro" | grep -q INTERP || fail "the .deb's program is not dynamic"
readelf -l "$linux/tavro" | grep -q INTERP && fail "the .tar.gz's program is not static"
for file in LICENSE.txt README.txt; do
  lines=$(wc -l < "$windows/$file")
  [ "$(grep -c $'\r$' "$windows/$file")" = "$lines" ] || fail "$file has lines without CR LF"
done

printf 'a100 1200 3\nb2.3 1 1 0\nc239 80 477 10\nd150 300 40 2689 0,8 12\ne1.4 1.8 1\nw   g   i q' \
  > "$work/input"
expect() { "$@" < "$work/input"; echo "status $?"; }
expect build/release/tavro > "$work/expected"
expect "$work/deb/usr/bin/tavro" > "$work/deb.out"
expect "$linux/tavro" > "$work/tgz.out"
expect /usr/lib/wine/wine64 "$windows/tavro.exe" > "$work/zip.out"
for package in deb tgz zip; do
  cmp -s "$work/expected" "$work/$package.out" || fail "the $package's program prints other bytes"
done
echo "packages: 3 passed, 0 failed"
