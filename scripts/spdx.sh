#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Gives every file of the tree (tracked, or new and not ignored) that can carry one the two
# SPDX lines (copyright and licence), in the comment form of its language, and leaves files
# that have them alone, so it can be run again after every merge.
#   bash scripts/spdx.sh             add the lines where they are missing
#   bash scripts/spdx.sh --check     list the files that lack them (status 1 if any)
#   bash scripts/spdx.sh --list      list the files that can carry them
#   bash scripts/spdx.sh --declared  list the files REUSE.toml gives their licence, a tab
#                                    and that licence
#   bash scripts/spdx.sh --files     list every file of the tree it looks at, NUL-separated
# Files that cannot carry them keep their formats: REUSE.toml names them (outline files and
# drawings, pictures, test inputs, JSON, the licence, the Debian files without comments) and
# gives their licence, as debian/copyright does. A file of neither kind is a fault: its
# comment form belongs below, or it belongs in REUSE.toml. Empty files (.gitkeep) have
# nothing to license.
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-add}"
git ls-files -z --cached --others --exclude-standard | python3 -c '
import os
import re
import sys
import tomllib

COPYRIGHT = "SPDX-FileCopyrightText: 2026 The Kvelt developers"
LICENCE = "SPDX-License-Identifier: "
# The AppStream metadata is under CC0, as software centres want it.
LICENCES = {"packaging/kvelt.metainfo.xml.in": "CC0-1.0"}

def glob_regex(pattern):
    """A REUSE.toml path: * within one folder, ** across folders."""
    out = ""
    for i, part in enumerate(pattern.split("**")):
        out += (".*" if i else "") + "[^/]*".join(re.escape(p) for p in part.split("*"))
    return re.compile(out + "$")

with open("REUSE.toml", "rb") as toml:
    DECLARED = [(glob_regex(p), a["SPDX-License-Identifier"])
                for a in tomllib.load(toml)["annotations"] for p in a["path"]]

def declared(path):
    """The licence REUSE.toml gives the file, or None."""
    return next((licence for r, licence in DECLARED if r.match(path)), None)

def style(path):
    """The comment around one line, or None for a file without a known comment form."""
    name = path.rsplit("/", 1)[-1]
    if name.endswith((".cpp", ".h", ".c", ".hpp")):
        return ("// ", "")
    if name == "CMakeLists.txt" or name.endswith((".sh", ".py", ".cmake", ".supp", ".yml", ".yaml",
                                                 ".toml", ".desktop.in")) \
            or name in {".gitignore", ".gitattributes", ".clang-format", "lintian-overrides",
                        "watch", "control", "metadata", "rules"} \
            or name.endswith(".lintian-overrides") \
            or path in {".ci/run"} or path.startswith("debian/tests/"):
        return ("# ", "")
    if name.endswith((".6.in", ".6")):
        return (".\\\" ", "")
    if name.endswith((".html", ".md", ".qrc", ".svg", ".xml", ".xml.in")):
        return ("<!-- ", " -->")
    return None

def header_at(lines):
    """Where the lines go: after a first line that must stay first."""
    if not lines:
        return 0
    first = lines[0]
    if first.startswith(("#!", "<?xml", "<!DOCTYPE")):
        return 1
    return 0

def has_header(text):
    """Both lines near the top, where licensecheck looks."""
    top = "\n".join(text.split("\n")[:25])
    return LICENCE in top and COPYRIGHT.split(":")[0] + ":" in top

mode = sys.argv[1]
paths = [p for p in sys.stdin.buffer.read().decode().split("\0")
         if p and os.path.isfile(p) and os.path.getsize(p) > 0]
missing = []
if mode == "--files":
    sys.stdout.write("".join(path + "\0" for path in paths))
    sys.exit(0)
for path in paths:
    if declared(path):
        if mode == "--declared":
            print(path + "\t" + declared(path))
        continue
    if mode == "--declared":
        continue
    s = style(path)
    if s is None:
        if mode != "--list":
            missing.append(path + "  (no comment form known: add it to scripts/spdx.sh,"
                           " or declare the file in REUSE.toml)")
        continue
    if mode == "--list":
        print(path)
        continue
    try:
        text = open(path, encoding="utf-8", newline="").read()
    except UnicodeDecodeError:
        missing.append(path + "  (not UTF-8 text)")
        continue
    if has_header(text):
        continue
    if mode == "--check" or LICENCE in text:
        missing.append(path)
        continue
    newline = "\r\n" if "\r\n" in text else "\n"
    lines = text.split(newline)
    at = header_at(lines)
    open_, close = s
    added = [open_ + COPYRIGHT + close,
             open_ + LICENCE + LICENCES.get(path, "GPL-3.0-or-later") + close]
    # A comment block of the same kind goes on below a blank comment line.
    if at < len(lines) and open_.strip() and lines[at].startswith(open_.strip()) and not close:
        added.append(open_.strip())
    lines[at:at] = added
    open(path, "w", encoding="utf-8", newline="").write(newline.join(lines))
    print("spdx: " + path)
for path in missing:
    print(path)
sys.exit(1 if missing else 0)
' "$mode"
