#!/usr/bin/env bash
# The whole karvel process against Debian's Perl `rename` doing the same job (new name and
# modified time) on the same 1,000 files in memory, alternating, 20 times each; prints the
# median of each in milliseconds. Usage: bench/compare-with-perl-rename.sh [build folder]
set -euo pipefail
build=${1:-build}
karvel=$(realpath "$build/app/karvel")
work=$(mktemp -d /dev/shm/karvel-peer-XXXXXX)
trap 'rm -rf "$work"' EXIT
files=1000

fill() {
    rm -rf "$work/files" && mkdir "$work/files"
    (cd "$work/files" && for ((i = 0; i < files; i++)); do : >"DSC_$((1000 + i)).jpg"; done)
}
millis() { date +%s%N; }

karvel_times=() perl_times=()
for ((round = 0; round < 20; round++)); do
    fill
    start=$(millis)
    (cd "$work/files" && XDG_STATE_HOME="$work/state" KARVEL_INI=/nonexistent "$karvel" --batch --yes \
        --date 2024-03-05 --pattern yymmdd --digits 4 --midnight -- *.jpg 2>/dev/null)
    karvel_times+=($(( ($(millis) - start) / 1000 )))
    fill
    start=$(millis)
    (cd "$work/files" && rename -e 'our $n; utime((stat $_)[8], 1709564400, $_); $_ = sprintf("240305_%04d.jpg", ++$n)' -- *.jpg)
    perl_times+=($(( ($(millis) - start) / 1000 )))
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
echo "karvel: $(median "${karvel_times[@]}") us, perl rename: $(median "${perl_times[@]}") us (median of 20, $files files)"
