#!/usr/bin/env bash
# Configures and builds into build/; the build also creates build/bin/data/data.mdb if missing.
set -euo pipefail
cd "$(dirname "$0")/.."
# NUBIRA_WERROR=ON (set by CI) makes warnings in our own code errors. It is passed only when set,
# so that a later build without it keeps the configured flags and rebuilds nothing.
options=()
[ -z "${NUBIRA_WERROR:-}" ] || options+=(-DNUBIRA_WERROR="$NUBIRA_WERROR")
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
cmake --build build
