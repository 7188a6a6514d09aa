#!/usr/bin/env python3
"""Counts non-blank, non-comment C++ lines (*.cpp, *.h) in src/ and tests/ and prints the ratio.

    python3 scripts/count_lines.py            totals and ratio
    python3 scripts/count_lines.py --files    also every file, largest first

A line counts when anything but whitespace is left after removing // and /* */ comments (string
literals are respected, so "http://..." is code). Data files (documents, golden pictures) are not
C++ and are not counted.
"""

import os
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))


def code_lines(text):
    count, in_block = 0, False
    for line in text.splitlines():
        code, i, quote = [], 0, None
        while i < len(line):
            c = line[i]
            if in_block:
                if line.startswith("*/", i):
                    in_block, i = False, i + 2
                else:
                    i += 1
                continue
            if quote:
                code.append(c)
                if c == "\\" and i + 1 < len(line):
                    code.append(line[i + 1])
                    i += 1
                elif c == quote:
                    quote = None
            elif line.startswith("//", i):
                break
            elif line.startswith("/*", i):
                in_block, i = True, i + 2
                continue
            elif c in "\"'":
                quote = c
                code.append(c)
            else:
                code.append(c)
            i += 1
        if "".join(code).strip():
            count += 1
    return count


def count(folder):
    files = {}
    for dirpath, _, names in os.walk(os.path.join(ROOT, folder)):
        for name in names:
            if name.endswith((".cpp", ".h")):
                path = os.path.join(dirpath, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    files[os.path.relpath(path, ROOT)] = code_lines(f.read())
    return files


def main():
    src, tests = count("src"), count("tests")
    if "--files" in sys.argv[1:]:
        for path, n in sorted({**src, **tests}.items(), key=lambda kv: -kv[1]):
            print(f"{n:6d}  {path}")
    s, t = sum(src.values()), sum(tests.values())
    print(f"src   {s:6d} lines in {len(src)} files")
    print(f"tests {t:6d} lines in {len(tests)} files")
    print(f"ratio {t / s:.3f} (tests / src; at most 0.333 wanted)")


if __name__ == "__main__":
    main()
