"""Writes a shell link (.lnk) to a local file, as the shell's link format describes it: a
header, the target's local path in the link information, and the arguments."""
import struct

LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")
HAS_LINK_INFO, HAS_ARGUMENTS, IS_UNICODE = 0x02, 0x20, 0x80


def shell_link(target, arguments=""):
    flags = HAS_LINK_INFO | IS_UNICODE | (HAS_ARGUMENTS if arguments else 0)
    header = struct.pack("<I16sII", 0x4C, LINK_CLSID, flags, 0x20)  # size, CLSID, flags, attributes
    header += bytes(24)                                                # creation, access, write times
    header += struct.pack("<IiIH", 0, 0, 1, 0) + bytes(10)             # size, icon, show normal, hot key
    assert len(header) == 0x4C

    volume = struct.pack("<IIII", 0x11, 3, 0x1234ABCD, 0x10) + b"\0"   # fixed disk, empty label
    base_path = target.encode("latin-1") + b"\0"
    header_size = 0x1C
    volume_offset = header_size
    path_offset = volume_offset + len(volume)
    suffix_offset = path_offset + len(base_path)
    info_size = suffix_offset + 1
    info = struct.pack("<IIIIIII", info_size, header_size, 1, volume_offset, path_offset, 0, suffix_offset)
    info += volume + base_path + b"\0"

    data = header + info
    if arguments:
        data += struct.pack("<H", len(arguments)) + arguments.encode("utf-16-le")
    return data + bytes(4)  # no extra data blocks
