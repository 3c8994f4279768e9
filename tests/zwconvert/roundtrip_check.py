#!/usr/bin/env python3
"""Reads zwconvert's clipboard formats for the demo calculation with standard parsers that no
one here wrote: Python's csv module for "CSV" and html.parser for "HTML Format", whose header
offsets must point exactly at the document and the fragment.

Usage: roundtrip_check.py DEMO_TEXT WORK_DIR ZWCONVERT [EMULATOR]"""
import csv
import html.parser
import io
import os
import re
import shutil
import subprocess
import sys

DEMO, WORK, ZWCONVERT = sys.argv[1], sys.argv[2], sys.argv[3]
COMMAND = sys.argv[4:] + [ZWCONVERT]

EXPECTED_CSV = [
    ["Pos", "Menge", "Text", "Nummer", "Preis", "Rabatt", "Summe"],
    ["(1,)", "2,000", "Float 3mm", "", "15,200", "", ""],
    ["", "1,000", "Kitt und Kleinmaterial", "", "6,000", "", ""],
    ["", "1,000", "Glasentsorgung", "", "3,000", "", ""],
]


def zwconvert(fmt):
    templates = os.path.join(WORK, "Vorlagen")
    result = subprocess.run(COMMAND + ["--templates", templates, "--tax", "8", "--format", fmt,
                                       DEMO], stdout=subprocess.PIPE, check=True)
    return result.stdout


def check_csv():
    text = zwconvert("csv").decode("cp1252")
    assert not text.endswith("\r\n"), "CSV must end without a line end"
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=";", strict=True))
    assert rows == EXPECTED_CSV, rows


class TableReader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.cell = [], None

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.rows.append([])
        elif tag in ("td", "th"):
            self.cell = ""
        elif tag == "br" and self.cell is not None:
            self.cell += "\n"

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self.cell is not None:
            self.rows[-1].append(self.cell.replace("\xa0", " ").strip("\n"))
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data.replace("\r", "").replace("\n", "")


def check_html():
    document = zwconvert("html")
    header = dict(re.findall(rb"^(\w+):(\d+)\r$", document[:200], re.M))
    start_html, end_html = int(header[b"StartHTML"]), int(header[b"EndHTML"])
    start_fragment, end_fragment = int(header[b"StartFragment"]), int(header[b"EndFragment"])
    assert (start_html, start_fragment) == (97, 172), header
    assert end_html == len(document), (end_html, len(document))
    assert document[start_html:].startswith(b"<sHtml>"), document[start_html:start_html + 10]
    assert document[start_fragment - len(b"<!--StartFragment-->"):start_fragment] == \
        b"<!--StartFragment-->"
    assert document[end_fragment:].startswith(b"<!--EndFragment-->")
    fragment = document[start_fragment:end_fragment]
    assert fragment.startswith(b"<div>") and fragment.endswith(b"</div>"), fragment[-20:]
    reader = TableReader()
    reader.feed(fragment.decode("ascii"))  # every byte above 127 is an entity
    reader.close()
    expected = [
        ["Position", "Menge", "Text", "Nummer", "Preis", "Rabatt", "Summe"],
        ["(1,)", "2,000", "Float 3mm", "", "15,200", "", ""],
        ["Masse in mm: 500 X 400 = 0,40 m\xb2"],
        ["", "1,000", "Kitt und Kleinmaterial", "", "6,000", "", ""],
        ["", "1,000", "Glasentsorgung", "", "3,000", "", ""],
    ]
    assert reader.rows == expected, reader.rows


def check_text_and_datagrid():
    text = zwconvert("text")
    assert b"\0" not in text
    lines = text.split(b"\r\n")
    assert lines[-1] == b"" and len(lines) == 3 * 15 + 1, len(lines)
    assert lines[8] == b"Einzelbetrag=15,20" and lines[14] == b"-" * 20, lines[:15]
    grid = zwconvert("datagrid")
    assert int.from_bytes(grid[:4], "little") == len(grid) - 4
    assert grid[4:8] == b"TPF0" and grid[8:30] == b"\x15TDataGridLinesWrapper"


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    templates = os.path.join(WORK, "Vorlagen")
    os.makedirs(templates)
    subprocess.run(COMMAND + ["--templates", templates, DEMO], stdout=subprocess.DEVNULL)
    shutil.copy(os.path.join(templates, "demo.txt"), os.path.join(templates, "glas.txt"))
    check_csv()
    check_html()
    check_text_and_datagrid()
    shutil.rmtree(WORK, ignore_errors=True)
    print("CSV, HTML Format, text and CF_DATAGRIDDATA read back as expected")


if __name__ == "__main__":
    main()
