#!/usr/bin/python3
"""The native skyprobe and lodestar against a hostile gpsd (hostile_gpsd.py),
checked as a user sees them: answers, memory, exit times, what they show.

  hostile_checks.py bounded|values|churn|slow --skyprobe P --lodestar P [--rss-slack-kb N] [--churn-slack-kb N]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gpsd_checks  # noqa: E402
from gpsd_checks import NOT_READY_ICON, READY_ICON, check  # noqa: E402
from hostile_gpsd import DEVICE, FIX, SKY, HostileGpsd  # noqa: E402

# The tray's menu opens after the double-click time (500 ms) without a second
# click; a busy UI thread would answer later.
MENU_WITHIN = 0.6
MAP_URL = "https://www.google.com/maps?q=%f,%f" % (FIX["lat"], FIX["lon"])


def write_scenario(work, server, stale_seconds=None):
    path = os.path.join(work, "gpsd.ini")
    with open(path, "w") as out:
        out.write(f"[gpsd]\nserver = {server}\n")
        if stale_seconds:
            out.write(f"stale_seconds = {stale_seconds}\n")
    return path


def start_lodestar(args, scenario, device=DEVICE, prefix=()):
    lodestar = gpsd_checks.Lodestar(args.lodestar, scenario, device, prefix)
    lodestar.seen = []
    lodestar.take(10, lambda line: line.startswith("tray add"))
    # Its first status follows gpsd's first answer, awaited up to a second.
    lodestar.take(1.2, lambda line: line.startswith("tray modify"))
    return lodestar


def rss_kb(lodestar):
    with open(f"/proc/{lodestar.process.pid}/status") as status:
        return int(re.search(r"^VmRSS:\s+(\d+)", status.read(), re.M).group(1))


def menu_seconds(lodestar):
    """From the right button's press to the menu; the menu is then closed."""
    started = time.monotonic()
    lodestar.send("tray rbuttondown")
    lodestar.send("tray rbuttonup")
    menu = lodestar.take(10, lambda line: line.startswith("menu "))
    seconds = time.monotonic() - started
    lodestar.send("choose none")
    return seconds if menu else float("inf")


def check_answers(lodestar, what, seconds):
    """Right clicks for `seconds`: every menu opens as soon as without a gpsd
    (one a little late is forgiven on a busy machine; a blocked UI thread
    is late by a second)."""
    deadline, times = time.monotonic() + seconds, []
    while time.monotonic() < deadline:
        times.append(menu_seconds(lodestar))
        lodestar.take(0.2)
    late = [t for t in times if t >= MENU_WITHIN]
    check(len(late) <= 1 and max(times) < 1.0, f"{what}: menus opened after {', '.join('%.2f' % t for t in times)} s")


def exit_by_menu(lodestar, wait=10):
    """Chooses Exit on the menu; the exit code and the seconds it took to end
    (killed after `wait`)."""
    lodestar.send("tray rbuttondown")
    lodestar.send("tray rbuttonup")
    lodestar.take(wait, lambda line: line.startswith("menu "))
    started = time.monotonic()
    lodestar.send("choose 32772")
    try:
        code = lodestar.process.wait(wait)
    except subprocess.TimeoutExpired:
        lodestar.process.kill()
        code = lodestar.process.wait()
    return code, time.monotonic() - started


def check_exit(lodestar, what, within=1.0):
    """Exit from the menu: saved and ended within a second."""
    check(menu_seconds(lodestar) < MENU_WITHIN, f"{what}: the menu opened late before Exit")
    code, seconds = exit_by_menu(lodestar)
    check(code == 0 and seconds < within, f"{what}: Exit took {seconds:.2f} s, exit code {code}")
    lodestar.take(0.1)
    check(not notes(lodestar, "Sanitizer"), f"{what}: lodestar's sanitizer report: {lodestar.stderr}")
    settings = os.path.join(lodestar.dir, "lodestar.ini")
    check(os.path.exists(settings), f"{what}: lodestar.ini was not written")
    with open(settings if os.path.exists(settings) else os.devnull, errors="replace") as saved:
        catalog = [line for line in saved if line.startswith("location_sensor_list")]
    shutil.rmtree(lodestar.dir, ignore_errors=True)
    return catalog


def run_skyprobe(args, scenario, prefix=()):
    env = dict(os.environ, SENSORSIM_SCENARIO=scenario)
    started = time.monotonic()
    done = subprocess.run([*prefix, args.skyprobe], env=env, capture_output=True, text=True, timeout=30)
    check(done.returncode in (0, 1) and "Sanitizer" not in done.stderr,
          f"skyprobe ended with {done.returncode}: {done.stderr[-2000:]}")
    return done, time.monotonic() - started


