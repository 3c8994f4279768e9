"""The speed targets of big copies, each printed beside its figure, measured in one run.

Usage: bench_targets.py OUT ZWCONVERT DEMO_TEXT BENCHMARKS_JSON
Times whole processes (zwconvert for each format, Python's csv module on the same file, and
100 MB copies that must be refused or found to fit no template) and reads the tool's path
from the Google Benchmark results. Prints one Markdown table.
"""
import json
import os
import statistics
import subprocess
import sys
import time

out, zwconvert, demo_text, benchmarks_json = sys.argv[1:5]
runs = 7
formats = ["lines", "text", "html", "csv", "datagrid", "json"]
big_bytes = 100 * 1000 * 1000

templates = os.path.join(out, "targets-templates")
os.makedirs(templates, exist_ok=True)
#The first run writes the default templates; the demo rules saved under a name of their own
#are the template that converts the demo text.
subprocess.run([zwconvert, "--templates", templates, demo_text], capture_output=True)
with open(os.path.join(templates, "demo.txt"), "rb") as source:
    demo_rules = source.read()
with open(os.path.join(templates, "glas.txt"), "wb") as target:
    target.write(demo_rules)


def measure(args):
    """Median time, its spread, peak RSS (the largest of the runs), exit status, output size."""
    times, peaks = [], []
    status, stderr = 0, b""
    for _ in range(runs):
        start = time.perf_counter()
        with open(os.path.join(out, "targets-output"), "wb") as sink:
            process = subprocess.Popen(args, stdout=sink, stderr=subprocess.PIPE)
            stderr = process.stderr.read()
            _, raw_status, usage = os.wait4(process.pid, 0)
        times.append((time.perf_counter() - start) * 1e3)
        peaks.append(usage.ru_maxrss / 1024)  # KiB on Linux
        status = os.waitstatus_to_exitcode(raw_status)
    size = os.path.getsize(os.path.join(out, "targets-output"))
    return {"ms": statistics.median(times), "min": min(times), "max": max(times),
            "rss": max(peaks), "status": status, "bytes": size, "stderr": stderr}


def verdict(ok):
    return "met" if ok else "**missed**"


with open(demo_text, "rb") as f:
    demo = f.read()
rows = demo.count(b"\r\n") - 2
python = measure([sys.executable, "-c",
                  "import csv, sys\n"
                  "with open(sys.argv[1], encoding='cp1252', newline='') as f:\n"
                  "    rows = list(csv.reader(f, delimiter='\\t'))\n", demo_text])

table = ["| target | measured (median of %d runs, whole process) | peak RSS | verdict |" % runs,
         "| --- | ---: | ---: | --- |"]
table.append(f"| reference: Python 3 csv module reads the {len(demo) / 1e6:.1f} MB file "
             f"({rows:,} rows) into a list | {python['ms']:.0f} ms "
             f"({python['min']:.0f}–{python['max']:.0f}) | {python['rss']:.1f} MB | |")
for output in formats:
    result = measure([zwconvert, "--templates", templates, "--format", output, demo_text])
    if result["status"] != 0:
        sys.exit(f"bench: zwconvert --format {output} failed: {result['stderr'][:200]!r}")
    factor = 3 if output == "json" else 1
    limit_ms = 50 * factor
    ratio_needed = 4 / factor
    rss_limit = factor * (40 + result["bytes"] / 1e6)
    ratio = python["ms"] / result["ms"]
    ok = result["ms"] <= limit_ms and ratio >= ratio_needed and result["rss"] <= rss_limit
    table.append(
        f"| `zwconvert --format {output}`, {rows:,} rows: ≤ {limit_ms} ms, ≥ {ratio_needed:.2g} × "
        f"faster than Python, RSS ≤ {rss_limit:.0f} MB ({factor * 40} MB + "
        f"{'3 × ' if factor > 1 else ''}{result['bytes'] / 1e6:.1f} MB written) | "
        f"{result['ms']:.0f} ms ({result['min']:.0f}–{result['max']:.0f}), "
        f"{ratio:.2f} × | {result['rss']:.1f} MB | {verdict(ok)} |")

