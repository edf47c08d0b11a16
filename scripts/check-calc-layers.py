#!/usr/bin/env python3
"""Fails when the folders of src/calc include each other in a cycle.

Reads every #include "folder/File.h" line under src/calc (or the folder given),
builds the graph folder -> included folder, and prints any cycle found."""
import re
import sys
from pathlib import Path

root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src" / "calc")
folders = {p.name for p in root.iterdir() if p.is_dir()}
include = re.compile(r'^\s*#\s*include\s+"([^/"]+)/')

edges = {f: set() for f in folders}
for path in root.rglob("*"):
    if path.suffix not in (".h", ".cpp") or path.parent == root:
        continue
    source = path.relative_to(root).parts[0]
    for line in path.read_text(errors="replace").splitlines():
        m = include.match(line)
        if m and m.group(1) in folders and m.group(1) != source:
            edges[source].add(m.group(1))

# Depth-first search; a folder met again while still on the path closes a cycle.
state, path_ = {}, []
def visit(folder):
    state[folder] = "open"
    path_.append(folder)
    for nxt in sorted(edges[folder]):
        if state.get(nxt) == "open":
            cycle = path_[path_.index(nxt):] + [nxt]
            sys.exit("calc folders include each other in a cycle: " + " -> ".join(cycle))
        if nxt not in state:
            visit(nxt)
    path_.pop()
    state[folder] = "done"

for folder in sorted(folders):
    if folder not in state:
        visit(folder)
print("calc folder includes: no cycle (" + ", ".join(
    f"{f} -> {'/'.join(sorted(edges[f])) or '-'}" for f in sorted(folders)) + ")")
