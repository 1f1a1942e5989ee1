#!/ usr / bin / env python3
"""tavro --check --format csv-de read as a German spreadsheet reads it
(Python's csv with delimiter ';', a byte-order mark, decimal commas) gives the
same table as --format csv read as RFC 4180: names with the separator,
quotes and umlauts, NaN results, numbers large and small.
Usage: check_csv_test.py TAVRO"""
import csv
import io
import math
import os
import re
import subprocess
import sys
import tempfile

CASES = {
    'pumpe; "alt", Größe.txt': ("Bezeichnung = Pumpe; \"P-101\", Größe 2\nBaugröße = B6\n"
                                "TLN = 100\nTKmax = 1300\nJA = 2,3\n"),
    "ohne Steifigkeit.txt": "Cdyn = 0\nJA = 0\n",  # results that are not numbers
    "gross und klein.txt": "TLN = 123456789.125\nPKW = 0.0000001\n",
}
NUMBER = re.compile(r"-?[0-9]+(,[0-9]+)?(e[-+][0-9]+)?|-?inf|nan")


def run(tavro, work, form):
    done = subprocess.run([tavro, "--check", "--format", form, *sorted(CASES)],
                          cwd=work, capture_output=True, check=False)
    assert done.returncode in (0, 3), (form, done.returncode, done.stderr)
    return done.stdout


def main():
    tavro = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as work:
        for name, text in CASES.items():
            with open(os.path.join(work, name), "w", encoding="utf-8") as f:
                f.write(text)
        german = run(tavro, work, "csv-de")
        scripts = run(tavro, work, "csv")
    assert german.startswith(b"\xef\xbb\xbf"), german[:8]
    assert not scripts.startswith(b"\xef\xbb\xbf")
    rows_de = list(csv.reader(io.StringIO(german.decode("utf-8-sig"), newline=""),
                              delimiter=";", strict=True))
    rows = list(csv.reader(io.StringIO(scripts.decode("utf-8"), newline=""), strict=True))
    assert german.count(b"\r\n") == len(rows_de) == len(CASES) + 1
    assert rows_de[0] == rows[0], (rows_de[0], rows[0])
    header = rows[0]
    assert header[0] == "file" and "PWimax" in header and "okay PWimax" in header
    assert [r[0] for r in rows_de[1:]] == sorted(CASES)
    assert ['Pumpe; "P-101", Größe 2', "B6"] in [r[1:3] for r in rows_de[1:]]
    checked = 0
    for de, plain in zip(rows_de[1:], rows[1:]):
        assert len(de) == len(plain) == len(header), (de, plain)
        for column, a, b in zip(header, de, plain):
            if column in ("file", "name", "size") or column.startswith("okay "):
                assert a == b, (column, a, b)
                continue
            assert NUMBER.fullmatch(a), (column, a)
            x, y = float(a.replace(",", ".")), float(b)
            assert x == y or (math.isnan(x) and math.isnan(y)), (column, a, b)
            checked += 1
    assert any(c in ("nan", "-nan") for row in rows_de[1:] for c in row)
    print(f"German CSV: {checked} numbers as the RFC 4180 CSV has them")


if __name__ == "__main__":
    main()
