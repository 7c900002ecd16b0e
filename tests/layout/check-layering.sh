#!/usr/bin/env bash
# Dependencies point one way, as cmake/Layers.cmake lists them for each core folder; the
# core and the command line include no Qt. Prints every include that breaks the order and
# fails if there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

declare -A allowed=()
while read -r folder below; do
    allowed[$folder]="$folder $below"
done < <(sed -nE 's/^set\(KARVEL_LAYER_([a-z]+) "?([a-z ]*)"?\)$/\1 \2/p' cmake/Layers.cmake)
[ ${#allowed[@]} -gt 0 ] || { echo "no layers read from cmake/Layers.cmake"; exit 1; }

broken=0
for folder in "${!allowed[@]}"; do
    [ -d "$folder" ] || { echo "missing folder: $folder"; broken=1; continue; }
    while IFS=: read -r file _ include; do
        target=$(sed -E 's/^#include [<"]([^/">]+)\/.*/\1/' <<<"$include")
        if [[ "$include" =~ ^#include\ \<Q ]]; then
            echo "$file: $folder/ includes Qt: $include"
            broken=1
        elif [[ "$include" =~ ^#include\ \" ]] && [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file: $folder/ may not include $target/: $include"
            broken=1
        fi
    done < <(grep -Hn '^#include' "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
done
exit "$broken"
