#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Runs a command on a private session bus, never the user's own: "keyring" with an unlocked
# keyring (gnome-keyring's Secret Service, its files in a temporary folder), "none" with no
# Secret Service at all, not even one the bus could start. RV_EXPECT_KEYRING tells the command
# which of the two it runs on.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
mode=$1
shift
case $mode in
keyring)
    exec dbus-run-session -- "$here/with_private_bus.sh" inside "$@" ;;
none)
    exec dbus-run-session --config-file="$here/bus-without-services.conf" -- \
        env RV_EXPECT_KEYRING=0 "$@" ;;
inside)
    keyrings=$(mktemp -d)
    trap 'rm -rf "$keyrings"' EXIT
    # The daemon keeps its keyrings under the data folder; the empty password unlocks them.
    export XDG_DATA_HOME="$keyrings" XDG_RUNTIME_DIR="$keyrings"
    eval "$(echo | gnome-keyring-daemon --unlock --components=secrets)"
    # Ready once it owns the Secret Service's name (else the bus would start a second one).
    tries=0
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets | grep -q true; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "no keyring came up" >&2; exit 1; }
        sleep 0.1
    done
    status=0
    RV_EXPECT_KEYRING=1 "$@" || status=$?
    # The daemon ends with the bus; its folder goes with the trap.
    exit $status ;;
*)
    echo "usage: $0 keyring|none command..." >&2
    exit 2 ;;
esac
