#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks velitar.exe as Windows will load it: a 64-bit GUI program (no
console window), hardened (ASLR with high entropy, DEP), importing nothing but
Windows' own DLLs (the C++ runtime linked in), with the program's icon, its
version information and a manifest that asks for no elevation and declares
per-monitor DPI awareness; and holding none of the given folders of the
build machine (where Qt and the program were built), so that its bytes do
not depend on them. Prints what it found; ends with status 1 on any failure.

    check-exe.py PATH-TO-velitar.exe [BUILD-FOLDER...]
"""
import sys

import pefile

# The DLLs a program may import: Windows' own. (Debian's MinGW-w64 links the
# C runtime msvcrt.dll, which every Windows has.)
WINDOWS_DLLS = {
    "advapi32.dll", "comdlg32.dll", "d3d11.dll", "d3d12.dll", "d3d9.dll", "dwmapi.dll", "dwrite.dll", "dxgi.dll",
    "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "setupapi.dll",
    "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll",
    "winmm.dll", "ws2_32.dll", "wtsapi32.dll", "authz.dll", "netapi32.dll", "mpr.dll", "winspool.drv",
    "comctl32.dll", "ntdll.dll", "d2d1.dll", "uiautomationcore.dll", "bcrypt.dll", "crypt32.dll",
}
# Never beside the program: the runtime libraries, Qt's DLLs.
FORBIDDEN_PREFIXES = ("libstdc++", "libgcc", "libwinpthread", "qt6", "qt5", "libssp")

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


pe = pefile.PE(sys.argv[1])
fh, oh = pe.FILE_HEADER, pe.OPTIONAL_HEADER
check(fh.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"], "x86_64 (machine 0x%04x)" % fh.Machine)
check(oh.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
      "a GUI program, no console (subsystem %d)" % oh.Subsystem)
flags = oh.DllCharacteristics
for name, what in (("IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE", "ASLR (--dynamicbase)"),
                   ("IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA", "ASLR with high entropy (--high-entropy-va)"),
                   ("IMAGE_DLLCHARACTERISTICS_NX_COMPAT", "DEP (--nxcompat)")):
    check(flags & pefile.DLL_CHARACTERISTICS[name], what)
check(oh.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]].Size > 0,
      "relocations kept, so that ASLR can move it")
check(fh.TimeDateStamp == 0, "no time stamp in the header (the same bytes from every build)")

dlls = sorted({entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])})
foreign = [d for d in dlls if d not in WINDOWS_DLLS and not d.startswith("api-ms-win-")]
check(not foreign and dlls, "imports only Windows' own DLLs: " + ", ".join(dlls) +
      ("; not Windows': " + ", ".join(foreign) if foreign else ""))
check(not [d for d in dlls if d.startswith(FORBIDDEN_PREFIXES)], "the C++ runtime and Qt linked in")

resources = {kind.id: kind for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries} if hasattr(
    pe, "DIRECTORY_ENTRY_RESOURCE") else {}
icons = resources.get(pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
images = resources.get(pefile.RESOURCE_TYPE["RT_ICON"])
check(icons is not None and images is not None and len(images.directory.entries) >= 6,
      "the program's icon (%d images)" % (len(images.directory.entries) if images else 0))

strings = {}
for info in getattr(pe, "FileInfo", []):
    for entry in info:
        for table in getattr(entry, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
check(strings.get("ProductName") == "Велитарь" and strings.get("FileDescription") == "Велитарь",
      "version information names the product: %r" % strings.get("ProductName"))
version = strings.get("FileVersion", "")
check(version.count(".") == 2 and version == strings.get("ProductVersion"), "its version: %s" % version)
check("GPL-3.0-or-later" in strings.get("LegalCopyright", ""), "its licence: %s" % strings.get("LegalCopyright"))

manifest = ""
kind = resources.get(pefile.RESOURCE_TYPE["RT_MANIFEST"])
if kind:
    entry = kind.directory.entries[0].directory.entries[0]
    manifest = pe.get_data(entry.data.struct.OffsetToData, entry.data.struct.Size).decode("utf-8")
check("<dpiAwareness" in manifest and "PerMonitorV2" in manifest, "manifest: per-monitor DPI awareness (V2)")
check('level="asInvoker"' in manifest, "manifest: runs as the user who starts it, no elevation")

data = open(sys.argv[1], "rb").read()
for folder in sys.argv[2:]:
    folder = folder.rstrip("/")
    found = [form for form in (folder.encode(), folder.encode("utf-16-le"), folder.replace("/", "\\").encode())
             if form in data]
    check(not found, "the build machine's folder %s not in it%s" % (folder, " (but it is)" if found else ""))

if failures:
    print("FAIL %d check(s) of %s" % (len(failures), sys.argv[1]))
    sys.exit(1)
