#!/usr/bin/env python3
"""Reads the programs the Windows tests patched with the toolchain's own tools, independently of
the changers' code: windres turns each file's resources into a .res file, objdump prints the
headers. Checks the resources, the boot palette and the PE checksum.

usage: check-written.py WINDRES OBJDUMP WRITTEN_FOLDER UIFILE
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

failures = 0
passes = 0


def check(ok, what):
    global failures, passes
    print(("ok   " if ok else "FAIL ") + what)
    if ok:
        passes += 1
    else:
        failures += 1


def read_res(data):
    """(type, name, language) -> bytes of a .res file."""
    out = {}
    at = 0
    while at + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, at)
        p = at + 8

        def ident(p):
            if struct.unpack_from("<H", data, p)[0] == 0xFFFF:
                return struct.unpack_from("<H", data, p + 2)[0], p + 4
            end = p
            while struct.unpack_from("<H", data, end)[0] != 0:
                end += 2
            return data[p:end].decode("utf-16-le"), end + 2

        rtype, p = ident(p)
        name, p = ident(p)
        p = (p + 3) & ~3
        body = at + header
        if size:
            out[(rtype, name)] = data[body:body + size]
        at = (body + size + 3) & ~3
    return out


def resources(windres, path):
    with tempfile.TemporaryDirectory() as d:
        res = os.path.join(d, "out.res")
        subprocess.run([windres, "-i", path, "-J", "coff", "-O", "res", "-o", res], check=True)
        return read_res(open(res, "rb").read())


def languages(objdump, path):
    """Every language id of the resource tree as objdump prints it (windres's .res output
    carries none)."""
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    found = set()
    lines = text.splitlines()
    for i, line in enumerate(lines):
        if "Language Table" in line:
            for entry in lines[i + 1:]:
                m = re.search(r"Entry: ID: 0x([0-9a-fA-F]+)", entry)
                if not m or "Leaf" in entry:
                    break
                found.add(int(m.group(1), 16))
    return found


def header_checksum(objdump, path):
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    return int(re.search(r"^CheckSum\s+([0-9a-fA-F]+)", text, re.M).group(1), 16)


def computed_checksum(image):
    nt = struct.unpack_from("<I", image, 60)[0]
    data = bytearray(image)
    data[nt + 88:nt + 92] = b"\0\0\0\0"
    if len(data) % 2:
        data.append(0)
    total = 0
    for (word,) in struct.iter_unpack("<H", bytes(data)):
        total = total + word
        total = (total & 0xFFFF) + (total >> 16)
    return ((total & 0xFFFF) + (total >> 16) + len(image)) & 0xFFFFFFFF


def main():
    windres, objdump, folder, uifile = sys.argv[1:5]
    kernel = os.path.join(folder, "QVLOGO-xp.EXE")
    check(os.path.exists(kernel), "the boot screen test left its kernel copy")
    if os.path.exists(kernel):
        image = open(kernel, "rb").read()
        res = resources(windres, kernel)
        bitmap1 = res.get((2, 1), b"")
        width, height, planes, bits = struct.unpack_from("<iiHH", bitmap1, 4) if bitmap1 else (0,) * 4
        check((width, height, bits) == (640, 480, 4), "bitmap 1 is 640 x 480 at 4 bits")
        check(len(bitmap1) == 40 + 64 + 320 * 480, "bitmap 1 holds a 16-entry table and its rows")
        for small in (10, 11, 12):
            record = res.get((2, small), b"")
            check(len(record) == 82 and struct.unpack_from("<ii", record, 4) == (1, 1)
                  and struct.unpack_from("<I", record, 20)[0] == 4, "bitmap %d is the 1 x 1 record" % small)
        check(languages(objdump, kernel) == {0x0407}, "every resource in the kernel's language")
        check(image[0x67C90:0x67C90 + 64] == bitmap1[40:104], "the boot palette is bitmap 1's table")
        check(header_checksum(objdump, kernel) == computed_checksum(image), "kernel copy checksum")
    host = os.path.join(folder, "QVUIHOST.EXE")
    check(os.path.exists(host), "the logon screen test left its logon program copy")
    if os.path.exists(host):
        image = open(host, "rb").read()
        res = resources(windres, host)
        check(res.get(("UIFILE", 1000)) == open(uifile, "rb").read(),
              "UIFILE 1000 is the program's own description")
        background = res.get((2, 100), b"")
        check(len(background) > 82 and struct.unpack_from("<i", background, 4)[0] > 1, "bitmap 100")
        for deco in (123, 127):
            record = res.get((2, deco), b"")
            check(len(record) == 82 and record[40:78] == background[40:78], "bitmap %d" % deco)
        check(languages(objdump, host) == {0x0407}, "every resource in the logon program's language")
        check(header_checksum(objdump, host) == computed_checksum(image), "logon copy checksum")
    print("%d passed, %d failed" % (passes, failures))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
