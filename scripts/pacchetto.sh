#!/usr/bin/env bash
# Installs what building the program and its package needs, builds into
# build/albero-pacchetto only what the package holds (no tests, no benchmarks)
# and makes the Debian package with CPack in build/pacchetto; the package's
# path is the last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/installa.sh --pacchetto >&2
albero=build/albero-pacchetto
cmake -S . -B "$albero" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBROVATO5_PROVE=OFF >/dev/null
cmake --build "$albero" -j "$(nproc)" >&2
rm -f build/pacchetto/brovato5_*.deb
radice=$PWD
(cd "$albero" && cpack -G DEB -B "$radice/build/pacchetto" >&2)
ls "$PWD"/build/pacchetto/brovato5_*.deb
