#!/usr/bin/env python3
"""Feeds zwconvert hostile clipboard texts and checks that each ends with a defined status,
within a time bound (no hang) and with peak memory bounded by a small multiple of the text.

Usage: bad_input_check.py ZWCONVERT WORK_DIR"""
import os
import random
import shutil
import subprocess
import sys
import threading
import time

HANG_SECONDS = 120
BASELINE_KB = 40_000  # the process itself, its templates and the runtime
HEADING = "(Pos)\tStk\tBezeichnung\tBreite x H\xf6he\t\tm\xb2\tPreis/m\xb2\tCHF/Stk\tTotal/CHF"


def demo_rows(count):
    row = "(1,)\t2\tFloat 3mm\t500\t400\t0,40\t76,00\t15,20\t30,40\r\n"
    return (HEADING + "\r\n" + row * count).encode("cp1252")


# name, text maker, accepted exit statuses, allowed peak memory as a multiple of the text
CASES = [
    ("binary", lambda r: bytes(r.randrange(1, 256) for _ in range(1_000_000)), (0, 1), 12),
    ("binary_with_zero", lambda r: bytes(r.randrange(0, 256) for _ in range(1_000_000)), (0, 1), 12),
    ("unclosed_quote", lambda r: b"1\t\"offen\t2\r\n" + b"3\tRest\t4\r\n" * 1000, (1,), 12),
    ("columns_10000", lambda r: (b"\t".join(b"%d" % i for i in range(10_000)) + b"\r\n") * 50, (0,), 12),
    ("line_10MB", lambda r: b"1\t" + b"x" * 10_000_000 + b"\t2\r\n", (0,), 12),
    ("tabs_10MB", lambda r: b"\t" * 10_000_000 + b"\r\n1\tx\t2\r\n", (0,), 12),
    ("short_rows_20MB", lambda r: b"1\tA\t2\r\n" * 3_000_000, (2,), 12),
    ("demo_100MB", lambda r: demo_rows(1_600_000), (2,), 8),
]


def measure(zwconvert, work):
    """Runs every case from a small process, so each child's peak is its own."""
    failures = []
    templates = os.path.join(work, "Vorlagen")
    for name, _, statuses, ratio in CASES:
        path = os.path.join(work, name + ".txt")
        size = os.path.getsize(path)
        err_path = path + ".err"
        err_fd = os.open(err_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
        null_fd = os.open(os.devnull, os.O_WRONLY)
        started = time.monotonic()
        pid = os.posix_spawn(zwconvert, [zwconvert, "--templates", templates, path], os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, null_fd, 1),
                                           (os.POSIX_SPAWN_DUP2, err_fd, 2)])
        os.close(err_fd)
        os.close(null_fd)
        killer = threading.Timer(HANG_SECONDS, os.kill, (pid, 9))
        killer.start()
        _, wait_status, usage = os.wait4(pid, 0)
        killer.cancel()
        seconds = time.monotonic() - started
        status = os.waitstatus_to_exitcode(wait_status)
        bound_kb = ratio * size // 1024 + BASELINE_KB
        print(f"{name:18} {size / 1e6:7.1f} MB  status {status:2}  {seconds:6.2f} s  "
              f"peak {usage.ru_maxrss / 1024:7.1f} MB  (bound {bound_kb / 1024:.0f} MB)")
        if status not in statuses:
            with open(err_path, "rb") as f:
                message = f.read().decode("utf-8", "replace").strip()
            failures.append(f"{name}: status {status}, expected {statuses}: {message}")
        if usage.ru_maxrss > bound_kb:
            failures.append(f"{name}: peak {usage.ru_maxrss} kB above {bound_kb} kB")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


def main():
    zwconvert, work = os.path.abspath(sys.argv[1]), sys.argv[2]
    if len(sys.argv) > 3 and sys.argv[3] == "--measure":
        return measure(zwconvert, work)
    shutil.rmtree(work, ignore_errors=True)
    templates = os.path.join(work, "Vorlagen")
    os.makedirs(templates)
    # The first run writes the default files; then a copy of the demo rules and a template
    # that takes any tab-separated text.
    subprocess.run([zwconvert, "--templates", templates, os.devnull], stdout=subprocess.DEVNULL)
    shutil.copy(os.path.join(templates, "demo.txt"), os.path.join(templates, "glas.txt"))
    with open(os.path.join(templates, "jede.txt"), "wb") as f:
        f.write(b"Quantity=A\r\nDescription1=B\r\nPrice=C\r\nIgnoreNullQuantity=0\r\n")
    rng = random.Random(1)
    for name, make, _, _ in CASES:
        with open(os.path.join(work, name + ".txt"), "wb") as f:
            f.write(make(rng))
    result = subprocess.run([sys.executable, __file__, zwconvert, work, "--measure"]).returncode
    if result == 0:
        shutil.rmtree(work, ignore_errors=True)
    return result


if __name__ == "__main__":
    sys.exit(main())
