#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Regenerates the known-answer ciphertexts with the openssl command line, independently of
# the code under test: for each NAME, NAME.plain enciphered under NAME.key gives NAME.hex.
set -euo pipefail
cd "$(dirname "$0")"
for plain in *.plain; do
  name=${plain%.plain}
  openssl enc -des-ede3 -K "$(cat "$name.key")" -nosalt -in "$plain" | xxd -p | tr -d '\n' > "$name.hex"
  echo >> "$name.hex"
done
