#!/usr/bin/python3
"""Holds the import tables of the shipped Windows binaries against the list of every function the
program may take from the system (platform/WindowsImports.tsv), so that a binary that a Windows
generation it serves would refuse to load (or whose call would fail there) never ships.

  check-imports.py [--list TSV] [--runtime CPP] [--sources ROOT] BINARY...
  check-imports.py --cross-check REACTOS_TSV [--list TSV]

Wine resolves every import whatever Windows it reports, so only this reading can tell. The rules:
  - every import of a binary (by name or by ordinal) has its row in the list;
  - a function imported statically is exported by every generation checked (98, Me, NT 4.0, 2000,
    XP); one that 95/98/Me export without doing anything ("stub") may be imported only where the
    program never calls it there;
  - a function taken at run time is in the program's one table of them (--runtime), and where a
    generation lacks it the row names the fallback;
  - a row says which generations the program serves with the function, and those have it;
  - nothing in the program's sources but that table looks a system function up by name.
--cross-check compares the list with the export table that the ReactOS project records for the
NT 5.x system DLLs and prints where the two disagree.
"""
import argparse
import os
import re
import sys

import pefile

NINE_X = ["95", "98", "me"]
NT = ["nt4", "2000", "xp", "vista"]
CHECKED = ["98", "me", "nt4", "2000", "xp"]
# The 64-bit build (for Wine on hosts without 32-bit support) can only ever run on the 64-bit XP.
CHECKED_BY_MACHINE = {"i386": CHECKED, "x86-64": ["xp"]}
# The program's own libraries are loaded by full path; looking their entries up is no system call.
OWN_LOADERS = {"core/mainwindow/HookLibrary.cpp", "pages/ThumbnailGenerator.cpp",
               "platform/SystemFunctionsWin32.cpp"}
SOURCE_DIRS = ["boot", "changers", "core", "help", "hook", "i18n", "image", "imageinfo", "net",
               "pages", "platform", "thumbs", "widgets"]


class Row:
    def __init__(self, fields, line):
        self.line = line
        self.dll, self.function, oldest, serves, self.how = fields[:5]
        self.note = fields[5] if len(fields) > 5 else ""
        self.dll = self.dll.lower()
        nine, _, nt = oldest.partition("/")
        self.nine, self.nt = nine, nt
        self.serves = serves.split() if serves != "-" else []

    def key(self):
        return (self.dll, self.function)

    def status(self, generation):
        """'yes', 'stub' (exported, fails) or 'no' on one generation."""
        if generation in NINE_X:
            if self.nine == "stub":
                return "stub"
            return "yes" if self.nine in NINE_X and NINE_X.index(generation) >= NINE_X.index(self.nine) else "no"
        return "yes" if self.nt in NT and NT.index(generation) >= NT.index(self.nt) else "no"


def read_list(path):
    rows, problems = {}, []
    with open(path, encoding="utf-8") as f:
        for number, text in enumerate(f, 1):
            text = text.rstrip("\n")
            if not text.strip() or text.startswith("#") or text.startswith("dll\t"):
                continue
            fields = text.split("\t")
            if len(fields) < 5:
                problems.append(f"{path}:{number}: needs dll, function, oldest, serves, how")
                continue
            row = Row(fields, number)
            where = f"{path}:{number} {row.dll} {row.function}"
            if row.nine not in NINE_X + ["stub", "none"] or row.nt not in NT + ["none"]:
                problems.append(f"{where}: oldest must be 9X/NT (95|98|me|stub|none / nt4|2000|xp|vista|none)")
            if row.how not in ("static", "runtime"):
                problems.append(f"{where}: how must be static or runtime")
            for g in row.serves:
                if g not in CHECKED + ["95"]:
                    problems.append(f"{where}: unknown generation {g} in serves")
                elif row.status(g) != "yes":
                    problems.append(f"{where}: serves {g}, which {'only stubs' if row.status(g) == 'stub' else 'lacks'} it")
            if row.key() in rows:
                problems.append(f"{where}: listed twice")
            rows[row.key()] = row
    return rows, problems


def judge_row(row, generations):
    """What is wrong with using this row the way it says, on the generations checked."""
    problems = []
    lacking = [g for g in generations if row.status(g) == "no"]
    if row.how == "static":
        if lacking:
            problems.append(f"imported statically but missing on {' '.join(lacking)}: the program would not load there")
        stubbed = [g for g in generations if row.status(g) == "stub"]
        if stubbed and not row.note:
            problems.append(f"only a failing stub on {' '.join(stubbed)}: the row must say why that is harmless")
    elif lacking and not row.note:
        problems.append(f"missing on {' '.join(lacking)}: the row must name the fallback")
    return problems


def imports_of(path):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]])
    found = []
    for entries in (getattr(pe, "DIRECTORY_ENTRY_IMPORT", []), getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])):
        for entry in entries:
            dll = entry.dll.decode("ascii", "replace").lower()
            for imp in entry.imports:
                name = imp.name.decode("ascii", "replace") if imp.name else f"#{imp.ordinal}"
                found.append((dll, name))
    machine = {0x14c: "i386", 0x8664: "x86-64"}.get(pe.FILE_HEADER.Machine, hex(pe.FILE_HEADER.Machine))
    return machine, found


def runtime_table(path):
    text = open(path, encoding="utf-8").read()
    table = re.search(r"kTable\[\]\s*=\s*\{(.*?)\n\};", text, re.S)
    if not table:
        return None
    return [(dll.lower(), name) for dll, name in re.findall(r'\{"([^"]+)",\s*"([^"]+)"\}', table.group(1))]


