#!/usr/bin/env python3
# Holds every source file to cmake/layers.txt: a file of a room includes
# headers only of its own room and of the rooms its line lists, only
# platform/sdl includes SDL and only platform/web the browser's (Emscripten). The presenting room serves every back end, so it
# includes none of them, whatever its line says. Tests, tools and benchmarks
# may include any room, but not SDL. Prints each offending include; exits 1 if
# there is one.
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
lines = (line.split() for line in (root / "cmake/layers.txt").read_text().splitlines())
uses = {words[0]: set(words[1:]) for words in lines if words and not words[0].startswith("#")}
SHARED, BACK_ENDS = "platform/present", {"platform/sdl", "platform/web"}
include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def room_of(path):
    # The longest room that is a prefix of path, or None.
    return max((room for room in uses if (path + "/").startswith(room + "/")), key=len, default=None)


problems = []
for file in sorted(root.rglob("*")):
    relative = file.relative_to(root).as_posix()
    if file.suffix not in (".cpp", ".h") or relative.startswith(("build", ".")):
        continue
    own = room_of(relative)
    lines = enumerate(file.read_text(errors="replace").splitlines(), 1)
    for number, match in ((n, m) for n, line in lines if (m := include.match(line))):
        quoted, header = match.group(1) == '"', match.group(2)
        where = f"{relative}:{number}: {header}"
        if header.startswith("SDL") and own != "platform/sdl":
            problems.append(f"{where}: SDL outside platform/sdl")
        if header.startswith("emscripten") and own != "platform/web":
            problems.append(f"{where}: the browser outside platform/web")
        used = room_of(header) if quoted else None
        if own and used and used != own and used not in uses[own]:
            problems.append(f"{where}: {own} may not use {used}")
        elif own == SHARED and (used in BACK_ENDS or header.startswith("emscripten")):
            problems.append(f"{where}: {own} serves every back end and uses none")

print("\n".join(problems + [f"layering: {len(problems)} offending includes"]))
sys.exit(1 if problems else 0)
