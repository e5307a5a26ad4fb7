#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Signs a Windows program in place (Authenticode, SHA-256) with the
# certificate and key of the PKCS#12 file VELITAR_SIGN_PKCS12, whose password
# is VELITAR_SIGN_PASSWORD. Usage: sign.sh FILE.exe
set -euo pipefail
osslsigncode sign -pkcs12 "$VELITAR_SIGN_PKCS12" -pass "${VELITAR_SIGN_PASSWORD:-}" -h sha256 \
  -n "Велитарь" -i "https://velitar.org" -in "$1" -out "$1.signed" >/dev/null
mv "$1.signed" "$1"
