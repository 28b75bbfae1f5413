#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
set -euo pipefail
PACCHETTI=(g++ cmake pkg-config qt6-base-dev mdbtools-dev mdbtools libsqlite3-dev
           libgtest-dev libgmock-dev fonts-liberation2 xvfb xauth locales
           libcurl4-openssl-dev python3-aiosmtpd openssl xdg-utils
           cups libcups2-dev poppler-utils libxxhash-dev libxcb1-dev qt6-translations-l10n
           dpkg-dev file lintian desktop-file-utils appstream man-db)
mancanti=()
for p in "${PACCHETTI[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || mancanti+=("$p")
done
[ ${#mancanti[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${mancanti[@]}"
