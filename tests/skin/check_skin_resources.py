#!/usr/bin/env python3
"""Checks the installer's skin archive and, in a Windows program, its resources.

    check_skin_resources.py --7zz PATH --archive skin.7z
    check_skin_resources.py --7zz PATH --exe QuorvaneSetup.exe

With --exe the program's resource directory is read straight from the PE file
(no Windows needed): the archive is resource "ZIPRES" 147, the icon group 145
must hold the nine 32-bit sizes, and the manifest must ask for administrator
rights and common controls 6. The archive itself is listed with 7zz: every
file the layouts and the window code name must be there, stored under "/"
names, solid LZMA2, each image at its pixel size. Exits non-zero with one line
per fault.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile

# Archive name -> (width, height), None for the layout documents.
EXPECTED = {
    "mainWnd.xml": None,
    "MessageBox1Wnd.xml": None,
    "res/mainWnd/bk01.png": (700, 420),
    "res/mainWnd/bk02.png": (700, 420),
    "res/mainWnd/bk03.png": (700, 420),
    "res/mainWnd/bk04.png": (700, 420),
    "res/mainWnd/installBtn1.png": (416, 88),
    "res/mainWnd/installBtn2.png": (416, 88),
    "res/mainWnd/installBtn3.png": (416, 88),
    "res/mainWnd/installDirEdit.png": (1040, 80),
    "res/mainWnd/installDirEdit1.png": (120, 64),
    "res/mainWnd/installDirEdit2.png": (120, 64),
    "res/mainWnd/installDirEdit3.png": (120, 64),
    "res/mainWnd/installPrg1.png": (583, 10),
    "res/mainWnd/installPrg2.png": (583, 10),
    "res/mainWnd/treatyCb1.png": (16, 16),
    "res/mainWnd/treatyCb2.png": (16, 16),
    "res/common/minbtn1.png": (48, 48),
    "res/common/minbtn2.png": (48, 48),
    "res/common/minbtn3.png": (48, 48),
    "res/common/minbtn4.png": (48, 48),
    "res/common/closebtn1.png": (48, 48),
    "res/common/closebtn2.png": (48, 48),
    "res/common/closebtn3.png": (48, 48),
    "res/common/closebtn4.png": (48, 48),
    "res/common/logo.png": (36, 36),
    "res/MessageBoxWnd/closeBtn1.png": (24, 24),
    "res/MessageBoxWnd/closeBtn2.png": (24, 24),
    "res/MessageBoxWnd/closeBtn3.png": (24, 24),
    "res/MessageBoxWnd/tips.png": (24, 24),
    "res/MessageBoxWnd/warn.png": (32, 32),
    "res/MessageBoxWnd/ok1.png": (76, 32),
    "res/MessageBoxWnd/ok2.png": (76, 32),
    "res/MessageBoxWnd/ok3.png": (76, 32),
    "res/MessageBoxWnd/cancel1.png": (76, 32),
    "res/MessageBoxWnd/cancel2.png": (152, 64),
    "res/MessageBoxWnd/cancel3.png": (76, 32),
}

# Names the program asks for, as it writes them, besides those in the layouts.
ASKED_BY_PROGRAM = [
    "MainWnd.xml", "MessageBox1Wnd.xml",
    "res\\mainWnd\\bk01.png", "res\\mainWnd\\bk02.png",
    "res\\mainWnd\\bk03.png", "res\\mainWnd\\bk04.png",
]

# Named by the main layout but deliberately absent: chDirBtn is never disabled.
ABSENT_ON_PURPOSE = {"res/mainwnd/installdiredit4.png"}

ICON_SIZES = [256, 128, 96, 72, 64, 48, 32, 24, 16]
RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24

faults = []


def fault(msg):
    faults.append(msg)


def lookup(entries, requested):
    """The archive's lookup rule: "\\" stands for "/", letter case is ignored,
    and the whole name must match."""
    key = requested.replace("\\", "/").lower()
    return [e for e in entries if e.lower() == key]


# ---------------------------------------------------------------------------
# PE resources

class PeResources:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        nsec, = struct.unpack_from("<H", data, pe + 6)
        opt_size, = struct.unpack_from("<H", data, pe + 20)
        opt = pe + 24
        magic, = struct.unpack_from("<H", data, opt)
        dirs = opt + (96 if magic == 0x10B else 112)
        self.rsrc_rva, _ = struct.unpack_from("<II", data, dirs + 2 * 8)
        self.sections = []
        for i in range(nsec):
            s = opt + opt_size + 40 * i
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((va, max(vsize, rawsize), rawptr))
        if not self.rsrc_rva:
            raise ValueError("no resource directory")
        self.base = self.offset(self.rsrc_rva)

    def offset(self, rva):
        for va, size, rawptr in self.sections:
            if va <= rva < va + size:
                return rawptr + rva - va
        raise ValueError("address 0x%x outside every section" % rva)

    def entries(self, dir_off):
        """(name or id, is_directory, offset from the resource base)."""
        named, ids = struct.unpack_from("<HH", self.data, self.base + dir_off + 12)
        out = []
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, self.base + dir_off + 16 + 8 * i)
            if name & 0x80000000:
                p = self.base + (name & 0x7FFFFFFF)
                n, = struct.unpack_from("<H", self.data, p)
                key = self.data[p + 2:p + 2 + 2 * n].decode("utf-16-le")
            else:
                key = name
            out.append((key, bool(target & 0x80000000), target & 0x7FFFFFFF))
        return out

    def find(self, rtype, rid):
        """Bytes of the first language of resource (rtype, rid), or None."""
        for key, is_dir, off in self.entries(0):
            if key != rtype or not is_dir:
                continue
            for key2, is_dir2, off2 in self.entries(off):
                if key2 != rid or not is_dir2:
                    continue
                langs = self.entries(off2)
                if not langs:
                    return None
                rva, size = struct.unpack_from("<II", self.data, self.base + langs[0][2])
                p = self.offset(rva)
                return self.data[p:p + size]
        return None

    def ids(self, rtype):
        for key, is_dir, off in self.entries(0):
            if key == rtype and is_dir:
                return [k for k, _, _ in self.entries(off)]
        return []


def check_program(exe, workdir):
    with open(exe, "rb") as f:
        res = PeResources(f.read())
    archive = res.find("ZIPRES", 147)
    if not archive:
        fault("resource ZIPRES 147 missing or empty")
        return None
    path = os.path.join(workdir, "zipres147.7z")
    with open(path, "wb") as f:
        f.write(archive)

    group = res.find(RT_GROUP_ICON, 145)
    if group is None:
        fault("icon group 145 missing")
    else:
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        sizes = []
        for i in range(count):
            w, h, _, _, planes, bits, nbytes, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            sizes.append(w or 256)
            if h != w or bits != 32:
                fault("icon %d of group 145: %dx%d, %d bits (want square, 32 bits)" % (i, w, h, bits))
            icon = res.find(RT_ICON, icon_id)
            if icon is None or len(icon) != nbytes:
                fault("icon image %d of group 145 missing or of the wrong length" % icon_id)
        if (reserved, kind) != (0, 1) or sorted(sizes, reverse=True) != ICON_SIZES:
            fault("icon group 145 holds sizes %s, want %s" % (sizes, ICON_SIZES))

    manifests = res.ids(RT_MANIFEST)
    if manifests != [1]:
        fault("want exactly one manifest, resource 1; found %s" % manifests)
    else:
        text = res.find(RT_MANIFEST, 1).decode("utf-8", "replace")
        for needle in ('level="requireAdministrator"', 'name="Microsoft.Windows.Common-Controls"',
                       'version="6.0.0.0"'):
            if needle not in text:
                fault("manifest lacks %s" % needle)
        if len(re.findall(r"<supportedOS ", text)) != 4:
            fault("manifest should list Windows 7, 8, 8.1 and 10/11")
    return path


# ---------------------------------------------------------------------------
# Archive

def list_archive(sevenzip, path):
    out = subprocess.run([sevenzip, "l", "-slt", path], check=True, capture_output=True,
                         text=True, encoding="utf-8").stdout
    # Entries follow the "----------" separator line; blocks are blank-line separated.
    body = out.split("\n----------\n", 1)[1]
    entries = {}
    for block in body.split("\n\n"):
        props = dict(line.split(" = ", 1) for line in block.splitlines() if " = " in line)
        if "Path" in props:
            entries[props["Path"]] = props
    return out, entries


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def layout_images(text):
    """File names of every image attribute of a layout document."""
    names = []
    for value in re.findall(r'(?:bkimage|normalimage|hotimage|pushedimage|disabledimage|'
                            r'selectedimage|foreimage)="([^"]*)"', text):
        m = re.search(r"file='([^']*)'", value)
        names.append(m.group(1) if m else value)
    return [n for n in names if n]


def check_archive(sevenzip, path, workdir):
    listing, entries = list_archive(sevenzip, path)
    if "Solid = +" not in listing:
        fault("archive is not solid")
    def is_folder(props):
        return props.get("Folder") == "+" or props.get("Attributes", "").startswith("D")
    for name, props in entries.items():
        if is_folder(props):
            continue
        if not props.get("Method", "").startswith("LZMA2"):
            fault("%s: method %s, want LZMA2" % (name, props.get("Method")))
        if "\\" in name:
            fault("%s: stored with a backslash" % name)
    files = sorted(n for n, p in entries.items() if not is_folder(p))
    missing = sorted(set(EXPECTED) - set(files))
    extra = sorted(set(files) - set(EXPECTED))
    if missing:
        fault("missing from the archive: %s" % ", ".join(missing))
    if extra:
        fault("unexpected in the archive: %s" % ", ".join(extra))

    out = os.path.join(workdir, "x")
    subprocess.run([sevenzip, "x", "-y", "-bso0", "-bsp0", "-o" + out, path], check=True)
    contents = {}
    for name in files:
        with open(os.path.join(out, *name.split("/")), "rb") as f:
            contents[name] = f.read()
    for name, size in EXPECTED.items():
        if name not in contents:
            continue
        data = contents[name]
        if size is None:
            if not data:
                fault("%s is empty" % name)
            continue
        got = png_size(data)
        if got != size:
            fault("%s: %s, want a %dx%d PNG" % (name, got, size[0], size[1]))

    asked = list(ASKED_BY_PROGRAM)
    for doc in ("mainWnd.xml", "MessageBox1Wnd.xml"):
        if doc in contents:
            text = contents[doc].decode("utf-8")
            asked += layout_images(text)
    for requested in asked:
        found = lookup(files, requested)
        if len(found) != 1 and requested.replace("\\", "/").lower() not in ABSENT_ON_PURPOSE:
            fault("%r finds %d archive entries, want 1" % (requested, len(found)))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--7zz", dest="sevenzip", required=True)
    group = ap.add_mutually_exclusive_group(required=True)
    group.add_argument("--archive")
    group.add_argument("--exe")
    args = ap.parse_args()
    with tempfile.TemporaryDirectory() as work:
        try:
            if args.exe:
                archive = check_program(args.exe, work)
            elif os.path.isfile(args.archive):
                archive = args.archive
            else:
                archive = None
                fault("no archive at %r" % args.archive)
            if archive:
                check_archive(args.sevenzip, archive, work)
        except (ValueError, struct.error, subprocess.CalledProcessError, OSError) as e:
            fault(str(e))
    for f in faults:
        print("FAULT:", f)
    if not faults:
        print("skin resources: %d files checked" % len(EXPECTED))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
