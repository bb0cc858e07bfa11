#!/bin/bash
# What each entry command asks apt-get for, on a machine that has nothing:
# dpkg-query answers "not installed" for every package, apt-get only writes
# down what it is asked for, and cmake stops the command right after the
# installation. A teacher's ./run must not pull in the browsers, wine,
# mingw-w64 or emscripten that only the other editions and the tests need.
set -u
source_dir=$(cd "$(dirname "$0")/.." && pwd)
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT

cat >"$stubs/dpkg-query" <<'EOF'
#!/bin/sh
exit 1
EOF
cat >"$stubs/apt-get" <<'EOF'
#!/bin/sh
echo "$@" >>"$APT_LOG"
EOF
cat >"$stubs/cmake" <<'EOF'
#!/bin/sh
echo "cmake stub: stop after the installation" >&2
exit 3
EOF
cat >"$stubs/sudo" <<'EOF'
#!/bin/sh
exec "$@"
EOF
# The regional settings count as generated: the test changes nothing.
cat >"$stubs/locale" <<'EOF'
#!/bin/sh
printf 'bg_BG.utf8\nen_US.utf8\nde_DE.utf8\n'
EOF
chmod +x "$stubs"/*

failures=0
# command | packages it must ask for | patterns it must not ask for
while IFS='|' read -r command wanted unwanted; do
    [ -z "$command" ] && continue
    export APT_LOG="$stubs/apt.log"
    : >"$APT_LOG"
    (cd "$source_dir" && PATH="$stubs:$PATH" $command >/dev/null 2>&1)
    asked=$(grep -v '^update' "$APT_LOG" | tr ' ' '\n' | grep -v '^-' | grep -v '^install$' | sed '/^$/d' \
        | grep -v '=' | sort -u)
    for p in $wanted; do
        if ! grep -qx "$p" <<<"$asked"; then
            echo "FAIL $command: does not ask for $p"
            failures=$((failures + 1))
        fi
    done
    for pattern in $unwanted; do
        if grep -q -- "$pattern" <<<"$asked"; then
            echo "FAIL $command: asks for $(grep -- "$pattern" <<<"$asked" | tr '\n' ' ')"
            failures=$((failures + 1))
        fi
    done
    echo "$command: $(wc -l <<<"$asked") packages"
done <<'ROWS'
./run|qt6-base-dev g++ cmake fonts-liberation xvfb|emscripten chromium wine mingw node npm firefox webkit libgtest
scripts/web|emscripten nodejs fonttools libgtest-dev|wine mingw chromium qt6 firefox webkit
scripts/windows|g++-mingw-w64-x86-64-posix icoutils zip libgtest-dev|emscripten chromium qt6 wine firefox webkit
scripts/test-core|g++ libgtest-dev libfast-float-dev|qt6 emscripten chromium wine mingw
./test|qt6-base-dev xdotool chromium wine64 locales libgtest-dev emscripten|
ROWS

if [ "$failures" -ne 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "every command asks for its own packages only"
