#!/usr/bin/env bash
# Installs what building the program and its package needs, builds into
# build/albero-pacchetto only what the package holds (no tests, no benchmarks)
# and makes the Debian package with CPack in build/pacchetto; the package's
# path is the last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/installa.sh --pacchetto >&2
albero=build/albero-pacchetto
# Optimised without debugging information, which the package strips anyway;
# through ccache when it is installed, so that building again is quick.
opzioni=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" -DBROVATO5_PROVE=OFF)
if command -v ccache >/dev/null; then opzioni+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$albero" "${opzioni[@]}" >/dev/null
cmake --build "$albero" -j "$(nproc)" >&2
rm -f build/pacchetto/brovato5_*.deb
radice=$PWD
(cd "$albero" && cpack -G DEB -B "$radice/build/pacchetto" >&2)
ls "$PWD"/build/pacchetto/brovato5_*.deb
