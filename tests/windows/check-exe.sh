#!/bin/sh
# The static checks of the Windows program, without running it: a 64-bit
# GUI program (PE32+, x86-64, no console window), at most 1.5 MB, importing
# system DLLs only (the C++ runtime, libgcc and winpthread linked in), with
# its icon (16 to 256 pixels, and 32 x 32 with 256 colours), a version
# resource (product name, a non-zero file version, copyright) and the
# manifest (per-monitor DPI awareness v2, common controls v6, Windows 10
# and 11, as invoker).
# With the archive too: it holds the program as built, the licence and the
# read-me, nothing else.
#   check-exe.sh path/to/trivyrhnik.exe [path/to/trivyrhnik-*-windows-x64.zip]
set -u
exe=$1
zip=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() { # what command...
    what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

objdump=x86_64-w64-mingw32-objdump
$objdump -p "$exe" >"$work/headers" || { echo "FAIL: not a PE file"; exit 1; }
check "PE32+" grep -q "^Magic[[:space:]]*020b[[:space:]]*(PE32+)" "$work/headers"
check "x86-64" sh -c "$objdump -f '$exe' | grep -q 'architecture: i386:x86-64'"
check "GUI subsystem: no console window" grep -q "^Subsystem[[:space:]]*00000002" "$work/headers"

size=$(stat -c %s "$exe")
limit=$((3 * 1024 * 1024 / 2))
echo "note: $size bytes"
check "at most 1.5 MB" [ "$size" -le "$limit" ]

# Every imported DLL is part of Windows.
sed -n 's/^[[:space:]]*DLL Name: //p' "$work/headers" | tr 'A-Z' 'a-z' | sort -u >"$work/imports"
echo "note: imports $(tr '\n' ' ' <"$work/imports")"
system="kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll advapi32.dll shell32.dll ole32.dll"
system="$system oleaut32.dll oleacc.dll"
foreign=""
while read -r dll; do
    case " $system " in *" $dll "*) ;; *) foreign="$foreign $dll" ;; esac
done <"$work/imports"
check "only system DLLs imported${foreign:+ (not:$foreign)}" [ -z "$foreign" ]
check "kernel32, user32 and gdi32 imported" sh -c "grep -qx kernel32.dll '$work/imports' \
    && grep -qx user32.dll '$work/imports' && grep -qx gdi32.dll '$work/imports'"
dlls=$(find "$(dirname "$exe")" -maxdepth 1 -iname '*.dll' | wc -l)
check "no DLL beside the program" [ "$dlls" = 0 ]

# The icon: an image with full colour at every size that Windows shows, the
# 256 one stored as PNG, and the desktop's 32 x 32 image with 256 colours.
wrestool -x -t 14 "$exe" >"$work/icon.ico" 2>/dev/null
icotool -l "$work/icon.ico" >"$work/icon.txt" 2>/dev/null
echo "note: icon images $(sed -n 's/.*--width=\([0-9]*\) .*--bit-depth=\([0-9]*\).*/\1:\2/p' "$work/icon.txt" | tr '\n' ' ')"
for size in 16 20 24 32 40 48 64 256; do
    check "icon $size x $size with full colour" grep -q -- "--width=$size --height=$size --bit-depth=32" "$work/icon.txt"
done
check "icon 32 x 32 with 256 colours" grep -q -- "--width=32 --height=32 --bit-depth=8" "$work/icon.txt"
check "icon's 256 x 256 image stored as PNG" sh -c "LC_ALL=C grep -qa \"\$(printf '\\211PNG')\" '$work/icon.ico'"

# The version: the strings and the fixed file version.
wrestool -x --raw -t 16 "$exe" >"$work/version.bin" 2>/dev/null
iconv -c -f UTF-16LE -t UTF-8 <"$work/version.bin" | tr '\000' '\n' | grep -v '^$' >"$work/version.txt"
# Each key follows the binary header of its entry; its value is the next line.
value() { sed -n "/\(^\|[^A-Za-z]\)$1\$/{n;p;q}" "$work/version.txt"; }
echo "note: ProductName '$(value ProductName)', FileVersion '$(value FileVersion)'"
check "ProductName Триъгълник" [ "$(value ProductName)" = "Триъгълник" ]
check "LegalCopyright" sh -c "[ -n \"\$1\" ]" x "$(value LegalCopyright)"
check "FileVersion string not zero" sh -c "echo \"\$1\" | grep -q '[1-9]'" x "$(value FileVersion)"
fixed=$(od -An -tx1 -v "$work/version.bin" | tr -d ' \n' | sed -n 's/^.*bd04effe........\(................\).*$/\1/p')
check "fixed FileVersion not zero" sh -c "[ -n \"\$1\" ] && [ \"\$1\" != 0000000000000000 ]" x "$fixed"

# The manifest: well-formed, and what it says.
wrestool -x --raw -t 24 "$exe" >"$work/manifest.xml" 2>/dev/null
check "manifest is well-formed XML" xmllint --noout "$work/manifest.xml"
check "dpiAwareness PerMonitorV2" grep -q "<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>" "$work/manifest.xml"
check "common controls v6" sh -c "grep -A1 'name=\"Microsoft.Windows.Common-Controls\"' '$work/manifest.xml' \
    | grep -q 'version=\"6.0.0.0\"'"
check "Windows 10 and 11" grep -q "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a" "$work/manifest.xml"
check "runs as invoker" grep -q 'requestedExecutionLevel level="asInvoker"' "$work/manifest.xml"

if [ -n "$zip" ]; then
    check "archive holds the program, LICENSE.txt and README.txt" \
        [ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "LICENSE.txt README.txt trivyrhnik.exe " ]
    check "archive's program is the one built" sh -c "unzip -p '$zip' trivyrhnik.exe | cmp -s - '$exe'"
    readme_ok() {
        unzip -p "$zip" README.txt >"$work/readme"
        grep -q "Триъгълник" "$work/readme" \
            && [ "$(grep -c "$(printf '\r')\$" "$work/readme")" = "$(wc -l <"$work/readme")" ]
    }
    check "read-me in Bulgarian with Windows line ends" readme_ok
fi

echo "$failures failure(s)"
[ "$failures" = 0 ]
