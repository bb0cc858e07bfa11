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
         share/icons/hicolor/scalable/apps/org.example.Trivyrhnik.svg; do
    if [ -e "$prefix/$f" ]; then echo "ok: $f"; else echo "FAIL: missing $f"; status=1; fi
done
[ -x "$prefix/bin/trivyrhnik" ] || { echo "FAIL: trivyrhnik not executable"; status=1; }
desktop-file-validate "$prefix/share/applications/org.example.Trivyrhnik.desktop" && echo "ok: desktop entry valid" || status=1
grep -q '^Categories=Education;Math;$' "$prefix/share/applications/org.example.Trivyrhnik.desktop" || { echo "FAIL: categories"; status=1; }
grep -q '^Exec=trivyrhnik' "$prefix/share/applications/org.example.Trivyrhnik.desktop" || { echo "FAIL: Exec"; status=1; }
exit $status
