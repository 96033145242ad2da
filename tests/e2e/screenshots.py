#!/usr/bin/env python3
"""Writes PNG screenshots of the real Tarnwick window under Wine into build/win64/screenshots:
the main window in ko, en, ja and ar, with the notice bar, with All Programs checked, at 144
DPI, and the update dialog with a note link and with a hold check box."""
import argparse
import os
import struct
import subprocess
import sys
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from loopback import LoopbackServer  # noqa: E402

UPDATE_PORT = 47631
LOCALES = {"ko": "ko_KR", "en": "en_US", "ja": "ja_JP", "ar": "ar_SA"}


def bmp_to_png(bmp_path, png_path):
    with open(bmp_path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        start = offset + y * width * 4
        row = bytearray(b"\0")
        for x in range(width):
            b, g, r, _ = data[start + 4 * x:start + 4 * x + 4]
            row += bytes((r, g, b))
        rows.append(bytes(row))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    with open(png_path, "wb") as f:
        f.write(png)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--wine-env", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out = subprocess.run(["bash", "-c", f'source "{args.wine_env}"; export WINE; env -0'], check=True,
                         capture_output=True).stdout
    env = dict(kv.split("=", 1) for kv in out.decode().split("\0") if "=" in kv)
    wine = env["WINE"]
    os.makedirs(args.out, exist_ok=True)
    locales = os.path.join(os.path.dirname(args.bin), "locales")
    os.makedirs(locales, exist_ok=True)

    # (language, answer, file name, window to capture, control to click first)
    shots = [(code, b"{}", code, "Tarnwick", None) for code in LOCALES]
    shots.append(("en", b'{"notify":"https://example.test/notice"}', "en-notice", "Tarnwick", None))
    shots.append(("en", b"{}", "en-all-programs", "Tarnwick", "202"))
    note = (b'{"update":"https://example.test/Setup.exe","info":{"style":"note","text":"What is new",'
            b'"url":"https://example.test/news"}}')
    hold = b'{"update":"https://example.test/Setup.exe","info":{"style":"hold","text":"Remind me later"}}'
    shots.append(("en", note, "en-dialog-note", "class:TarnwickUpdateDialog", None))
    shots.append(("ko", hold, "ko-dialog-hold", "class:TarnwickUpdateDialog", None))
    # A disabled service of our own, so that "All Programs" has a grey row to show.
    subprocess.run([wine, "sc", "create", "TarnwickShotOff", "binPath=", "C:\\off\\off.exe", "start=", "disabled",
                    "DisplayName=", "Switched Off Example"], env=env, capture_output=True)
    try:
        for shot in shots:
            take(wine, env, args, locales, *shot)
        # 150 %: Wine reads the DPI when a program starts.
        set_dpi(wine, env, 144)
        try:
            take(wine, env, args, locales, "en", b"{}", "en-144dpi", "Tarnwick", None)
        finally:
            set_dpi(wine, env, 96)
    finally:
        subprocess.run([wine, "sc", "delete", "TarnwickShotOff"], env=env, capture_output=True)


def set_dpi(wine, env, dpi):
    for key in ("HKCU\\Control Panel\\Desktop", "HKCC\\Software\\Fonts"):
        subprocess.run([wine, "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"],
                       env=env, capture_output=True)


def take(wine, env, args, locales, code, answer, name, window, click):
    """Starts Tarnwick.exe with this answer waiting, captures the window, ends the program."""
    locale = LOCALES[code]
    compiled = os.path.join(locales, locale + ".UTF-8")
    if not os.path.isdir(compiled):
        subprocess.run(["localedef", "-i", locale, "-f", "UTF-8", compiled], capture_output=True)
    run_env = dict(env, LOCPATH=locales, LC_ALL=locale + ".UTF-8")
    with LoopbackServer(UPDATE_PORT, 200, answer) as server:
        proc = subprocess.Popen([wine, os.path.join(args.bin, "Tarnwick.exe")], env=run_env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            server.wait_for(1, 30)
            time.sleep(2)
            bmp = os.path.join(args.out, name + ".bmp")
            command = [wine, os.path.join(args.bin, "snapshot.exe"), window, bmp, "30"] + ([click] if click else [])
            subprocess.run(command, env=run_env, timeout=90, capture_output=True)
            if os.path.exists(bmp):
                bmp_to_png(bmp, os.path.join(args.out, name + ".png"))
                os.remove(bmp)
                print("wrote", os.path.join(args.out, name + ".png"))
            else:
                print("no window for", name)
        finally:
            subprocess.run([wine, "taskkill", "/f", "/im", "Tarnwick.exe"], env=run_env, capture_output=True)
            try:
                proc.wait(timeout=30)
            except subprocess.TimeoutExpired:
                proc.kill()


if __name__ == "__main__":
    main()
