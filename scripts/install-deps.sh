#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the program and the tests need, when missing,
# and any further packages named as arguments.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libgl-dev
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
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Installing packages needs root, and sudo is not installed." >&2
        echo "Run this script once as root (su -c scripts/install-deps.sh), or install sudo and join the sudo group." >&2
        exit 1
    fi
    if ! sudo -v; then
        echo "sudo did not let $(id -un) install packages." >&2
        echo "Run this script once as root (su -c scripts/install-deps.sh), or join the sudo group (adduser $(id -un) sudo as root, then log in again)." >&2
        exit 1
    fi
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
# Set through env so that sudo, which drops the caller's environment, keeps apt unattended.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
