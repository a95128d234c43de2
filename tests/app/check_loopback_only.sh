#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Starts the stand-in service and the application the way the README's run command does on a
# machine without a display, then fails if any of their sockets listens beyond loopback.
# Usage: check_loopback_only.sh RV_PATIENT RV_SERVICE SOURCE_DIR
set -euo pipefail
app=$1 service=$2 source_dir=$3
export ASAN_OPTIONS=detect_leaks=0
service_port=$(shuf -i 20000-40000 -n 1)
vnc_port=$(shuf -i 40001-60000 -n 1)

"$service" --listen "127.0.0.1:$service_port" --db :memory: >/dev/null 2>&1 &
service_pid=$!
RV_VNC_PORT=$vnc_port "$source_dir/scripts/headless-session.sh" \
  "$app" --service "127.0.0.1:$service_port" --no-update-check >/dev/null 2>&1 &
session_pid=$!
trap 'kill $session_pid $service_pid 2>/dev/null; wait 2>/dev/null; true' EXIT

descendants() { local p; for p in "$@"; do echo "$p"; descendants $(pgrep -P "$p" || true); done; }
listening=""
for _ in $(seq 300); do
  listening=$(ss -Hlntup 2>/dev/null || true)
  if grep -q ":$vnc_port " <<<"$listening" && grep -q ":$service_port " <<<"$listening" &&
     pgrep -f "$(basename "$app") --service" >/dev/null; then
    break
  fi
  sleep 0.1
done
sleep 1
listening=$(ss -Hlntup); [ -n "${RV_DEBUG:-}" ] && echo "$listening" && echo "ours: "$(descendants "$service_pid" "$session_pid")
ours=$(descendants "$service_pid" "$session_pid" | sort -u)
checked=0 bad=0
while read -r line; do
  pid=$(grep -o 'pid=[0-9]*' <<<"$line" | head -n 1 | cut -d= -f2 || true)
  [ -n "$pid" ] && grep -qx "$pid" <<<"$ours" || continue
  local_address=$(awk '{print $5}' <<<"$line")
  checked=$((checked + 1))
  case "$local_address" in
    127.*|\[::1\]:*) ;;
    *) echo "listens beyond loopback: $line"; bad=$((bad + 1)) ;;
  esac
done <<<"$listening"
echo "listening sockets of the service, the display and the application: $checked, beyond loopback: $bad"
[ "$checked" -ge 2 ] || { echo "expected at least the service and the VNC server to listen"; exit 1; }
[ "$bad" -eq 0 ]
