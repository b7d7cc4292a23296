#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -x build/bin/nubira ]; then
    exec build/bin/nubira
fi
echo "Built; the database file is build/bin/data/data.mdb. The program window is not there yet."
