#!/usr/bin/env python3
"""End-to-end checks of the real programs in the build's Wine prefix.

Run by CTest after the "wine" fixture has prepared the prefix and started its wineserver.
Prints one line per check and a closing 'N passed, N failed'; exits non-zero on any failure.
"""
import argparse
import json
import os
import subprocess
import sys
import time

CHECKS = []


def check(fn):
    CHECKS.append(fn)
    return fn


class Wine:
    def __init__(self, env_file, bin_dir):
        out = subprocess.run(
            ["bash", "-c", f'source "{env_file}"; export WINE WINESERVER; env -0'],
            check=True, capture_output=True).stdout
        self.env = dict(kv.split("=", 1) for kv in out.decode().split("\0") if "=" in kv)
        if not self.env.get("DISPLAY"):
            raise RuntimeError("the run has no X server; prefix-up.sh starts one")
        self.wine = self.env["WINE"]
        self.bin = bin_dir

    def run(self, *args, timeout=120):
        return subprocess.run([self.wine, *args], env=self.env, capture_output=True, timeout=timeout)

    def exe(self, name):
        return os.path.join(self.bin, name)


SERVICES = {
    # name: (binPath as configured, start, enabled)
    "TarnwickE2EAuto": ('"C:\\Program Files\\Tarnwick E2E\\probe.exe" --run 1', "auto", True),
    "TarnwickE2EDemand": ("C:\\windows\\system32\\svchost.exe -k TarnwickGroup", "demand", False),
    "TarnwickE2EOff": ("C:\\probe\\off.exe", "disabled", False),
}


def list_json(wine):
    result = wine.run(wine.exe("tarnwickc.exe"), "list", "--json")
    assert result.returncode == 0, f"exit {result.returncode}: {result.stderr.decode(errors='replace')}"
    return json.loads(result.stdout.decode("utf-8"))


@check
def list_json_shows_wine_services_and_created_ones(wine):
    for name, (path, start, _) in SERVICES.items():
        wine.run("sc", "delete", name)
        created = wine.run("sc", "create", name, "binPath=", path, "start=", start,
                           "DisplayName=", name + " display")
        assert created.returncode == 0, f"sc create {name} failed"
    try:
        entries = list_json(wine)
    finally:
        for name in SERVICES:
            wine.run("sc", "delete", name)
    assert isinstance(entries, list) and entries, "empty catalogue"
    for entry in entries:
        assert list(entry) == ["from", "caption", "target", "fileName", "rawData", "enabled"], entry
    by_target = {e["target"]: e for e in entries if e["from"] == "SERV"}
    assert "Spooler" in by_target, "Wine's Spooler service missing"
    assert by_target["Spooler"]["caption"] == "Print Spooler"
    for name, (path, _, enabled) in SERVICES.items():
        entry = by_target.get(name)
        assert entry, f"{name} not listed"
        assert entry["fileName"] == path and entry["rawData"] == path, entry
        assert entry["enabled"] is enabled, entry
        assert entry["caption"] == name + " display", entry


@check
def list_text_is_one_line_per_entry(wine):
    result = wine.run(wine.exe("tarnwickc.exe"), "list")
    assert result.returncode == 0
    lines = result.stdout.decode("utf-8").splitlines()
    assert len(lines) == len(list_json(wine)), "line count differs from the JSON entry count"
    assert any(line.startswith("SERV") and "[Spooler]" in line for line in lines), lines[:5]


@check
def bad_command_line_prints_usage_and_exits_2(wine):
    for args in (["frobnicate"], ["list", "--xml"], []):
        result = wine.run(wine.exe("tarnwickc.exe"), *args)
        assert result.returncode == 2, f"{args}: exit {result.returncode}"
        assert b"usage: tarnwickc" in result.stderr, result.stderr
        assert result.stdout == b""


@check
def main_program_opens_a_window_and_closes_on_request(wine):
    display = wine.env["DISPLAY"]
    proc = subprocess.Popen([wine.wine, wine.exe("Tarnwick.exe")], env=wine.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.time() + 60
        seen = False
        while time.time() < deadline and not seen:
            tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", display],
                                  capture_output=True).stdout.decode(errors="replace")
            seen = '"Tarnwick"' in tree
            if not seen:
                assert proc.poll() is None, f"Tarnwick.exe ended with {proc.returncode}"
                time.sleep(0.5)
        assert seen, "no window titled Tarnwick appeared"
        closed = wine.run("taskkill", "/im", "Tarnwick.exe")
        assert closed.returncode == 0, closed.stderr
        assert proc.wait(timeout=60) == 0, f"exit code {proc.returncode}"
    finally:
        if proc.poll() is None:
            proc.kill()


@check
def launcher_ends_with_exit_code_0(wine):
    result = wine.run(wine.exe("TarnwickService.exe"))
    assert result.returncode == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--wine-env", required=True)
    args = parser.parse_args()
    wine = Wine(args.wine_env, args.bin)
    passed = failed = 0
    for fn in CHECKS:
        try:
            fn(wine)
            print(f"PASS {fn.__name__}")
            passed += 1
        except Exception as error:  # report every check, then fail the run
            print(f"FAIL {fn.__name__}: {type(error).__name__}: {error}")
            failed += 1
        sys.stdout.flush()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
