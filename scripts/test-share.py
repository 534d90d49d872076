#!/usr/bin/env python3
"""The tests' share of the code: non-blank, non-comment lines of the (tracked or new, not ignored) .cpp/.h/.idl files outside
tests/ (code) against the .cpp/.h/.vbs/.py/.sh files under tests/ (tests).
scripts/test-share.py [--files | --folders] lists the test lines per file or per folder as well."""
import subprocess
import sys
from collections import Counter
from pathlib import Path

CODE = {"cpp", "h", "idl"}
TESTS = {"cpp", "h", "vbs", "py", "sh"}
LINE_COMMENT = {"cpp": "//", "h": "//", "idl": "//", "py": "#", "sh": "#", "vbs": "'"}


def counted_lines(path: Path, ext: str) -> int:
    count, in_block = 0, False
    for line in path.read_text(errors="replace").splitlines():
        text = line.strip()
        if not text:
            continue
        if ext in ("cpp", "h", "idl"):
            if in_block:
                in_block = "*/" not in text
                continue
            if text.startswith("/*"):
                in_block = "*/" not in text
                continue
        if text.startswith(LINE_COMMENT[ext]):
            continue
        count += 1
    return count


def main() -> None:
    root = Path(__file__).resolve().parent.parent
    files = subprocess.check_output(["git", "-C", str(root), "ls-files", "--cached", "--others", "--exclude-standard"], text=True).split()
    code, tests = 0, Counter()
    for name in files:
        if not (root / name).is_file():
            continue  # deleted, not yet committed
        ext = name.rsplit(".", 1)[-1]
        if name.startswith("tests/"):
            if ext in TESTS:
                tests[name] = counted_lines(root / name, ext)
        elif ext in CODE:
            code += counted_lines(root / name, ext)
    total = sum(tests.values())
    print(f"code {code} lines, tests {total} lines: {100 * total / code:.1f}%")
    if "--folders" in sys.argv:
        folders = Counter()
        for name, lines in tests.items():
            folders[str(Path(name).parent)] += lines
        for folder, lines in folders.most_common():
            print(f"{lines:6} {folder}")
    if "--files" in sys.argv:
        for name, lines in tests.most_common():
            print(f"{lines:6} {name}")


if __name__ == "__main__":
    main()
