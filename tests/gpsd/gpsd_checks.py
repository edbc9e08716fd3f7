#!/usr/bin/python3
"""The native skyprobe and lodestar on a gpsd, checked as a user sees them.

  gpsd_checks.py replay --skyprobe P --lodestar P --chk LOG.chk --expect fix|nofix
      (run by scripts/gpsd_replay.py, inside a replay of LOG)
  gpsd_checks.py absent|garbage|stopped --skyprobe P --lodestar P --log LOG
"""
import argparse
import importlib.util
import json
import os
import queue
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))
TRAY = re.compile(r"^tray (add|modify) 128 icon=(\S+) tip=(.*)$")
READY_ICON, NOT_READY_ICON = "builtin:130", "builtin:129"
failures = []
lodestar_seen = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, flush=True)


def expected_from_chk(path):
    """gpsd's own decode: the %f positions of its fixes and its satellite counts."""
    positions, counts = set(), set()
    with open(path, errors="replace") as chk:
        for line in chk:
            try:
                report = json.loads(line)
            except ValueError:
                continue
            if report.get("class") == "TPV" and report.get("mode", 0) >= 2 and "lat" in report:
                positions.add(("%f" % report["lat"], "%f" % report["lon"]))
            if report.get("class") == "SKY" and "satellites" in report:
                satellites = report["satellites"]
                counts.add((sum(1 for s in satellites if s.get("used")), len(satellites)))
    return positions, counts


def run_skyprobe(program, scenario, timeout=15):
    env = dict(os.environ, SENSORSIM_SCENARIO=scenario)
    started = time.monotonic()
    done = subprocess.run([program], env=env, capture_output=True, text=True, timeout=timeout)
    return done, time.monotonic() - started


def skyprobe_position(output):
    lat = re.search(r"^SENSOR_DATA_TYPE_LATITUDE_DEGREES : (\S+)$", output, re.M)
    lon = re.search(r"^SENSOR_DATA_TYPE_LONGITUDE_DEGREES: (\S+)$", output, re.M)
    return (lat.group(1), lon.group(1)) if lat and lon else None


class Lodestar:
    """A native lodestar in a directory of its own, on the console desktop;
    `prefix` runs it through another command (ip netns exec NAME)."""

    def __init__(self, program, scenario, device=None, prefix=()):
        self.dir = tempfile.mkdtemp(prefix="lodestar-gpsd.")
        shutil.copy(program, self.dir)
        if device:
            with open(os.path.join(self.dir, "lodestar.ini"), "w") as settings:
                settings.write(f"[hardware]\nsensor_id={{{receiver_id(device)}}}\n")
        runtime = os.path.join(self.dir, "run")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, SENSORSIM_SCENARIO=scenario, XDG_RUNTIME_DIR=runtime)
        self.process = subprocess.Popen([*prefix, os.path.join(self.dir, os.path.basename(program))], cwd=self.dir,
                                        env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True, bufsize=1)
        self.lines, self.stderr = queue.Queue(), []
        self.seen = lodestar_seen
        threading.Thread(target=self._read, args=(self.process.stdout, self.lines.put), daemon=True).start()
        threading.Thread(target=self._read, args=(self.process.stderr, self.stderr.append), daemon=True).start()

    @staticmethod
    def _read(stream, keep):
        for line in stream:
            keep(line.rstrip("\n"))

    def take(self, seconds, until=None):
        """Lines printed within `seconds`, or until one matches `until`."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                line = self.lines.get(timeout=max(0.0, min(0.1, deadline - time.monotonic())))
            except queue.Empty:
                continue
            self.seen.append(line)
            if until and until(line):
                return line
        return None

    def tray(self):
        """(icon, tip lines) of every tray call seen."""
        return [(m.group(2), m.group(3).split("\\n")) for m in map(TRAY.match, self.seen) if m]

    def send(self, text):
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()

    def exit(self):
        """Exit through the tray menu, as a user would; the exit code."""
        self.send("tray rbuttondown")
        self.send("tray rbuttonup")
        check(self.take(10, lambda line: line.startswith("menu ")) is not None, "lodestar opened no menu")
        self.send("choose 32772")
        try:
            code = self.process.wait(15)
        except subprocess.TimeoutExpired:
            self.process.kill()
            code = self.process.wait()
        self.take(0.2)
        shutil.rmtree(self.dir, ignore_errors=True)
        return code


def receiver_id(device):
    """The id the simulator gives gpsd's receiver at `device`."""
    return uuid.uuid5(uuid.NAMESPACE_URL, "gpsd:" + device)


