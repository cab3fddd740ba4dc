#!/usr/bin/env bash
# Shows that scripts/check-exports fails when the library loses an exported name or
# starts to export an internal one, and passes on the library's real export table.
#   check_exports_test.sh CHECK_SCRIPT LIBRARY EXPECTED_LIST
set -euo pipefail
check=$1 library=$2 list=$3
case "$library" in *.dll | *.DLL) kind=pe ;; *) kind=elf ;; esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
expect() {  # WANTED_STATUS DESCRIPTION SYMBOLS_FILE [TEXT_THE_REPORT_MUST_NAME]
    local wanted=$1 what=$2 symbols=$3 named=${4:-} status=0
    "$check" --symbols "$symbols" "$kind" "$list" >"$work/out" 2>&1 || status=$?
    if [[ $status -ne $wanted ]]; then
        echo "FAIL: $what: status $status, wanted $wanted"
        sed 's/^/  | /' "$work/out"
        failures=$((failures + 1))
    elif [[ -n $named ]] && ! grep -qF -- "$named" "$work/out"; then
        echo "FAIL: $what: the report does not name $named"
        sed 's/^/  | /' "$work/out"
        failures=$((failures + 1))
    else
        echo "ok: $what"
    fi
}

"$check" --list-symbols "$library" >"$work/real"
expect 0 "the library's own export table matches" "$work/real"

# A lost interface name: the .cube reader disappears.
grep -v readCubeFile "$work/real" >"$work/lost"
expect 1 "a lost exported name fails" "$work/lost" "ReadFiles::readCubeFile("

# A lost overload: only one of the two zel_exec overloads stays.
grep -v '^_ZN12ZelGenerator8zel_execER11ZelGenInputR12ZelGenOutput$' "$work/real" >"$work/overload"
expect 1 "a lost overload fails" "$work/overload" "ZelGenerator::zel_exec(ZelGenInput&, ZelGenOutput&)"

# A lost C name: the C interface's synchronous job disappears.
grep -v '^zel_make_look$' "$work/real" >"$work/lost_c"
expect 1 "a lost C name fails" "$work/lost_c" "zel_make_look"

# Leaked internals: a stage function, a private generator member, a C-style name, a
# local static of a stage function.
{ cat "$work/real"; echo _ZN3zel8platform12localTimeNowEv; } >"$work/leak_stage"
expect 1 "a leaked stage function fails" "$work/leak_stage" "zel::platform::localTimeNow()"
{ cat "$work/real"; echo _ZN12ZelGenerator10joinWorkerEv; } >"$work/leak_private"
expect 1 "a leaked private member fails" "$work/leak_private" "ZelGenerator::joinWorker()"
{ cat "$work/real"; echo zel_internal_helper; } >"$work/leak_c"
expect 1 "a leaked unmangled name fails" "$work/leak_c" "zel_internal_helper"
{ cat "$work/real"; echo _ZZN3zel8platform12localTimeNowEvE5cache; } >"$work/leak_static"
expect 1 "a leaked local static fails" "$work/leak_static" "zel::platform::localTimeNow()::cache"

# Weak copies of the C++ runtime's templates are not the library's interface.
{
    cat "$work/real"
    echo _ZNSt6vectorIdSaIdEE14_M_fill_assignEmRKd
    echo _ZZNSt8__detail18__to_chars_10_implIjEEvPcjT_E8__digits
} >"$work/runtime"
expect 0 "runtime template copies are ignored" "$work/runtime"

[[ $failures -eq 0 ]]
