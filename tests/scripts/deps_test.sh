#!/usr/bin/env bash
# scripts/deps, the installer of the build tools that scripts/example and scripts/test
# run first: its list is the README's apt line, and with stand-ins for dpkg-query, id,
# apt-get and sudo it installs just what is missing, as root or through sudo, and names
# the packages when it cannot install them.
#   deps_test.sh SOURCE_DIR WORK_DIR
set -uo pipefail
src=$1
work=$2
bash=$(command -v bash)
rm -rf "$work" && mkdir -p "$work/bin" || exit 1
failures=0
check() {  # WHAT CONDITION...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# The README's apt line (the first one, continued over backslashed lines) is the list.
readme=$(sed -n '/^apt-get install -y cmake/,/[^\\]$/p' "$src/README.md" | tr -d '\\\n' |
    sed 's/^apt-get install -y//' | tr ' ' '\n' | grep . | sort)
listed=$("$src/scripts/deps" list test | sort)
check "the README's apt line is the installer's list" [ "$readme" = "$listed" ]
check "example needs a part of it" [ -z "$(comm -13 <(echo "$listed") \
    <("$src/scripts/deps" list example | sort))" ]
# The browser page's apt line is the web list.
web=$(sed -n 's/^apt-get install -y \(emscripten .*\)/\1/p' "$src/README.md" | tr ' ' '\n' | sort)
check "the README's browser apt line is the web list" \
    [ "$web" = "$("$src/scripts/deps" list web | sort)" ]

# Stand-ins: every package installed but libspng-dev and python3-pytest; apt-get and sudo
# write what they were asked into the log.
cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/bash
case ${@: -1} in libspng-dev|python3-pytest) exit 1 ;; esac
printf 'install ok installed'
STUB
printf '#!/bin/bash\necho "$ZEL_TEST_UID"\n' >"$work/bin/id"
printf '#!/bin/bash\necho "apt-get $*" >>"$ZEL_TEST_LOG"\n' >"$work/bin/apt-get"
printf '#!/bin/bash\necho "sudo" >>"$ZEL_TEST_LOG"\nexec "$@"\n' >"$work/sudo"
chmod +x "$work/bin/"* "$work/sudo"
run() {  # UID [WITH_SUDO]: runs the installer with the stand-ins alone on PATH
    rm -f "$work/log"
    [[ ${2:-} == sudo ]] && cp "$work/sudo" "$work/bin/sudo" || rm -f "$work/bin/sudo"
    ZEL_TEST_UID=$1 ZEL_TEST_LOG=$work/log PATH=$work/bin \
        "$bash" "$src/scripts/deps" install test >"$work/out" 2>&1
}

run 0
status=$?
check "as root: done" [ "$status" -eq 0 ]
check "as root: apt-get installs just what is missing" \
    grep -qx "apt-get install -y -qq --no-install-recommends libspng-dev python3-pytest" "$work/log"
run 1000 sudo
status=$?
check "through sudo: done" [ "$status" -eq 0 ]
check "through sudo: sudo runs apt-get" grep -qx "sudo" "$work/log"
run 1000
status=$?
check "without root and sudo: fails" [ "$status" -eq 1 ]
check "without root and sudo: names the packages" \
    grep -q "apt-get install -y libspng-dev python3-pytest" "$work/out"
check "without root and sudo: installs nothing" [ ! -e "$work/log" ]
((failures == 0)) || { echo "$failures check(s) failed"; cat "$work/out"; exit 1; }
