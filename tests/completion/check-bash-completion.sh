#!/usr/bin/env bash
# Drives packaging/completions/reader-config.bash as bash drives it on Tab:
# the function 'complete -p reader-config' names, with COMP_WORDS split as
# bash splits a line (at spaces, and around "="), against the built program
# on virtual readers. Prints each case that completes otherwise.
#   check-bash-completion.sh SCRIPT PROGRAM_DIR
set -uo pipefail
script=$1
export PATH="$2:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir folder
touch fleet.json other.json notes.txt

# shellcheck source=/dev/null
source "$script"
registered=$(complete -p reader-config) || { echo "no completion for reader-config"; exit 1; }
function=$(sed -n 's/.*-F \([^ ]*\) .*/\1/p' <<<"$registered")
[ -n "$function" ] || { echo "no function in: $registered"; exit 1; }

failed=0
# expect "WANTED..." WORD...: completes the last WORD and compares the
# candidates, sorted and joined by spaces.
expect() {
    local wanted=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    "$function" reader-config "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ' | sed 's/ $//')
    if [ "$got" != "$wanted" ]; then
        echo "FAIL: [$*] completes to [$got], not [$wanted]"
        failed=1
    fi
}

expect "apply" reader-config ap
expect "apply batch list read verify" reader-config --simulate ""
expect "--force" reader-config apply --fo
expect "--parallel" reader-config batch fleet.json --par
expect "" reader-config verify fleet.json --par
expect "--json" reader-config list --js
expect "en zh" reader-config --lang ""
expect "zh" reader-config --lang = z
expect "--lang=zh" reader-config --lang=z
expect "fleet.json folder/ other.json" reader-config apply ""
expect "fleet.json" reader-config --simulate verify fl
expect "" reader-config apply fleet.json ""
expect "fleet.json folder/ notes.txt other.json" reader-config batch fleet.json --log ""
expect "keypad" reader-config --simulate = ke
expect "reader,keypad" reader-config --simulate = reader,k
expect "/dev/vhidraw0 /dev/vhidraw1 /dev/vhidraw2" reader-config --simulate=reader,reader,keypad --device ""
expect "/dev/vhidraw1" reader-config --simulate=reader,reader read --device = /dev/vhidraw1
expect "VR000001 VR000002" reader-config --simulate=reader,reader --serial VR
[ $failed = 0 ] && echo "bash completion ok"
exit $failed
