#!/usr/bin/env python3
"""Writes tiny raw camera files: the structure each format opens with and an Exif date, and one
pixel of image data. No tool writes these formats, so they are laid out here byte by byte.
Usage: craft-raw-samples.py FOLDER"""

import struct
import sys
from pathlib import Path

ASCII, SHORT, LONG, UNDEFINED, BYTE = 2, 3, 4, 7, 1
SIZES = {BYTE: 1, ASCII: 1, SHORT: 2, LONG: 4, UNDEFINED: 1}


def ascii_value(text):
    return (ASCII, text.encode() + b"\0")


def short(value):
    return (SHORT, [value])


def long_(value):
    return (LONG, [value])


class Tiff:
    """A TIFF structure: directories are placed one after the other, each followed by the values
    that do not fit its entries. Offsets count from the start of the structure."""

    def __init__(self, order, magic=42, header_extra=b""):
        self.end = "<" if order == "II" else ">"
        self.order = order.encode()
        self.magic = magic
        self.header_extra = header_extra

    def pack(self, fmt, *values):
        return struct.pack(self.end + fmt, *values)

    def value_bytes(self, kind, value):
        if kind in (ASCII, UNDEFINED, BYTE) and isinstance(value, bytes):
            return value, len(value)
        fmt = {SHORT: "H", LONG: "I", BYTE: "B"}[kind]
        return b"".join(self.pack(fmt, v) for v in value), len(value)

    def directory(self, offset, entries, pointers=()):
        """Entries (tag, (type, value)) at `offset`; `pointers` are (tag, sub-directory entries)
        placed after it. Returns the bytes from `offset` on."""
        count = len(entries) + len(pointers)
        size = 2 + 12 * count + 4
        data_at = offset + size
        fixed, extra = [], b""
        subs = []
        for tag, (kind, value) in entries:
            raw, n = self.value_bytes(kind, value)
            if len(raw) <= 4:
                fixed.append((tag, kind, n, raw.ljust(4, b"\0")))
            else:
                if (data_at + len(extra)) % 2:
                    extra += b"\0"
                fixed.append((tag, kind, n, self.pack("I", data_at + len(extra))))
                extra += raw
        if len(extra) % 2:
            extra += b"\0"
        sub_at = data_at + len(extra)
        for tag, sub_entries in pointers:
            sub = self.directory(sub_at, sub_entries)
            fixed.append((tag, LONG, 1, self.pack("I", sub_at)))
            subs.append(sub)
            sub_at += len(sub)
        fixed.sort(key=lambda e: e[0])
        out = self.pack("H", count)
        for tag, kind, n, raw in fixed:
            out += self.pack("HHI", tag, kind, n) + raw
        out += self.pack("I", 0)
        return out + extra + b"".join(subs)

    def block(self, entries, pointers=()):
        """A plain TIFF header and one directory with its sub-directories: an Exif block."""
        return self.order + self.pack("H", 42) + self.pack("I", 8) + self.directory(8, entries,
                                                                                  pointers)

    def build(self, ifd0, exif=None):
        first = 8 + len(self.header_extra)
        head = self.order + self.pack("H", self.magic) + self.pack("I", first) + self.header_extra
        pointers = [(0x8769, exif)] if exif else []
        # One grey pixel, stored after the directories.
        image = [(0x0100, long_(1)), (0x0101, long_(1)), (0x0102, short(8)), (0x0103, short(1)),
                 (0x0106, short(1)), (0x0115, short(1)), (0x0116, long_(1)), (0x0117, long_(1))]
        probe = self.directory(first, ifd0 + image + [(0x0111, long_(0))], pointers)
        pixel = first + len(probe)
        body = self.directory(first, ifd0 + image + [(0x0111, long_(pixel))], pointers)
        return head + body + b"\x80"


def exif_dates(original=None, sub=None, offset=None, digitized=None, digitized_sub=None):
    entries = [(0x9000, (UNDEFINED, b"0232"))]
    for tag, text in ((0x9003, original), (0x9004, digitized), (0x9011, offset), (0x9291, sub),
                      (0x9292, digitized_sub)):
        if text:
            entries.append((tag, ascii_value(text)))
    return entries


