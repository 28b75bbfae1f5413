#!/usr/bin/env bash
# Installs what the project needs (Debian 12), builds into build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/installa.sh
# Some tests run under an Italian locale (decimal comma), as the program does on
# an Italian desktop: make that locale when the machine lacks it.
if ! locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO localedef -i it_IT -f UTF-8 it_IT.UTF-8 || echo "it_IT.UTF-8 non disponibile: i test di localizzazione saranno saltati"
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)"
# The Debian package, unpacked and run as installed
bash scripts/prova-pacchetto.sh
# Every test again in a build that checks the programs as they run: memory
# faults, leaks and undefined behaviour fail the test that meets them.
cmake -S . -B build-sanitizzata -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBROVATO5_SANITIZZA=ON
cmake --build build-sanitizzata -j "$(nproc)"
ctest --test-dir build-sanitizzata --output-on-failure -j "$(nproc)"
