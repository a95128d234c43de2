#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Runs a command on a virtual X display whose picture is served by a VNC server that listens on
# loopback only, and stops both when the command ends. Usage: headless-session.sh COMMAND...
# RV_VNC_PORT picks the VNC port (default 5900). A patient's screen is never reachable from
# the network: connect from this machine, or through an SSH tunnel. Loopback is shared by
# every user of the machine, so each session has a password of its own, printed beside the
# address.
set -euo pipefail
vnc_port=${RV_VNC_PORT:-5900}
display_number=${RV_DISPLAY_NUMBER:-}
if [ -z "$display_number" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display_number=$n; break; }
  done
fi
display=":$display_number"

pids=()
secret_dir=$(mktemp -d)
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$secret_dir"
}
trap stop_all EXIT INT TERM

# Room for the window at the largest interface scale (2.0); it sits in the top left corner.
Xvfb "$display" -screen 0 640x1136x24 -nolisten tcp -nolisten local >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display_number" ] && break; sleep 0.1; done
# Eight characters, as many as VNC authentication reads; readable by this user alone, and
# removed by x11vnc once read.
vnc_password=$(head -c 6 /dev/urandom | base64)
(umask 077 && printf '%s\n' "$vnc_password" >"$secret_dir/passwd")
x11vnc -display "$display" -localhost -rfbport "$vnc_port" -forever -shared -quiet \
  -passwdfile "rm:$secret_dir/passwd" -noipv6 >/dev/null 2>&1 &
pids+=($!)
echo "No display: connect a VNC viewer on this machine to 127.0.0.1:$vnc_port with the password" \
  "$vnc_password (close the app with Ctrl+C)."
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$@" &
pids+=($!)
wait "${pids[-1]}"
