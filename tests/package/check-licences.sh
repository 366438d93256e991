#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Licences as a Debian reviewer checks them, over the files of the tree (tracked, or new and
# not ignored), copied away from any build folder:
# - every file that can carry SPDX lines has them (scripts/spdx.sh --check);
# - licensecheck -r, reading only the top of each file, finds a licence and a copyright in
#   every file but those REUSE.toml declares, whose formats have no room for them;
# - the licence a file names, or REUSE.toml names for it, is the one debian/copyright gives.
# licensecheck is run on one folder, as -r: given several paths it would check only the
# names it takes for source files, and skip CMake files, man pages, HTML and the like.
#   bash check-licences.sh SOURCE
set -euo pipefail
cd "$1"
status=0
if ! missing=$(bash scripts/spdx.sh --check); then
    echo "without SPDX lines (bash scripts/spdx.sh adds them):"
    echo "$missing"
    status=1
fi
tree=$(mktemp -d)
trap 'rm -rf "$tree" "$tree.found" "$tree.declared"' EXIT
bash scripts/spdx.sh --files | tar --null -T - -cf - | tar -xf - -C "$tree"
(cd "$tree" && licensecheck -r --machine --copyright --shortname-scheme spdx --lines 25 --tail 0 .) \
    >"$tree.found"
bash scripts/spdx.sh --declared >"$tree.declared"
python3 - "$tree" <<'EOF' || status=1
import re
import sys

tree = sys.argv[1]
DEBIAN = {"GPL-3+": "GPL-3.0-or-later", "CC0-1.0": "CC0-1.0"}

def dep5_stanzas(path):
    """(pattern, licence) of each Files stanza of a DEP-5 file, in order."""
    stanzas = []
    for paragraph in open(path, encoding="utf-8").read().split("\n\n"):
        fields, name = {}, None
        for line in paragraph.split("\n"):
            if line[:1] in (" ", "\t") and name:
                fields[name] += " " + line.strip()
            elif ":" in line:
                name, value = line.split(":", 1)
                fields[name] = value.strip()
        if "Files" in fields:
            for glob in fields["Files"].split():
                pattern = re.escape(glob).replace("\\*", ".*").replace("\\?", ".")
                stanzas.append((re.compile(pattern + "$"), fields["License"].split()[0]))
    return stanzas

def own_licence(path):
    top = open(path, encoding="utf-8", errors="replace").read().split("\n")[:25]
    for line in top:
        found = re.search(r"SPDX-License-Identifier: ([\w.+-]+)", line)
        if found:
            return found.group(1)
    return None

declared = dict(line.rstrip("\n").split("\t") for line in open(tree + ".declared"))
stanzas = dep5_stanzas("debian/copyright")
faults = []
# One line a file, but for the "copyright" licensecheck finds in pictures' bytes, which may
# run over several.
found = re.findall(r"^(\./[^\t\n]*)\t([^\t\n]*)\t(.*)$",
                   open(tree + ".found", "rb").read().decode("utf-8", "replace"), re.M)
for path, licence, copyright in found:
    path = path.removeprefix("./")
    try:  # licensecheck writes names that are not ASCII encoded twice
        path = path.encode("latin-1").decode("utf-8")
    except (UnicodeEncodeError, UnicodeDecodeError):
        pass
    if path in declared:
        named = declared.pop(path)
    else:
        named = own_licence(tree + "/" + path)
        if licence == "UNKNOWN" or copyright == "*No copyright*" or not named:
            faults.append(f"{path}: licensecheck finds {licence}, {copyright}; neither SPDX lines "
                          "nor REUSE.toml give it a licence")
            continue
        if named.split(".")[0] not in licence:
            faults.append(f"{path}: names {named}, but licensecheck reads {licence}")
    debian = next((DEBIAN.get(l, l) for r, l in reversed(stanzas) if r.match(path)), None)
    if debian != named:
        faults.append(f"{path}: under {named}, but debian/copyright says {debian}")
for fault in faults:
    print(fault)
print(f"licences: {len(faults)} faults")
sys.exit(1 if faults else 0)
EOF
exit $status
