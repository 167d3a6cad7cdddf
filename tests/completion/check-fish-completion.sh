#!/usr/bin/env bash
# Asks fish what it completes (complete -C) with
# packaging/completions/reader-config.fish loaded, against the built program
# on virtual readers. Prints each case that completes otherwise.
#   check-fish-completion.sh SCRIPT PROGRAM_DIR
set -uo pipefail
script=$1
export PATH="$2:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir folder
touch fleet.json notes.txt

failed=0
# expect "WANTED..." LINE: the candidates (without descriptions), sorted,
# joined by spaces.
expect() {
    local got
    got=$(fish --no-config -c "source '$script'; complete -C '$2'" | cut -f1 | sort | tr '\n' ' ' |
        sed 's/ $//')
    if [ "$got" != "$1" ]; then
        echo "FAIL: [$2] completes to [$got], not [$1]"
        failed=1
    fi
}

expect "apply batch list read verify" "reader-config "
expect "en zh" "reader-config --lang "
expect "--force" "reader-config apply --for"
expect "--parallel" "reader-config batch fleet.json --para"
expect "fleet.json folder/" "reader-config verify "
expect "--simulate=keypad" "reader-config --simulate=k"
expect "/dev/vhidraw0 /dev/vhidraw1" "reader-config --simulate=reader,keypad --device "
expect "VR000001" "reader-config --simulate --serial "
[ $failed = 0 ] && echo "fish completion ok"
exit $failed
