#!/usr/bin/env python3
"""Checks that every #include "folder/File.h" of the tree follows the allowed direction.

The rules are the table between the include-rules markers in docs/architecture.md: one row per
unit (a folder, or a sub-folder such as core/mainwindow; "*/ui" stands for the window sub-folder
of any model folder) and the units it may include. A file belongs to the longest unit that is a
prefix of its folder; a header the same way. A folder without a row fails, so that a new module
has to take its place in the table.

Beyond the table, the folders' includes must form no cycle: a folder that includes another one
(directly or through others) that includes it back is refused, whatever the table allows, since
such folders can no longer be built, tested or understood one without the other. The test,
fuzz and benchmark folders are left out: they include everything and nothing includes them.

  check-includes.py [ROOT]    check the tree at ROOT (default: this script's tree)
  check-includes.py --self-test   show that a crossing include is caught
Exit status: 0 when every include is allowed, 1 otherwise.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

SOURCE_SUFFIXES = (".cpp", ".h", ".c", ".rc", ".inc")
SKIPPED_TOP = {"build", ".git", "dist"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
MARK_BEGIN = "<!-- include-rules -->"
MARK_END = "<!-- /include-rules -->"


def read_rules(root):
    """{unit: set of units it may include, or {"*"}} from the table in docs/architecture.md."""
    path = os.path.join(root, "docs", "architecture.md")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if MARK_BEGIN not in text or MARK_END not in text:
        sys.exit("check-includes: no include-rules table in %s" % path)
    table = text.split(MARK_BEGIN, 1)[1].split(MARK_END, 1)[0]
    rules = {}
    for line in table.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) < 2 or not cells[0].startswith("`"):
            continue
        units = re.findall(r"`([^`]+)`", cells[0])
        allowed = set(re.findall(r"`([^`]+)`", cells[1]))
        for unit in units:
            rules[unit] = allowed
    if not rules:
        sys.exit("check-includes: the include-rules table is empty")
    return rules


def unit_of(folder, rules):
    """The unit of a folder path ("core/mainwindow/x" -> "core/mainwindow"), or None."""
    parts = folder.split("/")
    for n in range(len(parts), 0, -1):
        prefix = "/".join(parts[:n])
        if prefix in rules:
            return prefix
        if n >= 2 and parts[n - 1] == "ui" and "*/ui" in rules:
            return prefix
    return None


def may_include(unit, target, rules):
    if unit == target:
        return True
    allowed = rules[unit if unit in rules else "*/ui"]
    if "*" in allowed:
        return True
    if target in allowed:
        return True
    # A window sub-folder sits on top of its own model folder.
    if unit.endswith("/ui") and target == unit[: -len("/ui")]:
        return True
    return target.endswith("/ui") and "*/ui" in allowed


def source_files(root):
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root).replace(os.sep, "/")
        if rel == ".":
            dirs[:] = [d for d in dirs if d not in SKIPPED_TOP and not d.startswith(".")]
            continue
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield rel, name


CYCLE_FREE_EXEMPT = ("tests", "fuzz", "bench")


def folder_cycles(edges):
    """The strongly connected groups of more than one folder in {folder: {folder: example}}."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(edges.get(node, {})):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for node in sorted(edges):
        if node not in index:
            visit(node)
    return groups


def cycle_faults(edges):
    faults = []
    for group in folder_cycles(edges):
        members = set(group)
        links = ["%s (%s)" % (target, edges[source][target])
                 for source in group for target in sorted(edges[source]) if target in members]
        faults.append("include cycle between folders %s: %s" % (", ".join(group), "; ".join(links)))
    return faults


def check(root):
    rules = read_rules(root)
    faults = []
    edges = {}
    for folder, name in source_files(root):
        unit = unit_of(folder, rules)
        path = folder + "/" + name
        if unit is None:
            faults.append("%s: folder %s has no row in the include rules" % (path, folder))
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m or "/" not in m.group(1):
                    continue  # a header of the same folder
                target = unit_of(os.path.dirname(m.group(1)), rules)
                if target is None:
                    faults.append('%s:%d: "%s" is in no unit' % (path, number, m.group(1)))
                elif not may_include(unit, target, rules):
                    faults.append('%s:%d: %s may not include "%s" (%s)'
                                  % (path, number, unit, m.group(1), target))
                target_folder = os.path.dirname(m.group(1))
                if target_folder != folder and folder.split("/")[0] not in CYCLE_FREE_EXEMPT:
                    edges.setdefault(folder, {}).setdefault(target_folder, "%s:%d" % (path, number))
    faults.extend(cycle_faults(edges))
    for fault in faults:
        print(fault)
    print("include direction: %d fault(s)" % len(faults))
    return 1 if faults else 0


def self_test(root):
    """Copies the tree's rules and a few files, plants widgets -> core, then a cycle of two
    folders that the table allows each way; expects both to fail."""
    work = tempfile.mkdtemp(prefix="qv-includes-")
    try:
        os.makedirs(os.path.join(work, "docs"))
        shutil.copy(os.path.join(root, "docs", "architecture.md"), os.path.join(work, "docs"))
        for folder in ("widgets", "core", "platform"):
            os.makedirs(os.path.join(work, folder))
        with open(os.path.join(work, "platform", "Log.h"), "w") as f:
            f.write("#pragma once\n")
        with open(os.path.join(work, "core", "PVoptionData.h"), "w") as f:
            f.write('#include "platform/Log.h"\n')
        with open(os.path.join(work, "widgets", "Dialog.cpp"), "w") as f:
            f.write('#include "platform/Log.h"\n')
        clean = subprocess.run([sys.executable, __file__, work], stdout=subprocess.PIPE)
        with open(os.path.join(work, "widgets", "Dialog.cpp"), "a") as f:
            f.write('#include "core/PVoptionData.h"\n')
        crossed = subprocess.run([sys.executable, __file__, work], stdout=subprocess.PIPE,
                                 universal_newlines=True)
        print(crossed.stdout, end="")
        caught = "widgets/Dialog.cpp:2: widgets may not include" in crossed.stdout
        # Two window folders that the table lets include each other, doing so both ways.
        for folder in ("pages", os.path.join("boot", "ui"), "boot"):
            os.makedirs(os.path.join(work, folder), exist_ok=True)
        planted = {"widgets/Dialog.cpp": '#include "platform/Log.h"\n',
                   "pages/ProgramPages.cpp": '#include "boot/ui/BootScreenPage.h"\n',
                   "boot/ui/BootScreenPage.h": '#include "pages/ImageSetupPage.h"\n',
                   "pages/ImageSetupPage.h": "#pragma once\n"}
        for name, text in planted.items():
            with open(os.path.join(work, *name.split("/")), "w") as f:
                f.write(text)
        cycled = subprocess.run([sys.executable, __file__, work], stdout=subprocess.PIPE,
                                universal_newlines=True)
        print(cycled.stdout, end="")
        cycle_caught = "include cycle between folders boot/ui, pages" in cycled.stdout
        if clean.returncode == 0 and crossed.returncode == 1 and caught and cycle_caught:
            print("self-test: the crossing include and the cycle were caught")
            return 0
        print("self-test: FAILED (clean tree %d, crossed tree %d, cycle %d)"
              % (clean.returncode, crossed.returncode, cycled.returncode))
        return 1
    finally:
        shutil.rmtree(work)


def main(argv):
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if len(argv) > 1 and argv[1] == "--self-test":
        return self_test(argv[2] if len(argv) > 2 else here)
    return check(argv[1] if len(argv) > 1 else here)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
