#!/usr/bin/env bash
# Capture times of the same camera JPEGs in memory: this reader (the capture_times program, on one
# thread and on two) against Debian's `exiftool -T -DateTimeOriginal`, taking turns, ROUNDS times
# each. Checks that both print the same dates, then prints the median of each in milliseconds and
# how many times faster this reader is.
# Usage: bench/compare-with-exiftool.sh [build folder] [files, 10000] [rounds, 5]
set -euo pipefail
build=${1:-build}
files=${2:-10000}
rounds=${3:-5}
reader=$(realpath "$build/bench/capture_times")
command -v exiftool >/dev/null || { echo "exiftool is missing (Debian: libimage-exiftool-perl)" >&2; exit 1; }
work=$(mktemp -d /dev/shm/karvel-exiftool-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$reader" --make "$files" "$work/jpegs"
shopt -s nullglob
jpegs=("$work"/jpegs/*.jpg)
[ ${#jpegs[@]} -eq "$files" ] || { echo "made ${#jpegs[@]} files, not $files" >&2; exit 1; }

# Both read every file once before anything is timed, so that all runs find them warm.
"$reader" --threads 2 "${jpegs[@]}" >"$work/ours.txt"
exiftool -T -DateTimeOriginal "${jpegs[@]}" >"$work/exiftool.txt"
if ! cmp -s "$work/ours.txt" "$work/exiftool.txt"; then
    echo "the dates differ:" >&2
    diff "$work/ours.txt" "$work/exiftool.txt" | head -n 5 >&2
    exit 1
fi

# Timed while holding the build lock, so that no build on this machine runs meanwhile.
exec {lockfd}>>/tmp/karvel-build.lock
flock "$lockfd"
millis() { echo $(($(date +%s%N) / 1000000)); }
one=() two=() peer=()
for ((round = 0; round < rounds; round++)); do
    start=$(millis)
    "$reader" --threads 1 "${jpegs[@]}" >/dev/null
    one+=($(($(millis) - start)))
    start=$(millis)
    "$reader" --threads 2 "${jpegs[@]}" >/dev/null
    two+=($(($(millis) - start)))
    start=$(millis)
    exiftool -T -DateTimeOriginal "${jpegs[@]}" >/dev/null
    peer+=($(($(millis) - start)))
done
exec {lockfd}>&-

median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
ours1=$(median "${one[@]}") ours2=$(median "${two[@]}") theirs=$(median "${peer[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 1) }'; }
echo "$files JPEGs, median of $rounds: capture_times $ours1 ms on 1 thread, $ours2 ms on 2;" \
    "exiftool $theirs ms; $(ratio "$theirs" "$ours1")x faster on 1 thread," \
    "$(ratio "$theirs" "$ours2")x on 2"
