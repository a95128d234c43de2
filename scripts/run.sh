#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Installs what is missing, builds, starts the stand-in booking service on loopback over HTTPS
# (unless one already answers on 127.0.0.1:8080, used as it is over plain HTTP), and opens the
# application. The service's certificate comes from a throw-away CA made on the first run in
# build/run-certificates (and again when it expires), which the application is told to trust;
# the application keeps that CA's path for later starts, so the folder stays. The service started
# here is stopped when the application quits. Without a display the application runs on a virtual X
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
certificates=$PWD/build/run-certificates
cleanup() { [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null; true; }
trap cleanup EXIT INT TERM
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  echo "A service already answers on 127.0.0.1:$port; using it."
  service=(--service "http://127.0.0.1:$port")
else
  # A day's margin, so that a run never starts with a certificate about to expire.
  if ! openssl x509 -checkend 86400 -noout -in "$certificates/service.pem" 2>/dev/null; then
    rm -rf "$certificates" && mkdir -p "$certificates"
    scripts/make-certificates.sh "$certificates" IP:127.0.0.1
  fi
  service=(--service "https://127.0.0.1:$port" --ca-file "$certificates/ca.pem")
  build/service/rv-service --listen "127.0.0.1:$port" \
    --tls-cert "$certificates/service.pem" --tls-key "$certificates/service.key" &
  service_pid=$!
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
fi

app=(build/src/app/rv-patient "${service[@]}" "$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  scripts/headless-session.sh "${app[@]}"
else
  "${app[@]}"
fi
