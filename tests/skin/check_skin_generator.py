#!/usr/bin/env python3
"""Checks that tools/skin/make_skin.py still draws the committed skin images
and icon: same files, same sizes, pixels within one step per channel (room for
floating-point differences between Python builds).

    check_skin_generator.py SOURCE_ROOT
"""

import os
import struct
import subprocess
import sys
import tempfile
import zlib


def decode_png(data):
    """(width, height, RGBA bytes) of an 8-bit RGBA or RGB PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, w = 8, b"", None
    while pos < len(data):
        n, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or ctype not in (2, 6) or interlace:
                raise ValueError("unsupported PNG form")
            bpp = 4 if ctype == 6 else 3
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    raw = zlib.decompress(idat)
    stride = w * bpp
    out, prev = bytearray(), bytearray(stride)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        if bpp == 3:
            for x in range(w):
                out += line[3 * x:3 * x + 3] + b"\xff"
        else:
            out += line
    return w, h, bytes(out)


def icon_images(data):
    """Decoded images of an icon file: [(size, pixel bytes)]."""
    _, _, count = struct.unpack_from("<HHH", data, 0)
    out = []
    for i in range(count):
        w, _, _, _, _, _, n, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        body = data[off:off + n]
        out.append((w or 256, decode_png(body)[2] if body[:4] == b"\x89PNG" else body))
    return out


def close(a, b):
    return len(a) == len(b) and all(abs(x - y) <= 1 for x, y in zip(a, b))


def main():
    root = sys.argv[1]
    faults = []
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(root, "tools", "skin", "make_skin.py"),
                        "--out", out], check=True)
        committed_dir = os.path.join(root, "skin", "res")
        drawn_dir = os.path.join(out, "skin", "res")

        def pngs(base):
            found = set()
            for d, _, names in os.walk(base):
                found |= {os.path.relpath(os.path.join(d, n), base) for n in names if n.endswith(".png")}
            return found
        committed, drawn = pngs(committed_dir), pngs(drawn_dir)
        for name in sorted(committed ^ drawn):
            faults.append("%s: %s" % (name, "not drawn by the generator" if name in committed
                                      else "drawn but not committed"))
        for name in sorted(committed & drawn):
            with open(os.path.join(committed_dir, name), "rb") as f:
                a = decode_png(f.read())
            with open(os.path.join(drawn_dir, name), "rb") as f:
                b = decode_png(f.read())
            if a[:2] != b[:2] or not close(a[2], b[2]):
                faults.append("%s differs from what the generator draws" % name)
        with open(os.path.join(root, "resources", "quorvane.ico"), "rb") as f:
            a = icon_images(f.read())
        with open(os.path.join(out, "resources", "quorvane.ico"), "rb") as f:
            b = icon_images(f.read())
        if [s for s, _ in a] != [s for s, _ in b] or not all(close(x, y) for (_, x), (_, y) in zip(a, b)):
            faults.append("resources/quorvane.ico differs from what the generator draws")
    for f in faults:
        print("FAULT:", f)
    if not faults:
        print("skin generator reproduces %d images and the icon" % len(committed))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
