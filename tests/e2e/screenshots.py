#!/usr/bin/env python3
"""Writes PNG screenshots of the real Tarnwick window under Wine into build/win64/screenshots:
the main window in ko, en, ja and ar (with rows marked "file not found" and "recommended to
switch off"), its row menu and an entry's Properties in each of them, at 96 and 144 DPI; with
the notice bar, with All Programs checked, and the update dialog with a note link and with a
hold check box."""
import argparse
import os
import struct
import subprocess
import sys
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from loopback import LoopbackServer  # noqa: E402
from shell_link import shell_link  # noqa: E402

UPDATE_PORT = 47631
LOCALES = {"ko": "ko_KR", "en": "en_US", "ja": "ja_JP", "ar": "ar_SA"}
LIST_ID, PROPERTIES_ID = 200, 207  # the startup list and its Properties command
RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
RUN_VALUES = {"AnySign4PC": '"C:\\Program Files\\AnySign\\AnySign4PC.exe" -tray',
              "Updater": "C:\\Gone\\updater.exe /background"}
ONCE_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"  # shown, never switched
CHOICES_KEY = "HKCU\\Software\\Morvessa\\Tarnwick\\Choices"
# "Updater" was switched off on 2026-12-01 and is on again: it came back.
CAME_BACK = ("HKCU|" + RUN_KEY + "\\Updater", "off|134405856000000000|C:\\Gone\\updater.exe")


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

    # (language, answer, file name, window, action, window to capture after the action)
    def entry_shots(suffix):
        for code in LOCALES:
            yield (code, b"{}", code + suffix, "Tarnwick", None, None)
            yield (code, b"{}", code + "-menu" + suffix, "Tarnwick", "menu:%d" % LIST_ID, None)
            yield (code, b"{}", code + "-properties" + suffix, "Tarnwick", "command:%d" % PROPERTIES_ID,
                   "class:TarnwickPropertiesDialog")

    shots = list(entry_shots(""))
    shots.append(("en", b'{"notify":"https://example.test/notice"}', "en-notice", "Tarnwick", None, None))
    shots.append(("en", b"{}", "en-all-programs", "Tarnwick", "202", None))
    note = (b'{"update":"https://example.test/Setup.exe","info":{"style":"note","text":"What is new",'
            b'"url":"https://example.test/news"}}')
    hold = b'{"update":"https://example.test/Setup.exe","info":{"style":"hold","text":"Remind me later"}}'
    shots.append(("en", note, "en-dialog-note", "class:TarnwickUpdateDialog", None, None))
    shots.append(("ko", hold, "ko-dialog-hold", "class:TarnwickUpdateDialog", None, None))
    # A disabled service of our own, so that "All Programs" has a grey row to show; a shortcut to
    # a program that is there, and Run values whose files are gone, one of them on the maker's
    # "switch off" list, so that the marks show.
    subprocess.run([wine, "sc", "create", "TarnwickShotOff", "binPath=", "C:\\off\\off.exe", "start=", "disabled",
                    "DisplayName=", "Switched Off Example"], env=env, capture_output=True)
    for name, data in RUN_VALUES.items():
        subprocess.run([wine, "reg", "add", RUN_KEY, "/v", name, "/d", data, "/f"], env=env, capture_output=True)
    subprocess.run([wine, "reg", "add", ONCE_KEY, "/v", "FinishSetup", "/d", "C:\\Setup\\finish.exe", "/f"], env=env,
                   capture_output=True)
    subprocess.run([wine, "reg", "add", CHOICES_KEY, "/v", CAME_BACK[0], "/d", CAME_BACK[1], "/f"], env=env,
                   capture_output=True)
    link = os.path.join(env["WINEPREFIX"], "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu",
                        "Programs", "StartUp", "Notes Helper.lnk")
    os.makedirs(os.path.dirname(link), exist_ok=True)
    with open(link, "wb") as f:
        f.write(shell_link("C:\\windows\\system32\\notepad.exe", "/tray"))
    try:
        for shot in shots:
            take(wine, env, args, locales, *shot)
        # 150 %: Wine reads the DPI when a program starts.
        set_dpi(wine, env, 144)
        try:
            for shot in entry_shots("-144dpi"):
                take(wine, env, args, locales, *shot)
        finally:
            set_dpi(wine, env, 96)
    finally:
        subprocess.run([wine, "sc", "delete", "TarnwickShotOff"], env=env, capture_output=True)
        for name in RUN_VALUES:
            subprocess.run([wine, "reg", "delete", RUN_KEY, "/v", name, "/f"], env=env, capture_output=True)
        subprocess.run([wine, "reg", "delete", ONCE_KEY, "/v", "FinishSetup", "/f"], env=env, capture_output=True)
        subprocess.run([wine, "reg", "delete", CHOICES_KEY, "/f"], env=env, capture_output=True)
        if os.path.exists(link):
            os.remove(link)


def set_dpi(wine, env, dpi):
    for key in ("HKCU\\Control Panel\\Desktop", "HKCC\\Software\\Fonts"):
        subprocess.run([wine, "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"],
                       env=env, capture_output=True)


def take(wine, env, args, locales, code, answer, name, window, action, capture):
    """Starts Tarnwick.exe with this answer waiting, acts, captures the window, ends the program."""
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
            command = [wine, os.path.join(args.bin, "snapshot.exe"), window, bmp, "30"]
            command += [action or "-"] + ([capture] if capture else [])
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
