#!/usr/bin/env python3
"""Checks that a translated manual keeps the structure of the English one.

  check_translation.py README.md docs/README.ja.md

The English manual's "## Using the logger" part and the translation must
have the same headings in the same order (each translated heading follows a
comment "<!-- en: English heading -->") and the same table rows that start
with a code cell (the keys and file names), in the same order. Exits 0 when
they do, 1 naming each difference otherwise.
"""
import re
import sys

SECTION = "Using the logger"


def user_part(lines, start):
    """The lines from the one matching start up to the next second-level heading."""
    begin = next(i for i, line in enumerate(lines) if start(line))
    end = next((i for i in range(begin + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    return lines[begin:end]


def code_rows(lines):
    """The first cells of the table rows that start with a code cell."""
    return [line.split("|")[1].strip() for line in lines if re.match(r"^\|\s*`", line)]


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        english = user_part(file.read().splitlines(), lambda line: line == "## " + SECTION)
    with open(sys.argv[2], encoding="utf-8-sig") as file:
        lines = file.read().splitlines()
    translated = user_part(lines, lambda line: line.startswith("## ") and
                           lines[lines.index(line) - 1] == "<!-- en: %s -->" % SECTION)
    problems = []
    english_headings = [line[4:] for line in english if line.startswith("### ")]
    named = []
    for index, line in enumerate(translated):
        if line.startswith("### "):
            comment = re.fullmatch(r"<!-- en: (.*) -->", translated[index - 1])
            if not comment:
                problems.append("%s: heading '%s' has no '<!-- en: ... -->' line above it"
                                % (sys.argv[2], line))
            named.append(comment.group(1) if comment else "?")
    if named != english_headings:
        problems.append("headings differ:\n  English:    %s\n  translated: %s"
                        % (english_headings, named))
    if code_rows(translated) != code_rows(english):
        problems.append("table rows differ:\n  English:    %s\n  translated: %s"
                        % (code_rows(english), code_rows(translated)))
    for problem in problems:
        print(problem)
    print("%d headings and %d table rows compared" % (len(english_headings), len(code_rows(english))))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
