#!/usr/bin/env python3
"""Checks that every include of the program's sources names its folder and points down the
layers (docs/ARCHITECTURE.md): a folder includes only its own headers and those of the
folders below it. Prints each include that breaks the rule; exits 1 when there is one."""
import pathlib
import re
import sys

# Each folder and the folders it may include from.
BELOW = {
    "engine": set(),
    "files": set(),
    "controls": set(),
    "platform": {"files"},
    "model": {"engine", "files", "platform", "controls"},
    "wiring": {"engine", "files", "platform", "model"},
    "windows": {"engine", "files", "platform", "controls", "model"},
    "tidemark": {"engine", "files", "platform", "controls", "model", "windows", "wiring"},
    "deskleaf": {"engine", "files", "platform", "controls", "model", "wiring"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
faults = []
for folder, below in BELOW.items():
    for source in sorted((root / folder).rglob("*")):
        if source.suffix not in {".h", ".cpp", ".inc", ".mm"}:
            continue
        for name in INCLUDE.findall(source.read_text(encoding="utf-8")):
            top = name.split("/")[0] if "/" in name else None
            if top is None and not name.endswith(".moc"):
                faults.append(f'{source.relative_to(root)}: "{name}" does not name its folder')
            elif top is not None and top != folder and top not in below:
                faults.append(f'{source.relative_to(root)}: "{name}" reaches up from {folder}/')
print("\n".join(faults) or "includes point down the layers")
sys.exit(1 if faults else 0)
