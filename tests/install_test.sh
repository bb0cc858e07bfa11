#!/bin/sh
# Installs the build into a temporary prefix and checks what lands there.
#   install_test.sh build-dir
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
status=0
for f in bin/trivyrhnik \
         share/applications/org.example.Trivyrhnik.desktop \
         share/icons/hicolor/32x32/apps/org.example.Trivyrhnik.png \
         share/icons/hicolor/scalable/apps/org.example.Trivyrhnik.svg \
         share/metainfo/org.example.Trivyrhnik.metainfo.xml \
         share/man/man1/trivyrhnik.1.gz \
         share/doc/trivyrhnik/copyright \
         share/doc/trivyrhnik/changelog.gz; do
    if [ -e "$prefix/$f" ]; then echo "ok: $f"; else echo "FAIL: missing $f"; status=1; fi
done
[ -x "$prefix/bin/trivyrhnik" ] || { echo "FAIL: trivyrhnik not executable"; status=1; }
desktop-file-validate "$prefix/share/applications/org.example.Trivyrhnik.desktop" && echo "ok: desktop entry valid" || status=1
grep -q '^Categories=Education;Math;$' "$prefix/share/applications/org.example.Trivyrhnik.desktop" || { echo "FAIL: categories"; status=1; }
grep -q '^Exec=trivyrhnik' "$prefix/share/applications/org.example.Trivyrhnik.desktop" || { echo "FAIL: Exec"; status=1; }
metainfo=$prefix/share/metainfo/org.example.Trivyrhnik.metainfo.xml
appstreamcli validate --no-net --strict "$metainfo" && echo "ok: metainfo valid" || status=1

# The version of the build in the newest release of the metainfo, the
# changelog and the manual page.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$(grep -o '<release version="[^"]*"' "$metainfo" | head -1)" = "<release version=\"$version\"" ] \
    || { echo "FAIL: the metainfo's newest release is not $version"; status=1; }
gzip -dc "$prefix/share/doc/trivyrhnik/changelog.gz" | head -1 | grep -q "^trivyrhnik ($version) " \
    || { echo "FAIL: the changelog's newest entry is not $version"; status=1; }
gzip -dc "$prefix/share/man/man1/trivyrhnik.1.gz" | grep -q "^\.TH TRIVYRHNIK 1 .* \"trivyrhnik $version\"" \
    || { echo "FAIL: the manual page is not of $version"; status=1; }
exit $status
