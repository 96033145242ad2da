#!/usr/bin/env python3
"""Makes the files the signature tests verify, from one Windows program:
root.der (a test root certificate, trusted only where a test adds it), signed.exe (signed with
a code-signing certificate under that root), altered.exe (signed.exe with one byte of code
changed) and unsigned.exe (the program as built).

    sign_probe.py PROGRAM OUTDIR
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

SIGNER = "Tarnwick Test Signer"


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def first_section_offset(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    table = pe + 24 + optional_size
    assert sections > 0
    raw_size, raw_pointer = struct.unpack_from("<II", data, table + 16)
    assert raw_size > 64
    return raw_pointer + raw_size // 2


def main(program, out):
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        key = lambda name: os.path.join(work, name)
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "3650",
            "-subj", "/CN=Tarnwick Test Root", "-keyout", key("root.key"), "-out", key("root.pem"),
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign")
        with open(key("leaf.ext"), "w") as ext:
            ext.write("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                      "extendedKeyUsage=codeSigning\n")
        run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-subj", f"/CN={SIGNER}",
            "-keyout", key("leaf.key"), "-out", key("leaf.csr"))
        run("openssl", "x509", "-req", "-in", key("leaf.csr"), "-CA", key("root.pem"), "-CAkey", key("root.key"),
            "-CAcreateserial", "-days", "3650", "-extfile", key("leaf.ext"), "-out", key("leaf.pem"))
        with open(key("chain.pem"), "w") as chain:
            for name in ("leaf.pem", "root.pem"):
                with open(key(name)) as part:
                    chain.write(part.read())
        run("openssl", "x509", "-in", key("root.pem"), "-outform", "DER", "-out", os.path.join(out, "root.der"))
        signed = os.path.join(out, "signed.exe")
        if os.path.exists(signed):
            os.remove(signed)
        run("osslsigncode", "sign", "-certs", key("chain.pem"), "-key", key("leaf.key"), "-h", "sha256",
            "-n", "Tarnwick signature probe", "-in", program, "-out", signed)
    shutil.copyfile(program, os.path.join(out, "unsigned.exe"))
    with open(signed, "rb") as f:
        data = bytearray(f.read())
    data[first_section_offset(data)] ^= 0x01
    with open(os.path.join(out, "altered.exe"), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(*sys.argv[1:])