def check_skyprobe_quick(args, scenario, what, prefix=()):
    """skyprobe ends within its one-second wait for gpsd, measured against a
    run without a gpsd (the sanitizers' start-up takes its own time)."""
    if not hasattr(args, "skyprobe_alone"):
        empty = os.path.join(tempfile.mkdtemp(prefix="gpsd-hostile."), "none.ini")
        open(empty, "w").close()
        args.skyprobe_alone = min(run_skyprobe(args, empty)[1] for _ in range(2))
        shutil.rmtree(os.path.dirname(empty), ignore_errors=True)
    done, seconds = run_skyprobe(args, scenario, prefix)
    check(seconds - args.skyprobe_alone < 1.4,
          f"{what}: skyprobe took {seconds:.2f} s, {args.skyprobe_alone:.2f} s without a gpsd")
    return done


def shown(lodestar, seconds, until):
    """A line already printed that matches, or the next one within `seconds`."""
    return next((line for line in lodestar.seen if until(line)), None) or lodestar.take(seconds, until)


def notes(lodestar, words):
    return [line for line in lodestar.stderr if words in line]


def last_tip(lodestar):
    tray = lodestar.tray()
    return tray[-1] if tray else (None, [])


def bounded(args):
    """A flood, a 1 MB line, 10,000 receivers: lodestar answers, its memory stays
    near its size with a gpsd that behaves, Exit and skyprobe are quick."""
    work = tempfile.mkdtemp(prefix="gpsd-hostile.")
    calm = HostileGpsd("fix")
    lodestar = start_lodestar(args, write_scenario(work, calm.server))
    shown(lodestar, 10, lambda line: READY_ICON in line)
    lodestar.take(1.5)
    idle = rss_kb(lodestar)
    check_exit(lodestar, "a gpsd that behaves")
    calm.die()

    for attack, note in [("flood", "KiB/s; read no faster"), ("longline", "a line is longer than 32768 bytes"),
                         ("many", "more than 32 receivers")]:
        server = HostileGpsd(attack)
        scenario = write_scenario(work, server.server)
        lodestar = start_lodestar(args, scenario)
        check_answers(lodestar, attack, 4.0)
        grown = rss_kb(lodestar) - idle
        check(grown < args.rss_slack_kb, f"{attack}: lodestar grew by {grown} kB")
        check(len(notes(lodestar, note)) == 1, f"{attack}: not one line saying '{note}': {lodestar.stderr}")
        check_exit(lodestar, attack)
        check_skyprobe_quick(args, scenario, attack)
        print(f"{attack}: lodestar {grown:+d} kB over {idle} kB", flush=True)
        server.die()
    shutil.rmtree(work, ignore_errors=True)


# Each row: a receiver's reports and what a user must see of it. "nofix": not
# ready, no position; otherwise the report lines that must be missing.
IMPOSSIBLE = [
    ("lat91", {"lat": 91.0}, {}, "nofix"),
    ("lon200", {"lon": 200.0}, {}, "nofix"),
    ("lat1e308", {"lat": 1e308}, {}, "nofix"),
    ("lonminus1e308", {"lon": -1e308}, {}, "nofix"),
    ("nolat", {"lat": None}, {}, "nofix"),
    ("eph-5", {"eph": -5.0}, {}, ["ERROR_RADIUS"]),
    ("eph1e308", {"eph": 1e308}, {}, ["ERROR_RADIUS"]),
    ("alt-99999", {"altMSL": -99999.0}, {}, ["ALTITUDE"]),
    ("alt1e308", {"altMSL": 1e308}, {}, ["ALTITUDE"]),
    ("sat50of5", {}, {"uSat": 50, "nSat": 5}, []),
]


def value_reports():
    reports = []
    for name, tpv, sky, _ in IMPOSSIBLE:
        device = "/dev/" + name
        fix = {k: v for k, v in dict(FIX, device=device, **tpv).items() if v is not None}
        reports += [fix, dict(SKY, device=device, **sky)]
    return reports


def sensor_blocks(output):
    """skyprobe's report of each receiver, by device path."""
    blocks = re.findall(r"^Location Sensor name: NMEA0183 (\S+)\n(.*?)(?=\n\n)", output, re.M | re.S)
    return {path: text for path, text in blocks}


