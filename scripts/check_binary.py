#!/usr/bin/env python3
"""Checks a built Windows binary's export and import tables.

usage: check_binary.py BINARY [DEF_FILE]

Fails when an export of the .def file is missing, when any export is
decorated (stdcall "@N" or C++ "?" names), when the binary imports a DLL
that is not part of Windows itself, or when it carries no version resource.
"""
import os
import re
import subprocess
import sys

# DLLs every Windows installation carries; anything else would have to ship.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "ole32.dll", "oleaut32.dll", "uuid.dll", "comdlg32.dll", "comctl32.dll",
    "winspool.drv", "ws2_32.dll", "wsock32.dll", "gdiplus.dll", "shlwapi.dll",
    "version.dll", "msvcrt.dll", "ntdll.dll",
}


def def_exports(path):
    names, in_exports = [], False
    for line in open(path, encoding="utf-8"):
        line = line.split(";", 1)[0].strip()
        if not line:
            continue
        if line.upper() == "EXPORTS":
            in_exports = True
            continue
        if re.match(r"^(LIBRARY|NAME|DESCRIPTION|HEAPSIZE|STACKSIZE|SECTIONS|VERSION)\b", line, re.I):
            in_exports = False
            continue
        if in_exports:
            name = line.split()[0].split("=")[0].strip('"')
            names.append(name)
    return names


def objdump(flag, binary):
    env = dict(os.environ, LC_ALL="C")  # the tables are parsed in English
    return subprocess.run(["i686-w64-mingw32-objdump", flag, binary],
                          check=True, capture_output=True, text=True, env=env).stdout


def main():
    binary = sys.argv[1]
    wanted = def_exports(sys.argv[2]) if len(sys.argv) > 2 and sys.argv[2] else []
    dump = objdump("-p", binary)
    failures = []
    if "file format pei-i386" not in objdump("-f", binary):
        failures.append("not a PE32 i386 binary")
    exports, in_names = [], False
    for line in dump.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            in_names = True
            continue
        if in_names:
            m = re.match(r"^\s+\[\s*\d+\]\s+(\S+)", line)
            if m:
                exports.append(m.group(1))
            elif line.strip():
                in_names = False
    imports = sorted({m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)})
    for name in wanted:
        if name not in exports:
            failures.append(f"export {name} missing")
    for name in exports:
        if "@" in name or name.startswith("?") or name.startswith("_"):
            failures.append(f"export {name} is decorated")
    # The version resource that the file's properties show.
    data = open(binary, "rb").read()
    for key in ("VS_VERSION_INFO", "FileDescription", "FileVersion", "ProductVersion"):
        if key.encode("utf-16-le") not in data:
            failures.append(f"version resource lacks {key}")
    for dll in imports:
        if dll not in SYSTEM_DLLS:
            failures.append(f"imports {dll}, which is not a Windows system DLL")
    print(f"{binary}: exports {', '.join(exports) or '(none)'}; imports {', '.join(imports)}")
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