def tip_state(tip):
    return tip[1].split(" : ", 1)[1] if len(tip) > 1 else None


def check_tray(lodestar, positions, counts):
    """Every tooltip with a position shows one of gpsd's, the icon follows the state; the positions shown."""
    shown, satellites_shown = set(), False
    for icon, tip in lodestar.tray()[1:]:
        state = tip_state(tip)
        if state is None:
            continue
        check(icon == (READY_ICON if state == "SENSOR_STATE_READY" else NOT_READY_ICON),
              f"icon {icon} with state {state}")
        if len(tip) == 5:
            position = (tip[2].split(":", 1)[1], tip[3].split(":", 1)[1])
            check(position in positions, f"lodestar showed {position}, not a position of the recording")
            # Each count as one of gpsd's reports gives it (the pair may come
            # from a report half way through a cycle); 0/0 before any.
            satellites = re.fullmatch(r"satellites (\d+)/(\d+)", tip[4])
            used, in_view = map(int, satellites.groups()) if satellites else (None, None)
            check((used, in_view) == (0, 0) or (used in {c[0] for c in counts} and in_view in {c[1] for c in counts}),
                  f"lodestar showed '{tip[4]}', not satellite counts of the recording")
            satellites_shown = satellites_shown or (in_view or 0) > 0
            shown.add(position)
        else:
            check(len(tip) == 2, f"tooltip of {len(tip)} lines: {tip}")
    check(satellites_shown or not shown, "lodestar never showed the satellites of a fix")
    return shown


def replay(args):
    positions, counts = expected_from_chk(args.chk)
    scenario, played = os.environ["SENSORSIM_SCENARIO"], os.environ["GPSD_REPLAY_PLAYED"]
    lodestar = Lodestar(args.lodestar, scenario, os.environ["GPSD_REPLAY_DEVICE"])
    probed = None
    while True:
        finished = os.path.exists(played)
        done, _ = run_skyprobe(args.skyprobe, scenario)
        check(done.returncode == 0, f"skyprobe exit code {done.returncode}")
        check("Location Sensor name: " in done.stdout, "skyprobe reported no receiver")
        position = skyprobe_position(done.stdout)
        if position:
            check(position in positions, f"skyprobe printed {position}, not a position of the recording")
            check(f"latitude,longitude : {position[0]}, {position[1]}" in done.stdout
                  or "latitude,longitude" not in done.stdout, "the Location API disagrees with the sensor")
            probed = probed or position
        if finished or probed:
            break
    lodestar.take(1.0)
    while not os.path.exists(played):
        lodestar.take(0.2)
    lodestar.take(1.0)
    code = lodestar.exit()
    check(code == 0, f"lodestar exit code {code}")

    tray = lodestar.tray()
    shown = check_tray(lodestar, positions, counts)
    if args.expect == "fix":
        check(probed is not None, "skyprobe never printed a position")
        check(shown, "lodestar never showed a position")
        check(any(icon == READY_ICON for icon, _ in tray), "lodestar never showed the ready icon")
    elif args.expect == "nofix":
        check(probed is None, "skyprobe printed a position of a receiver without a fix")
        later = tray[1:]
        check(later and all(icon == NOT_READY_ICON and len(tip) == 2 and tip_state(tip) != "SENSOR_STATE_READY"
                            for icon, tip in later), f"not 'not ready' throughout: {later}")
    print(f"lodestar showed {len(shown & positions)} of the recording's {len(positions)} TPV positions", flush=True)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def scenario_for(work, port):
    path = os.path.join(work, "gpsd.ini")
    with open(path, "w") as out:
        out.write(f"[gpsd]\nserver = 127.0.0.1:{port}\n")
    return path


def check_one_stderr_line(stderr, port, words):
    lines = [line for line in stderr.splitlines() if line.strip() and "gpsd at" in line]
    check(len(lines) == 1 and f"127.0.0.1:{port}" in lines[0] and words in lines[0],
          f"expected one line about gpsd at port {port} saying '{words}', got {lines}")


