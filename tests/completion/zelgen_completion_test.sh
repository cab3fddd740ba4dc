#!/usr/bin/env bash
# zelgen's bash completion as a user meets it: commands, options of a command, the
# choices of an option (camera names from zelgen's own help), .cube files for make and
# .zel files for inspect, folders for --out-dir.
#   zelgen_completion_test.sh COMPLETION_FILE ZELGEN WORK_DIR
set -uo pipefail
completion=$1
zelgen=$2
work=$3
rm -rf "$work" && mkdir -p "$work/looks" "$work/cards" && cd "$work" || exit 1
touch looks/Day.cube looks/Night.CUBE looks/notes.txt Day.zel
source "$completion"
failures=0

complete_line() {  # the words typed so far, the last one being completed
    COMP_WORDS=("$zelgen" "$@")
    COMP_CWORD=${#COMP_WORDS[@]}
    COMP_CWORD=$((COMP_CWORD - 1))
    _zelgen
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

expect() {  # WORDS... => EXPECTED (the completions, sorted, space-separated)
    local expected=${*: -1} words=("${@:1:$#-1}") got
    got=$(complete_line "${words[@]}")
    if [[ $got != "$expected " ]]; then
        echo "FAIL: zelgen ${words[*]}<TAB>: '$got', expected '$expected '"
        failures=$((failures + 1))
    else
        echo "ok: zelgen ${words[*]}<TAB>: $got"
    fi
}

expect "" "--help --version check inspect make preview"
expect "ma" "make"
expect make --camera "" "CAMA-001 CAMB-001 CAMB-002"
expect make --camera CAMB-0 "CAMB-001 CAMB-002"
expect make --source acesc "acescc acescct"
expect make --cr "--created"
expect make "looks/" "looks/Day.cube looks/Night.CUBE"
expect make --out-dir "c" "cards"
expect inspect "D" "Day.zel"
expect check Day.zel --look "looks/N" "looks/Night.CUBE"
((failures == 0)) || { echo "$failures completion(s) wrong"; exit 1; }
