#!/usr/bin/env python3
"""The proposal's round trip: for every calculation of the data folder (and the demo),
"zwconvert --suggest" proposes a template; saved alone in a template folder, it must turn
the calculation into the order lines written out by hand beside it (NAME.expected: UTF-8,
tab-separated, a header of property names, one order line per row; "#!" gives zwconvert's
separator options, "#" starts a comment). The properties a person reads and the expected file
does not name must stay empty.

Usage: suggest_check.py DATA_DIR DEMO_TEXT WORK_DIR ZWCONVERT [EMULATOR...]"""
import os
import shutil
import subprocess
import sys

DATA, DEMO, WORK, ZWCONVERT = sys.argv[1:5]
COMMAND = sys.argv[5:] + [ZWCONVERT]
READ_BY_A_PERSON = ["Pos", "Stueck", "Einheit", "Bezeichnung1", "Artikelnummer",
                    "Einzelbetrag", "TypeLine"]


def read_expected(path):
    options, header, rows = [], None, []
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            if line.startswith("#!"):
                options = line[2:].split()
            elif line.startswith("#") or not line:
                continue
            elif header is None:
                header = line.split("\t")
            else:
                cells = line.split("\t")
                rows.append(dict(zip(header, cells + [""] * (len(header) - len(cells)))))
    return options, header, rows


def unescape(value):
    out, i = [], 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            out.append({"t": "\t", "r": "\r", "n": "\n", "\\": "\\"}[value[i + 1]])
            i += 2
        else:
            out.append(value[i])
            i += 1
    return "".join(out)


def read_lines(dump):
    lines = []
    for block in dump.decode("cp1252").split("\n\n"):
        if not block.strip():
            continue
        line = {}
        for entry in block.split("\n"):
            key, _, value = entry.partition("=")
            line[key] = unescape(value)
        lines.append(line)
    return lines


def check(name, text, expected):
    options, header, rows = read_expected(expected)
    folder = os.path.join(WORK, name, "Vorlagen")
    shutil.rmtree(os.path.join(WORK, name), ignore_errors=True)
    os.makedirs(folder)
    proposal = subprocess.run(COMMAND + ["--suggest", *options, text], capture_output=True)
    if proposal.returncode != 0:
        return [f"--suggest ended with {proposal.returncode}: {proposal.stderr!r}"]
    if b"\n" in proposal.stdout.replace(b"\r\n", b""):
        return ["the proposal has a line end other than CR LF"]
    with open(os.path.join(folder, "vorschlag.txt"), "wb") as f:
        f.write(proposal.stdout)
    converted = subprocess.run(COMMAND + ["--templates", folder, "--format", "lines", *options,
                                          text], capture_output=True)
    if converted.returncode != 0:
        return [f"the proposal converts nothing ({converted.returncode}): "
                f"{converted.stderr.decode('cp1252')}"]
    lines = read_lines(converted.stdout)
    problems = []
    if len(lines) != len(rows):
        problems.append(f"{len(lines)} order lines instead of {len(rows)}")
    for number, (line, row) in enumerate(zip(lines, rows), 1):
        for key in sorted(set(READ_BY_A_PERSON) | set(header)):
            want = row.get(key, "")
            if line.get(key, "") != want:
                problems.append(f"line {number} {key}: {line.get(key, '')!r}, expected {want!r}")
    return problems


cases = [("demo", DEMO, os.path.join(DATA, "demo.expected"))]
for entry in sorted(os.listdir(DATA)):
    if entry.endswith(".txt"):
        stem = entry[:-4]
        cases.append((stem, os.path.join(DATA, entry), os.path.join(DATA, stem + ".expected")))
failed = 0
for name, text, expected in cases:
    problems = check(name, text, expected)
    print(f"{name}: {'converts into the expected lines' if not problems else 'FAILS'}")
    for problem in problems:
        print(f"    {problem}")
    failed += bool(problems)
print(f"{len(cases) - failed} of {len(cases)} proposals convert their calculation as expected")
sys.exit(1 if failed else 0)
