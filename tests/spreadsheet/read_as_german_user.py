#!/usr/bin/env python3
"""Opens logs as a German user's double-click does and checks every cell.

LibreOffice, headless, in a fresh profile, with the CSV import dialog's
defaults for a German locale: Tab, Comma and Semicolon as separators, the
double quote as text delimiter, UTF-8, language German. Each log is
converted to a spreadsheet and the cells are read back from its content.xml.

  read_as_german_user.py SOFFICE POINT_LOG COMMA_LOG WORK_DIR

POINT_LOG is a standard log and COMMA_LOG the same run written for
comma-decimal spreadsheets, with the same columns first. Checks that every
value of COMMA_LOG is read as the number (or clock time) it stands for, and
that POINT_LOG shows the fault users meet without the setting: values with
three decimals read as thousands. Exits 0 when all holds, 1 with the
offending cells named FILE:ROW:COLUMN otherwise.
"""
import os
import re
import shutil
import sys

from libreoffice import read_cells

# Separators Tab (9), Comma (44), Semicolon (59); quote (34); UTF-8 (76);
# first line 1; column types default; language German (1031).
GERMAN_DEFAULTS = "CSV:9/44/59,34,76,1,,1031"
CLOCK = re.compile(r"^(\d+):(\d\d):(\d\d)\.(\d\d\d)$")
NUMBER = re.compile(r"^-?\d+(\.\d+)?(e[+-]\d+)?$")


def convert(soffice, log, work):
    """The spreadsheet LibreOffice makes of log, as rows of (type, value, text)."""
    return read_cells(soffice, log, GERMAN_DEFAULTS, "de_DE.UTF-8", work)


def fields(log):
    """The standard log's fields, row by row, the final empty field dropped."""
    with open(log, encoding="latin-1", newline="") as text:
        return [line.split(",")[:-1] for line in text.read().split("\r\n") if line]


def milliseconds(time_value):
    """Milliseconds of an ODF duration such as PT10H00M00.048S."""
    match = re.fullmatch(r"PT(\d+)H(\d+)M(\d+(?:\.\d+)?)S", time_value)
    hours, minutes, seconds = match.groups()
    return round((int(hours) * 3600 + int(minutes) * 60 + float(seconds)) * 1000)


def check_comma_log(where, expected, cells):
    """Problems with the cells of one value of the comma-decimal log."""
    kind, value, _ = cells
    clock = CLOCK.match(expected)
    if clock:
        h, m, s, f = (int(part) for part in clock.groups())
        want = ((h * 60 + m) * 60 + s) * 1000 + f
        if kind != "time" or milliseconds(value) != want:
            return ["%s: %s read as %s %s" % (where, expected, kind, value)]
    elif NUMBER.match(expected):
        if kind != "float" or float(value) != float(expected):
            return ["%s: %s read as %s %s" % (where, expected, kind, value)]
    return []


def main():
    soffice, point_log, comma_log, work = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    expected = fields(point_log)
    problems = []
    comma = convert(soffice, comma_log, work)
    numbers = 0
    for row, values in enumerate(expected[1:], start=2):
        for column, text in enumerate(values, start=1):
            where = "%s:%d:%d" % (comma_log, row, column)
            if column > len(comma[row - 1]):
                problems.append(where + ": no cell")
                continue
            problems += check_comma_log(where, text, comma[row - 1][column - 1])
            numbers += bool(CLOCK.match(text) or NUMBER.match(text))
    point = convert(soffice, point_log, work)
    thousands = 0
    for row, values in enumerate(expected[1:], start=2):
        for column, text in enumerate(values, start=1):
            kind, value, _ = point[row - 1][column - 1]
            if re.fullmatch(r"-?\d+\.\d\d\d", text) and kind == "float":
                thousands += float(value) == float(text) * 1000
    if thousands == 0:
        problems.append(point_log + ": no value with three decimals was read as thousands")
    for problem in problems:
        print(problem)
    print("%d numbers and clock times checked in %s; %d values read as thousands from %s"
          % (numbers, comma_log, thousands, point_log))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
