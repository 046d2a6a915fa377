#!/usr/bin/env python3
"""Sets file times through the real stampclock.dll under Wine and checks them
against instants computed here, independently, with time.mktime in the same
zone: read back through GetFileTime by the host program and from Linux by stat.

usage: check_instants.py WINERUN STAMPER_EXE   (inside the test Wine environment)
"""
import os
import subprocess
import sys
import time

EPOCH_1601 = 11644473600
CASES = [
    (2014, 7, 1, 12, 0, 0),    # summer time
    (2014, 1, 15, 12, 0, 0),   # winter time
    (2014, 10, 26, 1, 30, 0),  # the hour before the change back
    (2014, 13, 1, 0, 0, 0),    # month 13
    (2014, 4, 31, 8, 15, 30),  # day 31 of a 30-day month
    (2014, 3, 10, 24, 0, 0),   # hour 24
    (2038, 1, 19, 4, 14, 7),   # the last storable instant
]


def main():
    winerun, stamper = sys.argv[1], sys.argv[2]
    os.environ.setdefault("TZ", "Europe/Berlin")
    time.tzset()
    drive_d = os.environ["CAMTOOLS_DRIVE_D"]
    folder = os.path.join(drive_d, "t", "instants")
    os.makedirs(folder, exist_ok=True)
    failures = 0
    for n, fields in enumerate(CASES):
        name = f"file{n}.txt"
        unix_path = os.path.join(folder, name)
        with open(unix_path, "w") as f:
            f.write("x")
        expected = int(time.mktime(fields + (0, 0, -1)))
        out = subprocess.run([winerun, stamper, "D:\\t\\instants\\" + name] + [str(v) for v in fields],
                             capture_output=True, text=True, timeout=60)
        words = out.stdout.split()
        want_ticks = (expected + EPOCH_1601) * 10_000_000
        st = os.stat(unix_path)
        got = {"result": int(words[0]) if words else None,
               "ticks": [int(w) for w in words[1:4]],
               "mtime": int(st.st_mtime), "atime": int(st.st_atime)}
        ok = (got["result"] == 999 and got["ticks"] == [want_ticks] * 3
              and got["mtime"] == expected and got["atime"] == expected)
        print(f"{'ok  ' if ok else 'FAIL'} {fields}: expected {expected} "
              f"({time.strftime('%Y-%m-%d %H:%M:%S %Z', time.localtime(expected))}), got {got}")
        failures += not ok
    total = len(CASES)
    print(f"{total - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