def absent_or_garbage(args, garbage):
    work = tempfile.mkdtemp(prefix="gpsd-check.")
    port = free_port()
    server = None
    if garbage:
        server = socket.socket()
        server.bind(("127.0.0.1", port))
        server.listen(8)

        def serve():
            while True:
                try:
                    client, _ = server.accept()
                except OSError:
                    return
                client.sendall(b"SSH-2.0-OpenSSH_9.2\r\n\x00\xff\xfe garbage {\"class\n" * 50)
                client.close()
        threading.Thread(target=serve, daemon=True).start()
    words = "not a gpsd" if garbage else "cannot connect"
    done, seconds = run_skyprobe(args.skyprobe, scenario_for(work, port))
    check(done.returncode in (0, 1), f"skyprobe exit code {done.returncode}")
    check("Location Sensor name" not in done.stdout, "skyprobe reported a receiver")
    check(seconds < 5, f"skyprobe took {seconds:.1f} s")
    check_one_stderr_line(done.stderr, port, words)

    lodestar = Lodestar(args.lodestar, scenario_for(work, port))
    lodestar.take(4.0)  # past one reconnection
    code = lodestar.exit()
    check(code == 0, f"lodestar exit code {code}")
    check_one_stderr_line("\n".join(lodestar.stderr), port, words)
    if server:
        server.close()
    shutil.rmtree(work, ignore_errors=True)


def stopped(args):
    spec = importlib.util.spec_from_file_location("gpsd_replay", os.path.join(HERE, "../../scripts/gpsd_replay.py"))
    player = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(player)
    source = player.Source(player.read_cycles(args.log), 20, True)
    port = free_port()
    gpsd = subprocess.Popen(["gpsd", "-N", "-n", "-b", "-S", str(port), source.device],
                            stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    work = tempfile.mkdtemp(prefix="gpsd-check.")
    try:
        check(player.wait_listening(port, gpsd), "gpsd did not start")
        lodestar = Lodestar(args.lodestar, scenario_for(work, port), source.device)
        ready = lodestar.take(15, lambda line: READY_ICON in line)
        check(ready is not None, "lodestar never showed the receiver ready")
        gpsd.terminate()
        gpsd.wait(10)
        left = lodestar.take(5, lambda line: NOT_READY_ICON in line and "SENSOR_STATE_NOT_AVAILABLE" in line)
        check(left is not None, "lodestar did not show the receiver gone when gpsd stopped")
        for _ in range(50):
            if any("connection lost" in line for line in lodestar.stderr):
                break
            time.sleep(0.1)
        check(any("connection lost" in line for line in lodestar.stderr),
              f"no line telling the connection was lost: {lodestar.stderr}")
        done, _ = run_skyprobe(args.skyprobe, scenario_for(work, port))
        check("Location Sensor name" not in done.stdout, "skyprobe still reported the receiver")
        check(lodestar.process.poll() is None, "lodestar ended when gpsd stopped")

        # gpsd back: the receiver comes back to lodestar within a retry or two.
        gpsd = subprocess.Popen(["gpsd", "-N", "-n", "-b", "-S", str(port), source.device],
                                stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        check(player.wait_listening(port, gpsd), "gpsd did not start again")
        del lodestar.seen[:]
        back = lodestar.take(15, lambda line: READY_ICON in line)
        check(back is not None, "the receiver did not come back to lodestar when gpsd did")
        code = lodestar.exit()
        check(code == 0, f"lodestar exit code {code}")
    finally:
        if gpsd.poll() is None:
            gpsd.kill()
            gpsd.wait()
        source.close()
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=["replay", "absent", "garbage", "stopped"])
    parser.add_argument("--skyprobe", required=True)
    parser.add_argument("--lodestar", required=True)
    parser.add_argument("--chk")
    parser.add_argument("--log")
    parser.add_argument("--expect", choices=["fix", "brief", "nofix"], default="fix")
    args = parser.parse_args()
    if args.case == "replay":
        replay(args)
    elif args.case == "stopped":
        stopped(args)
    else:
        absent_or_garbage(args, args.case == "garbage")
    if failures and args.case != "absent":
        print("lodestar printed:", *lodestar_seen, sep="\n  ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
