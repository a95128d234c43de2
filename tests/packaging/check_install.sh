#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Installs the build into a throw-away DESTDIR and checks what the desktop, AppStream and
# systemd read there, and that both installed programs tell the project's version.
# Usage: check_install.sh BUILD_DIR VERSION APP_ID BINDIR DATADIR UNIT_DIR (the last three full)
set -euo pipefail
build=$1 version=$2 id=$3 bindir=$4 datadir=$5 unitdir=$6
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR=$dest cmake --install "$build" >/dev/null
share=$dest$datadir
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
# The unit's default dependencies are the system's targets: the host's stand in for them.
mkdir -p "$dest/lib/systemd/system"
cp /lib/systemd/system/*.target "$dest/lib/systemd/system/"
# The unit's documentation is the manual page installed beside it, which man cannot see here.
systemd-analyze verify --man=no --root="$dest" "$unitdir/rv-service.service"
[ -s "$share/man/man1/rv-service.1.gz" ] && [ -s "$share/icons/hicolor/scalable/apps/$id.svg" ]
for size in 48 128 256; do
  png=$share/icons/hicolor/${size}x$size/apps/$id.png
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" = "$size $size" ] || { echo "$png"; exit 1; }
done
for program in rv-patient rv-service; do
  said=$(QT_QPA_PLATFORM=offscreen "$dest$bindir/$program" --version)
  [ "$said" = "$program $version" ] || { echo "$program --version: '$said'"; exit 1; }
done