with open(benchmarks_json) as f:
    bench = [b for b in json.load(f)["benchmarks"] if b.get("run_type") == "iteration"]


def bench_median(name, key):
    found = [b for b in bench if b["run_name"] == name]
    if not found:
        return None
    if key == "ms":
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
        return statistics.median(b["real_time"] * scale[b["time_unit"]] for b in found)
    return statistics.median(b[key] for b in found)


for n, limit_ms in ((50, 0.05), (100000, 60)):
    name = f"BM_ToolPath/{n}"
    ms = bench_median(name, "ms")
    if ms is None:
        table.append(f"| tool's path, {n:,} rows | not measured | | |")
        continue
    heap = bench_median(name, "peak_heap_MB")
    text_mb = bench_median(name, "text_MB")
    items_mb = bench_median(name, "items_MB")
    heap_limit = 3 * text_mb + items_mb
    ok = ms <= limit_ms and heap <= heap_limit
    # The least its memory alone costs: the same heap traffic, each byte written once.
    floor_ms = bench_median(f"BM_ToolPathMemoryFloor/{n}", "ms")
    floor = "" if floor_ms is None else f"; its memory alone {floor_ms:.3f} ms"
    table.append(f"| tool's path (template loop, description cut, four clipboard items), "
                 f"{n:,} rows: ≤ {limit_ms:g} ms, peak heap ≤ 3 × {text_mb:.4g} MB text + "
                 f"{items_mb:.4g} MB items = {heap_limit:.4g} MB | {ms:.3f} ms "
                 f"(Google Benchmark{floor}) | {heap:.2f} MB heap | {verdict(ok)} |")


def big_text(path, heading, line):
    """Writes about 100 MB: the heading, then one line repeated; returns its size."""
    count = (big_bytes - len(heading)) // len(line)
    with open(path, "wb") as f:
        f.write(heading)
        f.write(line * count)
    return len(heading) + len(line) * count

#The demo template needs the demo's heading row.
demo_heading = demo.split(b"\r\n")[0] + b"\r\n"
demo_line = demo.split(b"\r\n")[1] + b"\r\n"
shapes = [
    ("short rows (each an order line)", demo_heading, b"1\t2\tGlas\t\t\t\t\t\t4\r\n",
     "refused"),
    ("demo rows", demo_heading, demo_line, "refused"),
    ("lines without a delimiter", b"", b"Eine Zeile ohne Tabulator, wie ein kopierter Brief\r\n",
     "no template"),
]
for label, heading, line, expected in shapes:
    path = os.path.join(out, "targets-big.txt")
    size = big_text(path, heading, line)
    result = measure([zwconvert, "--templates", templates, "--format", "csv", path])
    outcome = {0: "converted", 1: "no template", 2: "refused"}.get(result["status"], "failed")
    rss_limit = 1.5 * size / 1e6
    ok = result["ms"] <= 300 and result["rss"] <= rss_limit and outcome == expected
#What one scan of the text costs, reading it included : a text that fits no template should
#cost about that.
    scan = ""
    if expected == "no template":
        one_scan = measure(["wc", "-l", path])
        scan = f"; one scan of it (wc -l) {one_scan['ms']:.0f} ms"
    table.append(f"| {size / 1e6:.0f} MB of {label} decided within 0.3 s, peak ≤ 1.5 × text = "
                 f"{rss_limit:.0f} MB | {outcome} after {result['ms']:.0f} ms "
                 f"({result['min']:.0f}–{result['max']:.0f}){scan} | {result['rss']:.1f} MB | "
                 f"{verdict(ok)} |")
    os.remove(path)
os.remove(os.path.join(out, "targets-output"))
print("\n".join(table))
