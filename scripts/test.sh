#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Installs what is missing; builds with ThreadSanitizer and runs the threaded tests that it can
# judge without an instrumented Qt (RV_SKIP_TSAN=1 skips that run); then builds everything with
# AddressSanitizer, LeakSanitizer and UBSan and runs every test. The service's store tests run
# twice: on SQLite and, as their *_postgresql twins, each in a throw-away PostgreSQL cluster
# that pg_virtualenv starts and removes (see tests/service/CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --run
jobs=$(nproc)
# Line tables are all the sanitizers' reports need; full debugging information makes every
# object, precompiled header and test executable much larger to write and to link.
debug_info=-DCMAKE_CXX_FLAGS_DEBUG=-g1

if [ "${RV_SKIP_TSAN:-0}" != 1 ]; then
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRV_SANITIZE=thread \
    -DRV_BUILD_BENCH=OFF -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON "$debug_info"
  cmake --build build-tsan --parallel "$jobs" --target tst_rvcurlnetworklayer
  ctest --test-dir build-tsan --output-on-failure -L '^tsan-clean$'
fi

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRV_SANITIZE=ON -DRV_BUILD_BENCH=OFF \
  "$debug_info"
cmake --build build-test --parallel "$jobs"
ctest --test-dir build-test --output-on-failure --parallel "$jobs"
