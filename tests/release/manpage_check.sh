#!/usr/bin/env bash
# The manual pages format without a warning, and tarvo-cli(1) documents every
# command and option that tarvo-cli --help lists.
# Usage: manpage_check.sh TARVO_CLI MAN_DIR
set -euo pipefail
cli=$1
man_dir=$2

fail() { echo "FAIL: $*" >&2; exit 1; }

help=$("$cli" --help) || fail "tarvo-cli --help ended with $?"
commands=$(sed -n '/^Befehle:$/,/^$/p' <<<"$help" | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p')
[[ -n $commands ]] || fail "tarvo-cli --help lists no command"
page=$man_dir/tarvo-cli.1
for command in $commands; do
    grep -Eq "^\.BI? \"?$command[ \"]|^\.BI? $command\$" "$page" ||
        fail "tarvo-cli(1) does not describe the command '$command'"
done
for option in --home --observer --help --version; do
    grep -q "^\.BI\? .*${option//-/\\\\-}" "$page" || fail "tarvo-cli(1) does not describe $option"
done

if ! command -v groff >/dev/null; then
    echo "SKIP: groff nicht gefunden (Paket groff-base); die Seiten werden nicht gesetzt"
    exit 77
fi
for page in "$man_dir"/tarvo.1 "$man_dir"/tarvo-cli.1; do
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
    [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
    gzip -dc "$page.gz" | cmp -s - "$page" || fail "$(basename "$page").gz is not the page"
done
echo "manual page check passed"
