#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Gives every tracked file that can carry one the two SPDX lines (copyright and licence),
# in the comment form of its language, and leaves files that have them alone, so it can be
# run again after every merge.
#   bash scripts/spdx.sh           add the lines where they are missing
#   bash scripts/spdx.sh --check   list the files that lack them (status 1 if any)
#   bash scripts/spdx.sh --list    list the files that can carry them
# Files that cannot carry them keep their formats: outline files and drawings, position
# files, pictures, the fuzzers' seeds, JSON, the licence itself, and the Debian files whose
# format has no comments (debian/copyright, which is the licence statement, the changelogs
# and source/format). debian/copyright covers them all.
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-add}"
git ls-files -z | python3 -c '
import sys

COPYRIGHT = "SPDX-FileCopyrightText: 2026 The Kvelt developers"
LICENCE = "SPDX-License-Identifier: "
# The AppStream metadata is under CC0, as software centres want it.
LICENCES = {"packaging/kvelt.metainfo.xml.in": "CC0-1.0"}

def style(path):
    """The comment around one line, or None for a file that cannot carry one."""
    name = path.rsplit("/", 1)[-1]
    if path.startswith("tests/corpus/") or path in {
            "LICENSE", "NEWS", "CMakePresets.json", "packaging/copyright", "packaging/changelog.in",
            "debian/copyright", "debian/changelog", "debian/source/format"}:
        return None
    if name.endswith((".cpp", ".h", ".c", ".hpp")):
        return ("// ", "")
    if name == "CMakeLists.txt" or name.endswith((".sh", ".py", ".cmake", ".supp", ".yml", ".yaml",
                                                 ".desktop.in")) \
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
    return LICENCE in "\n".join(text.split("\n")[:25])

mode = sys.argv[1]
paths = [p for p in sys.stdin.buffer.read().decode().split("\0") if p]
missing = []
for path in paths:
    s = style(path)
    if s is None:
        continue
    if mode == "--list":
        print(path)
        continue
    try:
        text = open(path, encoding="utf-8", newline="").read()
    except (FileNotFoundError, UnicodeDecodeError):
        continue
    if has_header(text):
        continue
    if mode == "--check":
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
