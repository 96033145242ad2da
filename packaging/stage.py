#!/usr/bin/env python3
"""Stages the release files of one architecture and writes its portable zip.

The programs are copied as built; the texts get Windows line ends. The zip holds one folder
named like the zip, with fixed timestamps, so the same inputs give the same archive.
"""
import argparse
import os
import shutil
import zipfile

# Source path in the tree, name in the release.
TEXTS = (("packaging/README.txt", "README.txt"), ("LICENSE", "LICENSE.txt"))
PROGRAMS = ("Tarnwick.exe", "TarnwickService.exe", "tarnwickc.exe")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="folder with the built programs")
    parser.add_argument("--source", required=True, help="the source tree")
    parser.add_argument("--stage", required=True, help="folder to stage the files in")
    parser.add_argument("--zip", required=True, help="the zip to write")
    args = parser.parse_args()

    shutil.rmtree(args.stage, ignore_errors=True)
    os.makedirs(args.stage)
    for program in PROGRAMS:
        shutil.copyfile(os.path.join(args.bin, program), os.path.join(args.stage, program))
    for source, target in TEXTS:
        with open(os.path.join(args.source, source), "rb") as f:
            text = f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        with open(os.path.join(args.stage, target), "wb") as f:
            f.write(text)

    folder = os.path.splitext(os.path.basename(args.zip))[0]
    partial = args.zip + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in PROGRAMS + tuple(target for _, target in TEXTS):
            info = zipfile.ZipInfo(f"{folder}/{name}", date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(os.path.join(args.stage, name), "rb") as f:
                archive.writestr(info, f.read())
    os.replace(partial, args.zip)


if __name__ == "__main__":
    main()