def camera(make, model, changed=None):
    entries = [(0x010F, ascii_value(make)), (0x0110, ascii_value(model))]
    if changed:
        entries.append((0x0132, ascii_value(changed)))
    return entries


def exif_jpeg(tiff_bytes):
    """A JPEG that holds only its Exif segment: what RAF and RW2 embed as a preview."""
    segment = b"Exif\0\0" + tiff_bytes
    return b"\xFF\xD8\xFF\xE1" + struct.pack(">H", len(segment) + 2) + segment + b"\xFF\xD9"


def box(kind, payload):
    return struct.pack(">I", 8 + len(payload)) + kind + payload


def cr2():
    extra = b"CR\x02\x00" + struct.pack("<I", 0)  # the raw directory's offset, none here
    return Tiff("II", header_extra=extra).build(
        camera("Canon", "Canon EOS 5D Mark IV", changed="2021:06:02 00:00:00"),
        exif_dates(original="2021:06:01 08:00:01"))


def nef():
    return Tiff("MM").build(camera("NIKON CORPORATION", "NIKON D850"),
                            exif_dates(original="2021:06:03 09:10:11", sub="50", offset="+02:00"))


def arw():
    return Tiff("II").build(camera("SONY", "ILCE-7M3"),
                            exif_dates(original="2021:06:04 12:00:00", offset="-04:00"))


def dng():
    # Only the directory's own date, with its sub-seconds and offset in the Exif directory.
    ifd0 = camera("Google", "Pixel 7", changed="2021:06:05 13:14:15") + [
        (0xC612, (BYTE, bytes([1, 4, 0, 0]))), (0xC614, ascii_value("Google Pixel 7"))]
    exif = [(0x9000, (UNDEFINED, b"0232")), (0x9010, ascii_value("+05:30")),
            (0x9290, ascii_value("7"))]
    return Tiff("II").build(ifd0, exif)


def orf():
    return Tiff("II", magic=0x4F52).build(
        camera("OLYMPUS CORPORATION", "E-M1MarkII"),
        exif_dates(digitized="2021:06:06 06:06:06", digitized_sub="250"))


def rw2():
    # The Exif lies in the embedded preview.
    preview = exif_jpeg(Tiff("II").block(camera("Panasonic", "DC-G9"), [
        (0x8769, exif_dates(original="2021:06:07 07:07:07", sub="9"))]))
    ifd0 = camera("Panasonic", "DC-G9") + [(0x002E, (UNDEFINED, preview))]
    return Tiff("II", magic=0x55).build(ifd0)


def raf():
    jpeg = exif_jpeg(Tiff("MM").block(camera("FUJIFILM", "X-T3"), [
        (0x8769, exif_dates(original="2021:06:08 18:30:00", offset="+01:00"))]))
    jpeg_at = 160
    header = b"FUJIFILMCCD-RAW 0201FF383501" + b"X-T3".ljust(32, b"\0") + b"0100" + bytes(20)
    # The JPEG's place and length, the raw header's and the raw data's (none here).
    header += struct.pack(">IIIIII", jpeg_at, len(jpeg), 0, 0, 0, 0)
    return header.ljust(jpeg_at, b"\0") + jpeg


def cr3():
    # The first Exif block holds the main directory, the second the Exif directory's tags.
    cmt1 = Tiff("II").block(camera("Canon", "Canon EOS R5", changed="2021:06:09 00:00:00"))
    cmt2 = Tiff("II").block(exif_dates(original="2021:06:09 10:11:12", sub="345", offset="+09:00"))
    canon = bytes.fromhex("85c0b687820f11e08111f4ce462b6a48")
    moov = box(b"moov", box(b"uuid", canon + box(b"CMT1", cmt1) + box(b"CMT2", cmt2)))
    ftyp = box(b"ftyp", b"crx " + struct.pack(">I", 1) + b"crx isom")
    return ftyp + moov + box(b"mdat", b"\x80")


SAMPLES = {"sample.cr2": cr2, "sample.nef": nef, "sample.arw": arw, "sample.dng": dng,
           "sample.orf": orf, "sample.rw2": rw2, "sample.raf": raf, "sample.cr3": cr3}

if __name__ == "__main__":
    folder = Path(sys.argv[1])
    for name, make in SAMPLES.items():
        (folder / name).write_bytes(make())