def values(args):
    """Impossible values are absent, or no fix: never a ready position, never a map."""
    work = tempfile.mkdtemp(prefix="gpsd-hostile.")
    server = HostileGpsd("values", value_reports())
    scenario = write_scenario(work, server.server)
    watched = {name: start_lodestar(args, scenario, "/dev/" + name) for name in ("lat91", "lon200", "sat50of5")}

    done, _ = run_skyprobe(args, scenario)
    blocks = sensor_blocks(done.stdout)
    for name, _, _, expect in IMPOSSIBLE:
        block = blocks.get("/dev/" + name, "")
        check(block, f"{name}: skyprobe did not report the receiver")
        if expect == "nofix":
            check("SENSOR_STATE_READY" not in block and "LATITUDE" not in block and "maps" not in block,
                  f"{name}: skyprobe showed a fix: {block!r}")
        else:
            check("SENSOR_STATE_READY" in block and MAP_URL in block, f"{name}: skyprobe lost the fix: {block!r}")
            for missing in expect:
                check(missing not in block, f"{name}: skyprobe printed {missing}: {block!r}")
    urls = set(re.findall(r"https://\S+", done.stdout))
    check(urls <= {MAP_URL}, f"skyprobe printed map addresses {urls}")
    check(f"latitude,longitude : {FIX['lat']:f}, {FIX['lon']:f}" in done.stdout,
          "the Location API does not serve the first receiver with a sane fix")

    for name, lodestar in watched.items():
        lodestar.take(1.0)
        icon, tip = last_tip(lodestar)
        if name == "sat50of5":
            check(icon == READY_ICON and tip[-1:] == ["satellites 0/5"], f"{name}: lodestar showed {tip}")
            lodestar.send("tray lbuttondown")
            lodestar.send("tray lbuttonup")
            lodestar.send("tray lbuttondblclk")
            lodestar.send("tray lbuttonup")
            opened = lodestar.take(2, lambda line: line.startswith("open "))
            check(opened == "open " + MAP_URL, f"a double-click opened {opened}")
        else:
            check(icon == NOT_READY_ICON and len(tip) == 2 and "SENSOR_STATE_READY" not in tip[1],
                  f"{name}: lodestar showed {icon} {tip}")
        check_exit(lodestar, name)
    server.die()
    shutil.rmtree(work, ignore_errors=True)


def churn(args):
    """1,000 receivers coming and going leave memory flat and the catalog
    bounded; a silent gpsd's receiver has no data after stale_seconds and is
    back with its next fix; a dying gpsd's receiver is not available at once."""
    work = tempfile.mkdtemp(prefix="gpsd-hostile.")
    server = HostileGpsd("churn")
    lodestar = start_lodestar(args, write_scenario(work, server.server))
    while getattr(server, "churned", 0) < 150:
        lodestar.take(0.1)
    before = rss_kb(lodestar)
    while server.churned < 1000:
        lodestar.take(0.1)
    grown = rss_kb(lodestar) - before
    print(f"churn: lodestar {grown:+d} kB from the 150th to the 1000th receiver", flush=True)
    check(grown < args.churn_slack_kb, f"churn: lodestar grew by {grown} kB")
    check(len(notes(lodestar, "location sensors seen")) == 1, f"no one line on the full catalog: {lodestar.stderr}")
    # The stand-in's profile writer rewrites the file for each of the 256
    # catalog lines: a quarter of a second here, more under the sanitizers.
    catalog = check_exit(lodestar, "churn", within=3.0)
    check(257 >= len(catalog) >= 200 and any(DEVICE in line for line in catalog),
          f"the catalog lists {len(catalog)} sensors")
    server.die()

    server = HostileGpsd("silent")
    lodestar = start_lodestar(args, write_scenario(work, server.server, stale_seconds=1))
    check(shown(lodestar, 5, lambda line: READY_ICON in line), "silent: lodestar never showed the fix")
    started = time.monotonic()
    stale = lodestar.take(3, lambda line: "SENSOR_STATE_NO_DATA" in line and NOT_READY_ICON in line)
    seconds = time.monotonic() - started
    check(stale is not None and 0.5 < seconds < 1.6, f"silent: no data after {seconds:.2f} s: {stale}")
    server.resumed.set()
    check(lodestar.take(2, lambda line: READY_ICON in line) is not None, "silent: the next fix did not show")
    started = time.monotonic()
    server.die()
    gone = lodestar.take(3, lambda line: "SENSOR_STATE_NOT_AVAILABLE" in line)
    seconds = time.monotonic() - started
    check(gone is not None and seconds < 0.5, f"die: not available after {seconds:.2f} s")
    check_exit(lodestar, "die")
    shutil.rmtree(work, ignore_errors=True)


