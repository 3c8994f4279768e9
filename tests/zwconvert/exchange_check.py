#!/usr/bin/env python3
"""zwconvert --exchange against a running exchange-stub, both real processes (under Wine for
the Windows build): the default tax comes from TAXH, and a template with DirectToBrevanta=1
posts the order JSON, which the stub records byte for byte.

Then against hostile stubs: answers that declare impossible sizes, a size within the bound
that never arrives, and a 50 MB server list. zwconvert must still convert (without tax), in
bounded time, and natively its peak memory (read from the kernel) must show that nothing of
a declared size was allocated.

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


def start_stub(options, server, env):
    """exchange-stub serving server with the options; returns the process and its stop file."""
    ready = os.path.join(WORK, server + ".ready")
    stop = os.path.join(WORK, server + ".stop")
    stub = subprocess.Popen(EMULATOR + [STUB, "--no-list", "--answer", "TAXH=7,7",
                                        "--ready-file", host_path(ready), "--stop-file",
                                        host_path(stop)] + options + [server], env=env)
    wait_for(ready)
    return stub, stop


def end_stub(stub, stop):
    open(stop, "w").close()
    try:
        stub.wait(timeout=20)
    except subprocess.TimeoutExpired:
        stub.kill()


def run_measured(args, env, seconds=120):
    """Runs zwconvert; its exit status, seconds, peak memory in KB and standard output."""
    out_path = os.path.join(WORK, "measured.out")
    out_fd = os.open(out_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    started = time.monotonic()
    process = subprocess.Popen(EMULATOR + [ZWCONVERT] + args, stdout=out_fd, env=env)
    os.close(out_fd)
    deadline = started + seconds
    while True:
        pid, wait_status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid != 0:
            break
        if time.monotonic() > deadline:
            process.kill()
            raise SystemExit(f"zwconvert {args} did not end within {seconds} s")
        time.sleep(0.02)
    process.returncode = os.waitstatus_to_exitcode(wait_status)
    with open(out_path, "rb") as f:
        output = f.read()
    return process.returncode, time.monotonic() - started, usage.ru_maxrss, output


def hostile_checks(templates):
    env = dict(os.environ, ZW_PIPE_DIR=WORK, TMPDIR=WORK)
    # Peak memory is read natively, and not under the sanitizers, which change it.
    native = not EMULATOR and not os.environ.get("ZW_SANITIZED")
    convert = ["--templates", templates, "--exchange", "--format", "text", DEMO]
    failures = []
    servers = iter(range(1000))

    def check(label, stub_options, server_args, bound_seconds, extra_kb=None):
        server = f"zwhostile-{os.getpid()}-{next(servers)}"
        stub, stop = start_stub(stub_options, server, env)
        try:
            args = server_args(server) + convert
            status, seconds, peak_kb, output = run_measured(args, env)
        finally:
            end_stub(stub, stop)
        # Under Wine the kernel's figure is the launcher's, not the program's.
        peak = f"peak {peak_kb / 1024:7.1f} MB" if native else ""
        print(f"{label:44} status {status}  {seconds:6.2f} s  {peak}")
        if status != 0:
            failures.append(f"{label}: status {status}")
        if output.count(b"Steuer=\r\n") != 3:
            failures.append(f"{label}: the lines do not have an empty tax")
        if seconds > bound_seconds:
            failures.append(f"{label}: {seconds:.1f} s, more than {bound_seconds} s")
        if native and extra_kb is not None and peak_kb > baseline_kb + extra_kb:
            failures.append(f"{label}: peak {peak_kb} KB, baseline {baseline_kb} KB")
        return peak_kb

    # The same conversion against a server that answers no tax: the memory baseline.
    named = lambda server: ["--server", server]
    baseline_kb = 0
    baseline_kb = check("baseline: TAXH answered empty", ["--answer", "TAXH="], named, 30)
    # A size beyond the bound fails at once; allocating it would raise the peak by 64 MiB
    # or more (or end the process).
    for option, size in [("--declare-size", 64 * 1024 * 1024 + 1), ("--declare-size", 1 << 62),
                         ("--declare-id-size", 64 * 1024 * 1024 + 1),
                         ("--declare-id-size", 1 << 62), ("--declare-size", -1)]:
        check(f"{option} TAXH={size}", [option, f"TAXH={size}"], named, 12, 16_000)
    if not native:
        return failures
    # The largest size allowed, never sent: three time-outs of 5 s, and the data buffer grows
    # only with bytes that arrive.
    check("--declare-size TAXH=67108864 (never sent)", ["--declare-size", "TAXH=67108864"],
          named, 60, 16_000)
    # The server list read for every request: 50 MB, the server on its first line.
    list_folder = os.path.join(WORK, "BVTempDir")
    os.makedirs(list_folder, exist_ok=True)
    list_file = os.path.join(list_folder, "BVA-EXCHANGELOCALSERVICE.TXT")
    junk = (b"x" * 98 + b"\r\n") * 500_000

    def listed(server):
        with open(list_file, "wb") as f:
            f.write(server.encode() + b"\r\n" + junk)
        return []

    peak = check("50 MB server list", ["--answer", "TAXH="], listed, 120)
    # The file, its lines and their copy: a few times its size, never more.
    if native and peak > baseline_kb + 6 * len(junk) // 1024:
        failures.append(f"50 MB server list: peak {peak} KB")
    os.remove(list_file)
    return failures


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
    print("zwconvert --exchange posted the order JSON; exchange-stub recorded it byte for byte")
    # Without DirectToBrevanta only TAXH is asked: the hostile answers meet that request.
    shutil.copy(os.path.join(templates, "demo.txt"), os.path.join(templates, "glas.txt"))
    with open(os.path.join(templates, "glas.txt"), "rb") as f:
        rules = f.read().replace(b"DirectToBrevanta=1", b"DirectToBrevanta=0")
    with open(os.path.join(templates, "glas.txt"), "wb") as f:
        f.write(rules)
    failures = hostile_checks(templates)
    if failures:
        raise SystemExit("\n".join(failures))
    shutil.rmtree(WORK, ignore_errors=True)
    print("hostile exchange servers and server lists: converted, bounded in time and memory")


if __name__ == "__main__":
    main()
