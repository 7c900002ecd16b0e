#!/usr/bin/env bash
# Dependencies point one way: app -> rename -> targets -> naming, targets -> filetime,
# rename -> settings -> naming, capture -> filetime, and files/ and text/ at the bottom.
# The core includes no Qt.
# Prints every include that breaks the order and fails if there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

declare -A allowed=(
    [text]="text"
    [files]="files text"
    [naming]="naming text"
    [filetime]="filetime files text"
    [settings]="settings naming files text"
    [targets]="targets naming filetime files text"
    [rename]="rename targets naming filetime settings files text"
    [capture]="capture filetime files text"
)
broken=0
for folder in "${!allowed[@]}"; do
    [ -d "$folder" ] || { echo "missing folder: $folder"; broken=1; continue; }
    while IFS=: read -r file _ include; do
        target=$(sed -E 's/^#include [<"]([^/">]+)\/.*/\1/' <<<"$include")
        if [[ "$include" =~ ^#include\ \<Q ]]; then
            echo "$file: the core includes Qt: $include"
            broken=1
        elif [[ "$include" =~ ^#include\ \" ]] && [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file: $folder/ may not include $target/: $include"
            broken=1
        fi
    done < <(grep -Hn '^#include' "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
done
exit "$broken"
