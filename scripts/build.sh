#!/usr/bin/env bash
# Configures and builds into build/; the build also creates build/bin/data/data.mdb if missing.
set -euo pipefail
cd "$(dirname "$0")/.."
# NUBIRA_WERROR=ON (set by CI) makes warnings in our own code errors.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUBIRA_WERROR="${NUBIRA_WERROR:-OFF}"
cmake --build build
