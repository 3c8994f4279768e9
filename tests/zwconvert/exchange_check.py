#!/usr/bin/env python3
"""zwconvert --exchange against a running exchange-stub, both real processes (under Wine for
the Windows build): the default tax comes from TAXH, and a template with DirectToBrevanta=1
posts the order JSON, which the stub records byte for byte.

Usage: exchange_check.py DEMO_TEXT WORK_DIR ZWCONVERT EXCHANGE_STUB [EMULATOR]"""
import os
import shutil
import subprocess
import sys
import time

DEMO, WORK, ZWCONVERT, STUB = sys.argv[1:5]
EMULATOR = sys.argv[5:]


def host_path(path):
    """A path the programs understand: Windows programs under Wine get a Z: path."""
    return "Z:" + path.replace("/", "\\") if EMULATOR else path


def wait_for(path, seconds=30):
    deadline = time.monotonic() + seconds
    while not os.path.exists(path):
        if time.monotonic() > deadline:
            raise SystemExit(f"timed out waiting for {path}")
        time.sleep(0.05)


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    templates = os.path.join(WORK, "Vorlagen")
    os.makedirs(templates)
    env = dict(os.environ, ZW_PIPE_DIR=WORK)
    server = f"zwcheck-{os.getpid()}"
    ready, posted = os.path.join(WORK, "ready"), os.path.join(WORK, "posted.json")
    stop, counts = os.path.join(WORK, "stop"), os.path.join(WORK, "counts")
    stub = subprocess.Popen(EMULATOR + [STUB, "--no-list", "--answer", "TAXH=7,7",
                                        "--outdata", host_path(posted), "--counts",
                                        host_path(counts), "--ready-file", host_path(ready),
                                        "--stop-file", host_path(stop), server], env=env)
    try:
        wait_for(ready)
        command = EMULATOR + [ZWCONVERT, "--templates", templates]
        subprocess.run(command + [DEMO], stdout=subprocess.DEVNULL, env=env)
        shutil.copy(os.path.join(templates, "demo.txt"), os.path.join(templates, "glas.txt"))
        result = subprocess.run(command + ["--exchange", "--server", server, "--format", "json",
                                           DEMO], stdout=subprocess.PIPE, env=env, check=True)
        wait_for(posted)
        with open(posted, "rb") as f:
            recorded = f.read()
        assert recorded == result.stdout, (recorded[:200], result.stdout[:200])
        assert b'"TaxRate":"7,7"' in recorded, recorded[:300]
        assert recorded.count(b'"Description1"') == 3
        with open(counts) as f:
            assert f.read() == "CANPOSTJSON=1\nOUTDATA=1\nTAXH=1\n"
    finally:
        open(stop, "w").close()
        try:
            stub.wait(timeout=20)
        except subprocess.TimeoutExpired:
            stub.kill()
    shutil.rmtree(WORK, ignore_errors=True)
    print("zwconvert --exchange posted the order JSON; exchange-stub recorded it byte for byte")


if __name__ == "__main__":
    main()
