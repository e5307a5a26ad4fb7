#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Signs a Windows program in place (Authenticode, SHA-256) with the
# certificate and key of the PKCS#12 file VELITAR_SIGN_PKCS12.
#   VELITAR_SIGN_PASSWORD_FILE   a file holding its password (none: no
#                                password); the password itself is never
#                                on a command line, where every user of the
#                                machine could read it in the process list
#   VELITAR_SIGN_TIMESTAMP_URL   an RFC 3161 time-stamping service: the
#                                signature is time-stamped there, so that it
#                                stays valid after the certificate expires
#                                (none by default: a build needs no network)
# Usage: sign.sh FILE.exe
set -euo pipefail
if [ -n "${VELITAR_SIGN_PASSWORD+set}" ]; then
  echo "sign.sh: VELITAR_SIGN_PASSWORD is not read; name a file holding the password in VELITAR_SIGN_PASSWORD_FILE" >&2
  exit 1
fi
options=(-pkcs12 "$VELITAR_SIGN_PKCS12" -h sha256 -n "Велитарь" -i "${VELITAR_HOMEPAGE_URL:-https://velitar.org}")
if [ -n "${VELITAR_SIGN_PASSWORD_FILE:-}" ]; then
  options+=(-readpass "$VELITAR_SIGN_PASSWORD_FILE")
fi
if [ -n "${VELITAR_SIGN_TIMESTAMP_URL:-}" ]; then
  options+=(-ts "$VELITAR_SIGN_TIMESTAMP_URL")
fi
osslsigncode sign "${options[@]}" -in "$1" -out "$1.signed" >/dev/null
mv "$1.signed" "$1"
