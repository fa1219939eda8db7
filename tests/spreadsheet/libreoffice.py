"""LibreOffice, headless, in a fresh profile, opening a log as a user's
spreadsheet of one locale does: the rows of cells it reads."""
import os
import subprocess
import zipfile
import xml.etree.ElementTree as ET

TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"


def read_cells(soffice, log, infilter, locale, work):
    """The spreadsheet LibreOffice makes of log with the import options
    infilter in locale, as rows of (type, value, text)."""
    out = os.path.join(work, "out")
    env = dict(os.environ, LANG=locale, LC_ALL=locale, HOME=work)
    subprocess.run(
        [soffice, "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
         "--infilter=" + infilter, "--convert-to", "ods", "--outdir", out, log],
        check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    name = os.path.splitext(os.path.basename(log))[0] + ".ods"
    root = ET.fromstring(zipfile.ZipFile(os.path.join(out, name)).read("content.xml"))
    rows = []
    for row in root.iter("{%s}table-row" % TABLE):
        cells = []
        for cell in row:
            repeat = int(cell.get("{%s}number-columns-repeated" % TABLE, "1"))
            value = cell.get("{%s}value" % OFFICE) or cell.get("{%s}time-value" % OFFICE)
            entry = (cell.get("{%s}value-type" % OFFICE), value, "".join(cell.itertext()))
            cells += [entry] * min(repeat, 1000)
        rows += [cells] * min(int(row.get("{%s}number-rows-repeated" % TABLE, "1")), 1000)
    return rows
