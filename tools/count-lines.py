#!/usr/bin/env python3
"""Lines of test code (tests/) against the rest of the tree, counting
neither blank lines nor comment lines; build/, docs/ and .git are left out.

    tools/count-lines.py [ROOT]
"""
import os
import sys

SOURCE_SUFFIXES = {".cpp", ".h", ".c", ".rc", ".def"}
SCRIPT_SUFFIXES = {".sh", ".py", ".cmake", ".nsi"}
SKIPPED_FOLDERS = {"build", "docs", ".git"}


def is_counted(name):
    suffix = os.path.splitext(name)[1]
    return (suffix in SOURCE_SUFFIXES or suffix in SCRIPT_SUFFIXES
            or name in ("CMakeLists.txt", "Makefile"))


def script_lines(lines):
    return sum(1 for s in lines if s and not s.startswith(("#", ";")))


def source_lines(lines):
    count, in_block = 0, False
    for s in lines:
        if in_block:
            in_block = "*/" not in s
            count += bool(not in_block and s.split("*/", 1)[1].strip())
        elif s.startswith("/*"):
            in_block = "*/" not in s
        elif s and not s.startswith("//"):
            count += 1
    return count


def code_lines(path):
    with open(path, errors="replace") as f:
        lines = [line.strip() for line in f]
    if os.path.splitext(path)[1] in SOURCE_SUFFIXES:
        return source_lines(lines)
    return script_lines(lines)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    totals = {"tests": 0, "other": 0}
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = [d for d in subfolders if d not in SKIPPED_FOLDERS]
        for name in filter(is_counted, files):
            path = os.path.join(folder, name)
            top = os.path.relpath(path, root).split(os.sep)[0]
            totals["tests" if top == "tests" else "other"] += code_lines(path)
    tests, other = totals["tests"], totals["other"]
    print(f"tests {tests} other {other} ratio {100 * tests / other:.1f}%")


if __name__ == "__main__":
    main()
