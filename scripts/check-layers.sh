#!/usr/bin/env bash
# Every include between the folders of src/ points down the layers, lowest first (the README's
# layout table); folders on one level include none of each other.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A level=([store]=0 [rules]=1 [month]=2 [ui]=3 [app]=4 [staff]=5 [print]=5 [transfer]=5
    [timesheet]=6)
declare -A home
for folder in "${!level[@]}"; do
    for header in "$folder"/*.h; do
        home[$(basename "$header")]=$folder
    done
done
status=0
for folder in "${!level[@]}"; do
    while IFS=: read -r file included; do
        target=${home[$included]:-}
        if [ -n "$target" ] && [ "$target" != "$folder" ] &&
            [ "${level[$target]}" -ge "${level[$folder]}" ]; then
            echo "src/$file includes $included from src/$target, which is not below it" >&2
            status=1
        fi
    done < <(grep -o '^#include "[^"]*"' "$folder"/*.cpp "$folder"/*.h | sed 's/#include "\(.*\)"/\1/')
done
for folder in "${!level[@]}"; do
    [ -d "$folder" ] || { echo "src/$folder is missing" >&2; status=1; }
done
for folder in */; do
    [ -n "${level[${folder%/}]:-}" ] || { echo "src/$folder has no layer" >&2; status=1; }
done
exit $status
