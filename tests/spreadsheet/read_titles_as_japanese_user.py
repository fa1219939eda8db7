#!/usr/bin/env python3
"""Opens logs with Japanese titles as a Japanese user's spreadsheet does.

  read_titles_as_japanese_user.py SOFFICE SIMHOST MODULE COLUMNS SCENARIO WORK_DIR

simhost drives the built module through SCENARIO twice: beside the column
file COLUMNS (Japanese titles, UTF-8 with its mark) and beside the same file
saved as code page 932 (ANSI on a Japanese Windows). LibreOffice, headless,
in a fresh profile and a Japanese locale, then reads each log: the first
with the import dialog's defaults (Tab, Comma and Semicolon, the double
quote, the character set left to LibreOffice, language Japanese), the second
with the filter options the README names for code page 932. Every title
must read as written in the column file, and the first column hold the
clock. Exits 0 when all holds, 1 naming each problem otherwise.
"""
import glob
import os
import shutil
import subprocess
import sys

from libreoffice import read_cells

# Separators Tab (9), Comma (44), Semicolon (59); quote (34); character set
# left to detection (0); first line 1; column types default; Japanese (1041).
JAPANESE_DEFAULTS = "CSV:9/44/59,34,0,1,,1041"
# Comma, quote, code page 932 (60): as the README tells for ANSI logs.
CODE_PAGE_932 = "CSV:44,34,60"


def write_log(simhost, module, columns, scenario, folder):
    """The log simhost writes with the module beside columns (bytes)."""
    os.makedirs(folder)
    copy = os.path.join(folder, os.path.basename(module))
    shutil.copy(module, copy)
    with open(os.path.splitext(copy)[0] + ".csv", "wb") as file:
        file.write(columns)
    subprocess.run([simhost, "--quiet", "--module", copy, "--scenario", scenario], cwd=folder,
                   check=True, timeout=300)
    return glob.glob(os.path.join(folder, "Log_*.csv"))[0]


def first_rows(soffice, log, infilter, work):
    """The first two rows LibreOffice reads from log in a Japanese locale."""
    return read_cells(soffice, log, infilter, "ja_JP.UTF-8", work)[:2]


def main():
    soffice, simhost, module, columns_path, scenario, work = sys.argv[1:7]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with open(columns_path, encoding="utf-8-sig", newline="") as file:
        columns = file.read()
    titles = [line.split(",")[1] for line in columns.split("\r\n") if "," in line]
    problems = []
    cases = [("UTF-8 with mark", b"\xef\xbb\xbf" + columns.encode("utf-8"), JAPANESE_DEFAULTS),
             ("code page 932", columns.encode("cp932"), CODE_PAGE_932)]
    for number, (name, encoded, infilter) in enumerate(cases):
        log = write_log(simhost, module, encoded, scenario, os.path.join(work, str(number)))
        rows = first_rows(soffice, log, infilter, work)
        read = [text for _, _, text in rows[0][:len(titles)]]
        if read != titles:
            problems.append("%s (%s): titles read as %s, expected %s" % (log, name, read, titles))
        if rows[1][0][0] != "time":
            problems.append("%s (%s): the first column holds %s" % (log, name, rows[1][0]))
    for problem in problems:
        print(problem)
    print("%d titles checked in %d logs" % (len(titles), len(cases)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
