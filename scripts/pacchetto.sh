#!/usr/bin/env bash
# Builds the program into build/ and makes its Debian package with CPack;
# the package's path is the last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" >&2
rm -f build/pacchetto/brovato5_*.deb
(cd build && cpack -G DEB >&2)
ls "$PWD"/build/pacchetto/brovato5_*.deb
