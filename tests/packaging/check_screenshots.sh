#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Runs the screenshot script into a throw-away folder: every picture of its list must be there,
# not empty, of the window's size (320 by 568 points at scale 1). Usage: check_screenshots.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
RV_BUILD_DIR=$1 RV_SCALE=1 "$root/scripts/screenshots.sh" "$out"
wrong=0
while IFS=$'\t' read -r file _; do
  case $file in '' | '#'*) continue ;; esac
  size=missing
  [ -s "$out/$file" ] && size=$(od -An -tu4 --endian=big -j16 -N8 "$out/$file" | xargs)
  [ "$size" = "320 568" ] || { echo "$file: $size"; wrong=1; }
done <"$root/packaging/screenshots.tsv"
exit $wrong
