#!/usr/bin/python3
# Prints how large the tests are against the code they test, so anyone can check
# the guide's "a quarter to a third".
#
# Tests: every C++, Python, shell and CMake file under tests/.
# Code: every C++ file (.cpp, .h) outside tests/ and bench/.
# Files are those git knows or would add (tracked, or untracked and not ignored).
# Counted are lines that hold something besides a comment: blank lines are not
# counted, nor whole-line comments (// and /* */ blocks in C++, # in Python, shell
# and CMake). A line with code and a trailing comment counts, and so does a
# Python docstring.
import pathlib
import subprocess
import sys

CPP = {".cpp", ".h"}
HASH = {".py", ".sh", ".cmake"}


def kind(path):
    if path.name == "CMakeLists.txt":
        return "hash"
    if path.suffix in CPP:
        return "cpp"
    if path.suffix in HASH:
        return "hash"
    return None


def cpp_lines(text):
    count = 0
    in_block = False
    for line in text.splitlines():
        rest = line.strip()
        code = False
        while rest:
            if in_block:
                end = rest.find("*/")
                if end < 0:
                    break
                in_block = False
                rest = rest[end + 2:].strip()
            elif rest.startswith("//"):
                break
            elif rest.startswith("/*"):
                in_block = True
                rest = rest[2:]
            else:
                code = True
                break
        count += code
    return count


def hash_lines(text):
    return sum(1 for line in text.splitlines()
               if line.strip() and not line.strip().startswith("#"))


def count(path):
    text = path.read_text(encoding="utf-8", errors="replace")
    return cpp_lines(text) if kind(path) == "cpp" else hash_lines(text)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    files = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                           cwd=root, capture_output=True, text=True,
                           check=True).stdout.split()
    tests = code = 0
    for name in files:
        path = root / name
        top = name.split("/", 1)[0]
        if not path.is_file():
            continue
        if top == "tests" and kind(path):
            tests += count(path)
        elif top not in ("tests", "bench") and kind(path) == "cpp":
            code += count(path)
    if code == 0:
        sys.exit("test_proportion: no code found")
    print(f"tests: {round(100 * tests / code)} % of the code ({tests} / {code} lines)")


if __name__ == "__main__":
    main()
