#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with; with
# --pacchetto only those that building the program and its Debian package needs.
set -euo pipefail
# The program and its package: compiler, build tools, libraries' headers,
# dpkg-shlibdeps and file for the package's dependencies.
PACCHETTI=(g++ cmake pkg-config qt6-base-dev mdbtools-dev libsqlite3-dev libcurl4-openssl-dev
           libcups2-dev libxxhash-dev libxcb1-dev dpkg-dev file)
# The tests, the checks of the package, and what the program runs with.
if [ "${1:-}" != "--pacchetto" ]; then
  PACCHETTI+=(mdbtools libgtest-dev libgmock-dev fonts-liberation2 xvfb xauth locales
              python3-aiosmtpd openssl xdg-utils cups poppler-utils qt6-translations-l10n
              lintian desktop-file-utils appstream man-db)
fi
mancanti=()
for p in "${PACCHETTI[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || mancanti+=("$p")
done
[ ${#mancanti[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${mancanti[@]}"
