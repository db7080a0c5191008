#!/usr/bin/env bash
# The bash completion of ovlet: commands, options, and files by extension.
set -euo pipefail
source "$1"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
touch card.ovt other.OVT photo.jpg people.csv notes.txt contacts.vcf
mkdir sub

complete_words() {  # prints the completions of the words given, the last being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _ovlet
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {  # expect "WANTED" words...
    local wanted=$1
    shift
    local got
    got=$(complete_words "$@")
    if [[ "$got" != "$wanted" ]]; then
        echo "completing '$*': got '$got', wanted '$wanted'"
        exit 1
    fi
}

expect "show" ovlet sh
expect "decode" ovlet dec
expect "--help --verbose --version" ovlet --
expect "card.ovt other.OVT sub" ovlet show ""
expect "--json" ovlet show --j
expect "photo.jpg sub" ovlet make out.ovt --picture ""
expect "people.csv sub" ovlet make --csv ""
expect "sub" ovlet make --csv people.csv -o ""
expect "contacts.vcf sub" ovlet import ""
expect "--all" ovlet import contacts.vcf --a
expect "0 32 8" ovlet decode photo.jpg out.pam --depth ""
expect "photo.jpg sub" ovlet info ""
expect "City= Company= Country=" ovlet make C
expect "card.ovt" ovlet make ca
expect "--vcard --vcard3" ovlet export --vc
echo "completion check passed"
