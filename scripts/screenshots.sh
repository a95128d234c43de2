#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Saves a picture of each screen into docs/screenshots (or the folder given), made by the
# application itself (--screenshot with --screen) against rv-service with its demo data on a
# free loopback port and a throw-away database. Which pictures of which screens is
# packaging/screenshots.tsv. RV_BUILD_DIR is the build folder (default: build), RV_SCALE the
# scale of the pictures (default 2: 640 by 1136 pixels). Usage: screenshots.sh [FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
build=${RV_BUILD_DIR:-$root/build}
patient=$build/src/app/rv-patient
service=$build/service/rv-service
if [ ! -x "$patient" ] || [ ! -x "$service" ]; then
  echo "first: cmake --build $build --target rv-patient rv-service" >&2
  exit 2
fi
mkdir -p "$out"
work=$(mktemp -d)
service_pid=""
cleanup() {
  if [ -n "$service_pid" ]; then
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$service" --listen 127.0.0.1:0 --db :memory: >"$work/service.log" 2>&1 &
service_pid=$!
address=""
for _ in $(seq 100); do
  address=$(sed -n 's|^rv-service listening on http://\([^/ ]*\).*|\1|p' "$work/service.log")
  [ -n "$address" ] && break
  sleep 0.1
done
if [ -z "$address" ]; then
  cat "$work/service.log" >&2
  exit 1
fi

# Drawn off screen, so no display is needed; the saved values live in the throw-away folder.
mkdir -m 0700 "$work/runtime"
export QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=${RV_SCALE:-2} XDG_CONFIG_HOME=$work/config \
  XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
status=0
while IFS=$'\t' read -r file screen options caption; do
  case $file in '' | '#'*) continue ;; esac
  extra=()
  [ "$options" = - ] || read -ra extra <<<"$options"
  if "$patient" --service "$address" --screenshot "$out/$file" \
    --screen "$screen" "${extra[@]}" </dev/null; then
    echo "$file: $caption"
  else
    echo "$file: failed" >&2
    status=1
  fi
done <"$root/packaging/screenshots.tsv"
exit $status
