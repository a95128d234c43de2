#!/usr/bin/env bash
# Installs what is missing, builds, and runs what exists so far.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRV_BUILD_TESTS=OFF -DRV_BUILD_BENCH=OFF
cmake --build build --parallel "$(nproc)"
echo "The application is not built yet: only the protocol libraries exist so far."
