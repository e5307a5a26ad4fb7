#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Packs files into a zip the same way every time: in the given order, each
with the time SOURCE_DATE_EPOCH (or 1980-01-01), no extra fields.

    make-zip.py OUTPUT.zip FILE...
"""
import os
import sys
import time
import zipfile

epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), 315532800)
stamp = time.gmtime(epoch)[:6]
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for path in sys.argv[2:]:
        info = zipfile.ZipInfo(os.path.basename(path), date_time=stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        info.create_system = 0  # MS-DOS, as a Windows zip
        with open(path, "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
