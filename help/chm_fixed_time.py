#!/usr/bin/env python3
"""Gives a help file made by chmcmd a fixed compile time, so the same sources make the same bytes.

chmcmd writes the time of day it ran (milliseconds since midnight, local time) twice, both
outside the compressed data: big-endian at bytes 0x10-0x13 of the ITSF header, and
little-endian as entry 10 of the uncompressed /#SYSTEM file. Both become the time of day of
SOURCE_DATE_EPOCH (UTC) when it is set, else midnight. Nothing else is touched: the viewers
do not use this stamp to find anything.
Usage: chm_fixed_time.py FILE.chm
"""
import os
import struct
import sys


def encint(data, pos):
    """The directory's variable-length integers: 7 bits a byte, high bit set on all but the last."""
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def system_file_offset(chm):
    """Where /#SYSTEM starts in the file, found through the directory's listing chunks (PMGL)."""
    if chm[0:4] != b"ITSF" or struct.unpack_from("<I", chm, 4)[0] != 3:
        raise ValueError("not a version 3 ITSF file")
    directory, directory_length = struct.unpack_from("<QQ", chm, 0x48)
    content = struct.unpack_from("<Q", chm, 0x58)[0]
    if chm[directory : directory + 4] != b"ITSP":
        raise ValueError("no ITSP directory header")
    header_length = struct.unpack_from("<I", chm, directory + 8)[0]
    chunk_size = struct.unpack_from("<I", chm, directory + 0x10)[0]
    chunks = chm[directory + header_length : directory + directory_length]
    for start in range(0, len(chunks), chunk_size):
        chunk = chunks[start : start + chunk_size]
        if chunk[0:4] != b"PMGL":
            continue
        free = struct.unpack_from("<I", chunk, 4)[0]
        pos, end = 20, chunk_size - free
        while pos < end:
            name_length, pos = encint(chunk, pos)
            name = chunk[pos : pos + name_length]
            pos += name_length
            section, pos = encint(chunk, pos)
            offset, pos = encint(chunk, pos)
            _, pos = encint(chunk, pos)
            if name == b"/#SYSTEM":
                if section != 0:
                    raise ValueError("/#SYSTEM is compressed")
                return content + offset
    raise ValueError("no /#SYSTEM in the directory")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: chm_fixed_time.py FILE.chm")
    path = sys.argv[1]
    epoch = os.environ.get("SOURCE_DATE_EPOCH", "")
    millis = int(epoch) % 86400 * 1000 if epoch.isdigit() else 0
    with open(path, "rb") as f:
        chm = bytearray(f.read())
    system = system_file_offset(chm)
    code, size = struct.unpack_from("<HH", chm, system + 4)
    if code != 10 or size != 4:
        sys.exit(f"{path}: /#SYSTEM does not begin with its time entry (10, 4 bytes)")
    struct.pack_into(">I", chm, 0x10, millis)
    struct.pack_into("<I", chm, system + 8, millis)
    with open(path, "wb") as f:
        f.write(chm)


if __name__ == "__main__":
    main()
