#!/usr/bin/python3
"""lodestar and skyprobe (native builds) against each attack of the hostile gpsd
(tests/gpsd/hostile_gpsd.py): one row per attack with the time from a right
click to the menu (median and slowest of the clicks), lodestar's resident
memory after the attack has run, the time Exit takes and skyprobe's run time.

  bench/gpsd_hostile.py [--lodestar P] [--skyprobe P] [--seconds N] [ATTACK...]

ATTACK: none flood longline many churn noaccept unresolved (default: all); the
unresolved one needs root for its network namespace. Not part of the tests.
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOP, "tests", "gpsd"))
import hostile_checks as checks  # noqa: E402
from hostile_gpsd import HostileGpsd  # noqa: E402


def measure(args, attack, work):
    prefix, cleanup, server = (), None, None
    if attack == "none":
        scenario = os.path.join(work, "none.ini")
        with open(scenario, "w") as out:
            out.write("[sensor1]\nid = {637d3e4b-20da-4318-b6fc-a100fd003a83}\nname = idle\n")
    elif attack == "unresolved":
        resolver = checks.make_silent_resolver()
        if not resolver:
            return None
        prefix, cleanup = resolver
        scenario = checks.write_scenario(work, "gpsd.lodestar.test:2947")
    else:
        server = HostileGpsd(attack)
        scenario = checks.write_scenario(work, server.server)
    try:
        _, skyprobe = checks.run_skyprobe(args, scenario, prefix)
        lodestar = checks.start_lodestar(args, scenario, prefix=prefix)
        clicks, deadline = [], time.monotonic() + args.seconds
        while time.monotonic() < deadline:
            clicks.append(checks.menu_seconds(lodestar))
            lodestar.take(0.3)
        rss = checks.rss_kb(lodestar)
        code, leave = checks.exit_by_menu(lodestar, 30)
        leave = leave if code == 0 else float("inf")
        shutil.rmtree(lodestar.dir, ignore_errors=True)
        return statistics.median(clicks), max(clicks), rss, leave, skyprobe
    finally:
        if server:
            server.die()
        if cleanup:
            cleanup()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lodestar", default=os.path.join(TOP, "build/native/tray/lodestar"))
    parser.add_argument("--skyprobe", default=os.path.join(TOP, "build/native/probe/skyprobe"))
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("attacks", nargs="*",
                        default=["none", "flood", "longline", "many", "churn", "noaccept", "unresolved"])
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="gpsd-bench.")
    print("| attack | menu, median | menu, slowest | lodestar RSS | Exit | skyprobe |")
    print("|---|---:|---:|---:|---:|---:|")
    for attack in args.attacks:
        row = measure(args, attack, work)
        if row:
            median, slowest, rss, leave, skyprobe = row
            print(f"| {attack} | {median * 1000:.0f} ms | {slowest * 1000:.0f} ms | {rss / 1024:.1f} MB "
                  f"| {leave * 1000:.0f} ms | {skyprobe * 1000:.0f} ms |", flush=True)
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
