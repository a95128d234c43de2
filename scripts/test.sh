#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Installs what is missing, builds everything with AddressSanitizer and UBSan, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --run
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRV_SANITIZE=ON -DRV_BUILD_BENCH=OFF
cmake --build build-test --parallel "$(nproc)"
ctest --test-dir build-test --output-on-failure --parallel "$(nproc)"
