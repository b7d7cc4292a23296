#!/usr/bin/env bash
# Installs what is missing, builds (creating the database file if missing), and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/nubira
