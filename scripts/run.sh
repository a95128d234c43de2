#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Installs what is missing, builds, starts the stand-in booking service on loopback (unless one
# already answers on 127.0.0.1:8080), and opens the application. The service started here is
# stopped when the application quits. Without a display the application runs on a virtual X
# display served by a VNC server on loopback only: connect a VNC viewer to the address printed,
# with the password printed beside it (made anew for each run).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --run
# No precompiled headers here: they would fill the build folder for a build that is done once.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRV_BUILD_TESTS=OFF -DRV_BUILD_BENCH=OFF \
  -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON
cmake --build build --parallel "$(nproc)" --target rv-patient rv-service

port=8080
service_pid=""
cleanup() { [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null; true; }
trap cleanup EXIT INT TERM
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  echo "A service already answers on 127.0.0.1:$port; using it."
else
  build/service/rv-service --listen "127.0.0.1:$port" &
  service_pid=$!
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
fi

app=(build/src/app/rv-patient --service "127.0.0.1:$port" "$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  scripts/headless-session.sh "${app[@]}"
else
  "${app[@]}"
fi
