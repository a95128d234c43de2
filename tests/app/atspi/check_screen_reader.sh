#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Runs screen_reader.py against a stand-in service of its own, on a virtual display with a D-Bus
# session of its own. A missing tool fails the test with its name: it never passes unread.
# Usage: check_screen_reader.sh RV_PATIENT RV_SERVICE
set -euo pipefail
app=$1 service=$2 here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run xauth dbus-run-session dbus-send /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh)"; exit 1; }
done
# The application's saved values stay out of the user's files.
home=$(mktemp -d)
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache
port=$(shuf -i 20000-40000 -n 1)
"$service" --listen "127.0.0.1:$port" --db :memory: >/dev/null 2>&1 &
service_pid=$!
trap 'kill $service_pid 2>/dev/null; wait $service_pid 2>/dev/null || true; rm -rf "$home"' EXIT
for _ in $(seq 300); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  kill -0 $service_pid 2>/dev/null || { echo "FAIL: the stand-in service did not start"; exit 1; }
  sleep 0.1
done
xvfb-run -a -s '-screen 0 640x1136x24 -nolisten tcp' \
  dbus-run-session -- /usr/bin/python3 "$here/screen_reader.py" "$app" "127.0.0.1:$port"
