#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Installs the Debian packages the project builds and runs with; quick when they are already there.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config clang lld clang-format
      qt6-base-dev qt6-base-dev-tools qt6-svg-dev
      libqt6sql6-sqlite qt6-qpa-plugins libqt6svg6 libssl-dev openssl libcurl4-openssl-dev
      fonts-wqy-microhei libgtest-dev libbenchmark-dev iproute2
      libqt6sql6-psql postgresql postgresql-common)
pkgs+=(libical-dev libqrencode-dev python3-icalendar poppler-utils zbar-tools) # calendar, pass
# Installing: the icons and manual pages made at build time, and the checks of what is installed.
pkgs+=(librsvg2-bin help2man desktop-file-utils appstream lintian systemd)
# Translating: lupdate and lrelease.
pkgs+=(qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools)
# The screen-reader test: a D-Bus session, the AT-SPI bus, its Python client, a virtual display.
pkgs+=(dbus at-spi2-core python3-pyatspi xvfb xauth)
# Secrets in the desktop's keyring (QtKeychain over the Secret Service), and a keyring daemon
# and its command-line client for the tests.
pkgs+=(qtkeychain-qt6-dev libqt6keychain1 gnome-keyring libsecret-tools)
# The service past one process: the balancer in front and the pooler behind.
pkgs+=(haproxy pgbouncer)
# Running the application without a display: a virtual X server and a loopback VNC server.
if [ "${1:-}" = "--run" ]; then
  pkgs+=(xvfb x11vnc)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
