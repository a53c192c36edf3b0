#!/bin/sh
# Installs from Debian's registry (Debian 12) what building and testing Belmo needs, when it
# is missing. Runs apt-get directly as root, through sudo otherwise. Nothing else is
# downloaded: every library comes as a Debian package.
set -eu

packages="g++ make cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core xvfb xauth poppler-utils libsqlite3-dev libssl-dev sqlite3 libgtest-dev qt6-translations-l10n
lintian desktop-file-utils man-db dpkg-dev file bash-completion postgresql-15 libpq-dev"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
export DEBIAN_FRONTEND=noninteractive
# The tests start a server of their own in a temporary folder, on a socket there only. The
# server package would otherwise make (and on some machines start) a default cluster that
# listens on a TCP port: tell it not to before it is installed.
case $missing in *postgresql-15*)
    as_root mkdir -p /etc/postgresql-common/createcluster.d
    echo "create_main_cluster = off" | as_root tee /etc/postgresql-common/createcluster.d/belmo-no-main-cluster.conf >/dev/null
esac
echo "Installing:$missing"
as_root apt-get update
# shellcheck disable=SC2086
as_root apt-get install -y --no-install-recommends $missing
