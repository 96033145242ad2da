#!/usr/bin/env python3
"""Time from starting Tarnwick.exe to its first filled list, under Wine, with the update
endpoint unreachable and with a loopback server answering at once; median of several runs."""
import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from loopback import LoopbackServer  # noqa: E402

UPDATE_PORT = 47631  # the test presets' update endpoint


def wine_env(env_file):
    out = subprocess.run(["bash", "-c", f'source "{env_file}"; export WINE WINE64; env -0'],
                         check=True, capture_output=True).stdout
    return dict(kv.split("=", 1) for kv in out.decode().split("\0") if "=" in kv)


def one_run(env, bin_dir):
    started = time.time()
    proc = subprocess.Popen([env["WINE"], os.path.join(bin_dir, "Tarnwick.exe")], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        first = subprocess.run([env["WINE"], os.path.join(bin_dir, "uidrive.exe"), "first-rows", "40"], env=env,
                               capture_output=True, timeout=60)
        if first.returncode != 0:
            print(f"  no filled list seen (uidrive exit {first.returncode})", file=sys.stderr)
            return None
        return int(first.stdout.decode().split()[1]) - started * 1000
    finally:
        subprocess.run([env["WINE64"], "taskkill", "/im", "Tarnwick.exe"], env=env, capture_output=True)
        proc.wait(timeout=60)
        # Windows' process, and its single-instance mutex, may outlive the loader briefly.
        deadline = time.time() + 30
        while subprocess.run(["pgrep", "-f", "Tarnwick.exe"], capture_output=True).returncode == 0:
            if time.time() > deadline:
                break
            time.sleep(0.2)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-env", required=True)
    parser.add_argument("--bin", required=True)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    env = wine_env(args.wine_env)
    one_run(env, args.bin)  # warms the prefix
    for mode in ("unreachable", "loopback"):
        server = LoopbackServer(UPDATE_PORT, 200, b"{}") if mode == "loopback" else None
        try:
            times = [one_run(env, args.bin) for _ in range(args.runs)]
        finally:
            if server:
                server.close()
        got = [t for t in times if t is not None]
        median = f"{statistics.median(got):.0f}" if got else "none"
        print(f"first_filled_list_ms_{mode} {median} (median of {len(got)}; goal under 1500 on a warm prefix)")


if __name__ == "__main__":
    main()
