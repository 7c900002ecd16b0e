#!/usr/bin/env bash
# Every Japanese text of the program lives in texts/: a source anywhere else holding
# Japanese (kana, kanji, full- or half-width forms) fails here, with the line. The tests
# keep their own copies of the texts, so that a changed text fails them.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -d '' sources < <(git ls-files -z -- '*.cpp' '*.h')
else
    mapfile -d '' sources < <(find . -path './build*' -prune -o -path './.*' -prune -o \
        \( -name '*.cpp' -o -name '*.h' \) -printf '%P\0')
fi
outside=()
for file in "${sources[@]}"; do
    case $file in texts/* | tests/*) ;; *) [ -f "$file" ] && outside+=("$file") ;; esac
done
[ ${#outside[@]} -gt 0 ] || { echo "no sources found"; exit 1; }

# In UTF-8: U+3000-U+30FF (punctuation, kana), U+3400-U+9FFF (kanji), U+FF00-U+FFEF
# (full- and half-width forms).
if LC_ALL=C grep -HnP '\xE3[\x80-\x83]|\xE3[\x90-\xBF]|[\xE4-\xE9]|\xEF[\xBC-\xBF]' "${outside[@]}"; then
    echo "Japanese texts belong in texts/"
    exit 1
fi
