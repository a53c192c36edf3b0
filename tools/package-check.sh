#!/bin/sh
# Makes the Debian package from the build in build/ and checks it as a user's machine would
# take it: installed with dpkg, the program run from /usr/bin (its version, a demo folder
# carried forward, the company file read by the sqlite3 shell through the extension), the
# manual page rendered by man, lintian and desktop-file-validate clean. The package is
# removed again at the end. Needs root (dpkg -i), as the CI has.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}

rm -f "$build"/belmo_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/belmo_*_amd64.deb)
echo "package: $deb"

lintian --fail-on error,warning "$deb"
desktop-file-validate packaging/belmo.desktop

work=$(mktemp -d)
trap 'dpkg -r belmo >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
dpkg -i "$deb"
/usr/bin/belmo --version
desktop-file-validate /usr/share/applications/belmo.desktop
# A machine that keeps no manual pages (dpkg path-exclude) still shows the packaged one.
if [ -f /usr/share/man/man1/belmo.1.gz ]; then
    MANWIDTH=80 man --warnings -E UTF-8 -P cat belmo > "$work/belmo.txt"
else
    dpkg-deb -x "$deb" "$work/deb"
    MANWIDTH=80 man --warnings -E UTF-8 -P cat -l "$work/deb/usr/share/man/man1/belmo.1.gz" > "$work/belmo.txt"
fi
grep -q "EXIT STATUS" "$work/belmo.txt"
echo "manual page: $(wc -l < "$work/belmo.txt") lines"

cd "$work"
/usr/bin/belmo demo demo > /dev/null
printf '1234\n' > password
/usr/bin/belmo run --folder demo --user MUHASEBE --password-file password --source DEMO2025 --target DEMO2026 \
    --yes > run.txt
tail -n 3 run.txt
# The installed extension lets the sqlite3 shell read a company file.
sqlite3 -cmd ".load /usr/lib/belmo/belmo_sqlite" demo/MUHASEBE/DEMO2026.mdb \
    "select 'current accounts carried: ' || count(*) || ', in Ankara (as ANKARA): ' || sum(Sehir = 'ANKARA') from Hesaplar"
# The installed completion offers the folder's companies and the program's step keys.
bash -c '. /usr/share/bash-completion/bash_completion; . /usr/share/bash-completion/completions/belmo
    complete() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        COMPREPLY=(); _belmo 2>/dev/null; echo "${COMPREPLY[*]}"; }
    [ "$(complete belmo run --folder demo --target "")" = "DEMO2025 DEMO2026" ] &&
    [ "$(complete belmo run --steps sofor)" = "soforyi soforyd" ] &&
    [ "$(complete belmo ba)" = "batch backups" ]' || { echo "bash completion: wrong answers" >&2; exit 1; }
echo "package check: passed"