def make_silent_resolver():
    """A network namespace whose only name server, on its own loopback, reads
    queries and never answers. Returns (prefix, cleanup) or None."""
    name = f"lodestar-dns-{os.getpid()}"
    conf = f"/etc/netns/{name}"
    try:
        subprocess.run(["ip", "netns", "add", name], check=True, capture_output=True)
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"SKIPPED the host name that never resolves: cannot make a network namespace: {error}", flush=True)
        return None
    prefix = ["ip", "netns", "exec", name]
    os.makedirs(conf, exist_ok=True)
    with open(os.path.join(conf, "resolv.conf"), "w") as out:
        out.write("nameserver 127.0.0.1\n")
    subprocess.run([*prefix, "ip", "link", "set", "lo", "up"], check=True)
    silent = subprocess.Popen([*prefix, sys.executable, "-c", """
import socket, threading
udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); udp.bind(("127.0.0.1", 53))
tcp = socket.socket(); tcp.bind(("127.0.0.1", 53)); tcp.listen(8)
held = []
def hold():
    while True:
        held.append(tcp.accept())
threading.Thread(target=hold, daemon=True).start()
print("ready", flush=True)
while True:
    udp.recvfrom(4096)
"""], stdout=subprocess.PIPE, text=True)

    def cleanup():
        silent.kill()
        silent.wait()
        subprocess.run(["ip", "netns", "del", name], capture_output=True)
        shutil.rmtree(conf, ignore_errors=True)
    if silent.stdout.readline().strip() != "ready":
        cleanup()
        check(False, "the name server that never answers did not start")
        return None
    return prefix, cleanup


def slow(args):
    """A gpsd that never accepts and one whose name never resolves: lodestar
    answers as without one, skyprobe ends within its one-second wait, Exit is
    quick; with a silent gpsd, a double-click opens the map at once."""
    work = tempfile.mkdtemp(prefix="gpsd-hostile.")
    server = HostileGpsd("silent")
    lodestar = start_lodestar(args, write_scenario(work, server.server, stale_seconds=3600))
    shown(lodestar, 5, lambda line: READY_ICON in line)
    slowest = 0.0
    for _ in range(3):
        lodestar.send("tray lbuttondown")
        lodestar.send("tray lbuttonup")
        started = time.monotonic()
        lodestar.send("tray lbuttondblclk")
        lodestar.send("tray lbuttonup")
        opened = lodestar.take(3, lambda line: line.startswith("open "))
        slowest = max(slowest, time.monotonic() - started)
        check(opened == "open " + MAP_URL, f"a double-click opened {opened}")
    check(slowest < 0.3, f"a double-click took {slowest:.2f} s to open the map")
    check_exit(lodestar, "silent")
    server.die()

    server = HostileGpsd("noaccept")
    scenario = write_scenario(work, server.server)
    done = check_skyprobe_quick(args, scenario, "noaccept")
    check("no answer" in done.stderr, f"noaccept: skyprobe did not say so: {done.stderr!r}")
    lodestar = start_lodestar(args, scenario)
    check_answers(lodestar, "noaccept", 4.0)
    check_exit(lodestar, "noaccept")
    server.die()

    resolver = make_silent_resolver()
    if resolver:
        prefix, cleanup = resolver
        try:
            scenario = write_scenario(work, "gpsd.lodestar.test:2947")
            done = check_skyprobe_quick(args, scenario, "unresolved", prefix)
            check("no answer" in done.stderr, f"unresolved: skyprobe did not say so: {done.stderr!r}")
            lodestar = start_lodestar(args, scenario, prefix=prefix)
            check_answers(lodestar, "unresolved", 4.0)
            check_exit(lodestar, "unresolved")
        finally:
            cleanup()
    shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("family", choices=["bounded", "values", "churn", "slow"])
    parser.add_argument("--skyprobe", required=True)
    parser.add_argument("--lodestar", required=True)
    parser.add_argument("--rss-slack-kb", type=int, default=4096)
    parser.add_argument("--churn-slack-kb", type=int, default=256)
    args = parser.parse_args()
    # As bench/gpsd_soak.sh: a small quarantine, or freed memory looks like growth.
    os.environ["ASAN_OPTIONS"] = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "quarantine_size_mb=4"]))
    globals()[args.family](args)
    return 1 if gpsd_checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
