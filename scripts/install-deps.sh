#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the program and the tests need, when missing,
# and any further packages named as arguments.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libgl-dev
    libsqlite3-dev libbenchmark-dev
    unixodbc-dev unixodbc odbcinst libsqliteodbc
    fonts-ipafont
    libicu-dev poppler-utils
    qt6-translations-l10n
    libpq-dev libqt6sql6-psql postgresql-15 odbc-postgresql
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
