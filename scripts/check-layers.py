#!/usr/bin/env python3
"""Fails when a source file under src/ includes something its layer may not.

Two ladders, each lowest first; a folder includes only itself and folders to
its left:
  the top-level layers   ui <- render, calc <- shell  (render and calc never
                         include each other)
  inside src/calc        core <- conversion <- displays <- keys <- input
                         <- screens <- app
Every #include "layer/..." line is checked against the first ladder, every
#include "calc/folder/..." line against the second, and every #include <...>
against the libraries the layer is allowed (the table in ARCHITECTURE.md). A
header no rule knows fails too, so a new library is a line here and a cell
in that table. Prints one line per fault and exits 1, else a summary."""
import re
import sys
from pathlib import Path

SRC = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src"

# Which project layers each layer may include.
LAYERS = {
    "ui": {"ui"},
    "render": {"ui", "render"},
    "calc": {"ui", "calc"},
    "shell": {"ui", "render", "calc", "shell"},
}
CALC_LADDER = ["core", "conversion", "displays", "keys", "input", "screens", "app"]

# Library of an angle-bracket header, by the first rule that matches.
LIBRARIES = [
    ("POSIX", re.compile(r"^(sys/|unistd\.h$|fcntl\.h$|dirent\.h$|dlfcn\.h$|poll\.h$|spawn\.h$|pwd\.h$|signal\.h$)")),
    ("nlohmann-json", re.compile(r"^nlohmann/")),
    ("Boost", re.compile(r"^boost/")),
    ("cairo", re.compile(r"^cairo")),
    ("pango", re.compile(r"^pango/")),
    ("SDL2", re.compile(r"^SDL")),
    ("X11", re.compile(r"^X11/")),
    ("Wayland", re.compile(r"^wayland-")),
    ("ATK/GLib", re.compile(r"^(atk/|atk-bridge\.h$|atspi/|glib\.h$|glib/|gio/|dbus/)")),
    ("CLI11", re.compile(r"^CLI/")),
    ("the standard library", re.compile(r"^[a-z_]+$")),
]
ALLOWED = {
    "ui": {"the standard library", "POSIX", "nlohmann-json"},
    "render": {"the standard library", "POSIX", "cairo", "pango"},
    "calc": {"the standard library", "POSIX", "Boost"},
    "shell": {name for name, _ in LIBRARIES},
}

quoted = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
angled = re.compile(r'^\s*#\s*include\s+<([^>]+)>')


def library_of(header):
    return next((name for name, rule in LIBRARIES if rule.search(header)), None)


faults = []
counts = {layer: 0 for layer in LAYERS}
for path in sorted(SRC.rglob("*")):
    if path.suffix not in (".h", ".cpp") or path.parent == SRC:
        continue
    parts = path.relative_to(SRC).parts
    layer = parts[0]
    if layer not in LAYERS:
        faults.append(f"{path}: folder {layer} is not in the layer table")
        continue
    counts[layer] += 1
    calc_folder = parts[1] if layer == "calc" and len(parts) > 2 else None
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        where = f"{path.relative_to(SRC.parent)}:{number}"
        if m := quoted.match(line):
            target = m.group(1).split("/")
            if len(target) == 1:
                continue  # a header beside this file
            if target[0] not in LAYERS:
                faults.append(f"{where}: \"{m.group(1)}\" does not name its layer")
            elif target[0] not in LAYERS[layer]:
                faults.append(f"{where}: {layer} includes {target[0]} (\"{m.group(1)}\")")
            elif target[0] == "calc" and calc_folder:
                if len(target) < 3 or target[1] not in CALC_LADDER:
                    faults.append(f"{where}: \"{m.group(1)}\" is not a folder of the calculator")
                elif CALC_LADDER.index(target[1]) > CALC_LADDER.index(calc_folder):
                    faults.append(f"{where}: calc/{calc_folder} includes calc/{target[1]}, a folder above it")
        elif m := angled.match(line):
            library = library_of(m.group(1))
            if library is None:
                faults.append(f"{where}: <{m.group(1)}> belongs to no library in the layer table")
            elif library not in ALLOWED[layer]:
                faults.append(f"{where}: {layer} uses {library} (<{m.group(1)}>)")
    if calc_folder is not None and calc_folder not in CALC_LADDER:
        faults.append(f"{path}: calc/{calc_folder} is not on the calculator's ladder")

if faults:
    print("\n".join(faults))
    sys.exit(1)
print("layers hold: " + ", ".join(f"{layer} ({n} files)" for layer, n in counts.items()))
