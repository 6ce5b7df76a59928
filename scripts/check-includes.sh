#!/usr/bin/env bash
# Fails when a file in src/ includes a folder beside or above its own.
# The floors, from the ground up, in the order of the README's layout table; folders on
# one line share a floor and do not include each other.
set -euo pipefail
cd "$(dirname "$0")/.."

floors=(
    "matching"
    "common"
    "print"
    "ui"
    "players scoring"
    "roundrobin swiss"
    "pairing reports exchange"
    "views club"
    "app"
)

declare -A floor
for i in "${!floors[@]}"; do
    for folder in ${floors[$i]}; do
        floor[$folder]=$i
    done
done

status=0
for dir in src/*/; do
    folder=$(basename "$dir")
    if [ -z "${floor[$folder]+set}" ]; then
        echo "src/$folder: folder not in the floors of scripts/check-includes.sh" >&2
        status=1
    fi
done

# Every line `#include "folder/…"` as file:line:folder.
while IFS=: read -r file line target; do
    folder=${file#src/}
    folder=${folder%%/*}
    [ "$target" = "$folder" ] && continue
    [ -n "${floor[$folder]+set}" ] || continue
    if [ -z "${floor[$target]+set}" ]; then
        echo "$file:$line: includes \"$target/\", a folder not in the floors" >&2
        status=1
    elif [ "${floor[$target]}" -ge "${floor[$folder]}" ]; then
        if [ "${floor[$target]}" -eq "${floor[$folder]}" ]; then where=beside; else where=above; fi
        echo "$file:$line: \"$target/\" is $where \"$folder/\"; includes point down" >&2
        status=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' src |
             sed -E 's/^([^:]+):([0-9]+):[^"]*"([^"/]+)\/.*/\1:\2:\3/')

exit $status