def lookups_outside_table(root):
    found = []
    for folder in SOURCE_DIRS:
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if not name.endswith((".cpp", ".c", ".h")):
                    continue
                path = os.path.join(base, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                if relative in OWN_LOADERS:
                    continue
                for number, line in enumerate(open(path, encoding="utf-8", errors="replace"), 1):
                    if "GetProcAddress" in line:
                        found.append(f"{relative}:{number}")
    return found


def check(args):
    rows, problems = read_list(args.list)
    used = {}  # row key -> the generations the binaries that use it are checked for
    for binary in args.binaries:
        if not os.path.isfile(binary):
            problems.append(f"{binary}: missing")
            continue
        machine, found = imports_of(binary)
        generations = CHECKED_BY_MACHINE.get(machine)
        if not generations:
            problems.append(f"{binary}: unknown machine {machine}")
            continue
        print(f"{os.path.basename(binary)} ({machine}): {len(found)} imports from "
              f"{len({d for d, _ in found})} libraries")
        for dll, name in found:
            row = rows.get((dll, name))
            if not row:
                problems.append(f"{binary}: imports {dll} {name}, which has no row in {args.list}")
                continue
            used.setdefault(row.key(), set()).update(generations)
            if row.how != "static":
                problems.append(f"{binary}: imports {dll} {name} statically; its row says it is taken at run time")
    if args.runtime:
        table = runtime_table(args.runtime)
        if table is None:
            problems.append(f"{args.runtime}: no kTable found")
            table = []
        print(f"taken at run time: {len(table)} functions ({args.runtime})")
        for key in table:
            row = rows.get(key)
            if not row:
                problems.append(f"{args.runtime}: takes {key[0]} {key[1]} at run time, which has no row")
            elif row.how != "runtime":
                problems.append(f"{args.runtime}: takes {key[0]} {key[1]} at run time; its row says static")
            else:
                used.setdefault(key, set()).update(CHECKED)
        for key, row in rows.items():
            if row.how == "runtime" and key not in table:
                problems.append(f"{args.list}:{row.line}: {key[0]} {key[1]} is listed as taken at run time but is not in the table")
    for key in sorted(used):
        for p in judge_row(rows[key], [g for g in CHECKED if g in used[key]]):
            problems.append(f"{args.list}:{rows[key].line} {key[0]} {key[1]}: {p}")
    if args.sources:
        for place in lookups_outside_table(args.sources):
            problems.append(f"{place}: looks up a function by name outside platform/SystemFunctionsWin32.cpp")
    unused = [k for k in rows if k not in used]
    if unused:
        print(f"rows not used by these binaries: {len(unused)} ({', '.join(f for _, f in sorted(unused)[:12])}{' ...' if len(unused) > 12 else ''})")
    for p in problems:
        print("import check: " + p)
    print(f"import check: {len(used)} functions checked, {len(problems)} problems")
    return 1 if problems else 0


def cross_check(args):
    rows, problems = read_list(args.list)
    for p in problems:
        print("list: " + p)
    exports = {}
    with open(args.cross_check, encoding="utf-8") as f:
        next(f)
        for line in f:
            dll, ordinal, name, flags, version, _ = (line.rstrip("\n").split("\t") + [""] * 6)[:6]
            exports.setdefault(dll.lower(), {}).setdefault(name, []).append((ordinal, flags, version))
    disagreements = 0
    for key, row in sorted(rows.items()):
        dll, function = key
        if dll not in exports:
            print(f"not in the ReactOS table: {dll} (row {function})")
            continue
        if function.startswith("#"):
            ordinals = [e for entries in exports[dll].values() for e in entries if e[0] == function[1:]]
            if not ordinals:
                print(f"disagree: {dll} {function}: no such ordinal in the ReactOS table")
                disagreements += 1
            continue
        entries = exports[dll].get(function)
        if not entries:
            print(f"disagree: {dll} {function}: the list says {row.nt}, the ReactOS table has no such export")
            disagreements += 1
            continue
        versions = {v for _, _, v in entries}
        vista_only = all(v.startswith("0x6") for v in versions)
        if vista_only and row.nt != "vista":
            print(f"disagree: {dll} {function}: the list says {row.nt}, ReactOS exports it only from Vista on ({', '.join(versions)})")
            disagreements += 1
        elif not vista_only and row.nt == "vista":
            print(f"disagree: {dll} {function}: the list says vista, ReactOS exports it for NT 5.x too")
            disagreements += 1
        stub = any("stub" in fl for _, fl, _ in entries)
        if stub:
            print(f"note: {dll} {function} is a stub in ReactOS (exported, not implemented there)")
    print(f"cross-check: {len(rows)} rows, {disagreements} disagreements")
    return 0


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--list", default=os.path.join(root, "platform", "WindowsImports.tsv"))
    parser.add_argument("--runtime", help="the C++ file with the table of run-time functions")
    parser.add_argument("--sources", help="the source tree to search for look-ups by name")
    parser.add_argument("--cross-check", help="reactos-exports.tsv to compare the list with")
    parser.add_argument("binaries", nargs="*")
    args = parser.parse_args()
    if args.cross_check:
        return cross_check(args)
    if not args.binaries:
        parser.error("name the binaries to check")
    return check(args)


if __name__ == "__main__":
    sys.exit(main())
