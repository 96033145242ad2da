"""Reads the resources of a PE file: {(type, name): bytes}, ids as ints, names as str."""
import struct


def pe_resources(path):
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", f"{path} is not a PE file"
    sections = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)  # the resource directory
    table = optional + optional_size

    def offset(address):
        for i in range(sections):
            virtual_size, virtual_address, raw_size, raw_address = struct.unpack_from(
                "<IIII", data, table + 40 * i + 8)
            if virtual_address <= address < virtual_address + max(virtual_size, raw_size):
                return address - virtual_address + raw_address
        raise ValueError(f"address {address:#x} is in no section")

    base = offset(rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", data, at)[0]
                name = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield name, target & 0x7FFFFFFF

    found = {}
    for kind, kinds in entries(0):
        for name, names in entries(kinds):
            for _, leaf in entries(names):
                address, size = struct.unpack_from("<II", data, base + leaf)
                start = offset(address)
                found[(kind, name)] = data[start:start + size]
    return found
