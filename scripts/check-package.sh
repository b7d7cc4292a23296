#!/usr/bin/env bash
# Builds the Debian package and checks it as an office meets it: Debian's package checks, then the
# unpacked program started offscreen by a user whose program folder is read-only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package.sh
deb=$(ls build/package/nubira_*_*.deb | grep -v dbgsym)

lintian --fail-on error,warning "$deb"
scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
desktop-file-validate "$scratch"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.metainfo.xml

# The user: nobody when run as root (root may write anywhere), else whoever runs this.
chmod -R a-w "$scratch/root"
chmod 755 "$scratch"
mkdir "$scratch/home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$scratch/home"
    as_user=(runuser -u nobody --)
fi
# unixODBC finds the user's data sources below the account's home in the password file, which
# for nobody does not exist: ODBCINI names the file in the scratch home instead.
start=("${as_user[@]}" env -i HOME="$scratch/home" ODBCINI="$scratch/home/.odbc.ini"
    PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="nubira.*.info=true"
    "$scratch/root/usr/bin/nubira")
database="$scratch/home/.local/share/nubira/data/data.mdb"

# Starts the program in the background, and waits until it shows its main window on the user's
# own database.
start_until_main_window() {
    local log=$1
    "${start[@]}" >"$log" 2>&1 &
    running=$!
    for _ in $(seq 100); do
        grep -q "main window shown" "$log" && break
        kill -0 "$running" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q "main window shown, database $database" "$log"; then
        echo "The installed program did not reach its main window on its own database:" >&2
        cat "$log" >&2
        exit 1
    fi
}

start_until_main_window "$scratch/first.log"
first=$running
[ -s "$database" ] || { echo "No database at $database" >&2; exit 1; }

# A second start ends at once and leaves the first running.
if ! timeout 5 "${start[@]}" >"$scratch/second.log" 2>&1; then
    echo "A second start did not end at once with status 0:" >&2
    cat "$scratch/second.log" >&2
    exit 1
fi
if grep -q "main window shown" "$scratch/second.log" || ! kill -0 "$first" 2>/dev/null; then
    echo "A second start opened another main window, or the first copy ended." >&2
    exit 1
fi
# A copy that crashed leaves its lock behind; the next start takes it over.
pkill -KILL -f "$scratch/root/usr/bin/nubira"
wait "$first" 2>/dev/null || true
start_until_main_window "$scratch/after-crash.log"
# A crashed copy's lock that the user cannot remove (the data folder made read-only) is told as the
# folder's fault, not taken for a running copy; the message box waits, so the log is read.
pkill -KILL -f "$scratch/root/usr/bin/nubira"
wait "$running" 2>/dev/null || true
chmod a-w "$(dirname "$database")"
timeout 10 "${start[@]}" >"$scratch/stale.log" 2>&1 || true
pkill -KILL -f "$scratch/root/usr/bin/nubira" || true
chmod u+w "$(dirname "$database")"
if ! grep -q "データフォルダ .* に書き込めないため起動できません" "$scratch/stale.log"; then
    echo "A stale lock in a read-only data folder was not told as such:" >&2
    cat "$scratch/stale.log" >&2
    exit 1
fi
echo "The package installs and starts: $deb"
