# Shared by the package checks: where the sources are, the project's version, the fixed
# time stamp of the example looks, and the checks that print what failed.
src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
version=$(sed -n 's/^project(zel VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
created="2026-01-02 03:04:05"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

expect_equal() {  # WHAT ACTUAL EXPECTED
    if [[ $2 != "$3" ]]; then
        fail "$1: '$2', expected '$3'"
    else
        echo "ok: $1: $2"
    fi
}

expect_contains() {  # WHAT TEXT PART
    if [[ $2 != *"$3"* ]]; then
        fail "$1: '$2' does not hold '$3'"
    else
        echo "ok: $1 holds '$3'"
    fi
}

finish() {
    if ((failures > 0)); then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}

# Builds the C++ and the C host of tests/package/host against the package found under
# PREFIX with find_package(zel), in WORK; extra arguments go to cmake's configure step.
build_cmake_hosts() {  # PREFIX WORK [CMAKE_ARGS...]
    local prefix=$1 work=$2
    shift 2
    cmake -S "$src/tests/package/host" -B "$work" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" "$@" \
        >"$work.log" 2>&1 && cmake --build "$work" >>"$work.log" 2>&1 ||
        { cat "$work.log" >&2; fail "the hosts do not build against $prefix"; }
}
