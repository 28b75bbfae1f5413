#!/usr/bin/env bash
# Installs what the project needs (Debian 12), builds into build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/installa.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)"
