#!/usr/bin/python3
"""Replays a recorded NMEA log into a private gpsd.

Writes the log to a pseudo-terminal at the recording's pace (or faster),
starts gpsd on a free port reading it as a serial receiver, and either runs COMMAND with
SENSORSIM_SCENARIO naming a scenario that points at this gpsd, or waits until
the recording ends (or Ctrl-C). Stops gpsd and the source afterwards.

  scripts/gpsd_replay.py [--speed N] [--loop] [--port P] LOG [COMMAND ARG...]
"""
import argparse
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import tty
import threading
import time

# A sentence's UTC time: the first field of GGA, RMC, ZDA and GNS.
NMEA_TIME = re.compile(rb"^\$..(?:GGA|RMC|ZDA|GNS),(\d{6})", re.M)
# A SiRF binary frame of message 2, which the receiver sends once a second.
SIRF_NAVIGATION = re.compile(rb"\xa0\xa2\x00.\x02", re.S)


def read_cycles(path):
    """The log's bytes split into one-second cycles: where an NMEA sentence
    carries a new time, or a SiRF navigation frame starts."""
    with open(path, "rb") as log:
        data = log.read()
    while data.startswith(b"#"):
        data = data[data.find(b"\n") + 1:] if b"\n" in data else b""
    starts, last_time = set(), None
    for match in NMEA_TIME.finditer(data):
        if match.group(1) != last_time:
            starts.add(match.start())
            last_time = match.group(1)
    starts.update(match.start() for match in SIRF_NAVIGATION.finditer(data))
    bounds = sorted(starts - {0})
    return [data[begin:end] for begin, end in zip([0] + bounds, bounds + [len(data)]) if begin < end]


class Source:
    """The recording written to a pseudo-terminal, which gpsd reads as it
    reads a serial receiver."""

    def __init__(self, cycles, speed, loop, done_file=None):
        self.cycles, self.speed, self.loop, self.done_file = cycles, speed, loop, done_file
        self.finished = threading.Event()
        self.master, self.slave = os.openpty()
        tty.setraw(self.slave)
        self.device = os.ttyname(self.slave)
        self.closed = False
        threading.Thread(target=self._play, daemon=True).start()

    def _play(self):
        try:
            while True:
                for cycle in self.cycles:
                    os.write(self.master, cycle)
                    time.sleep(1.0 / self.speed)
                if not self.loop:
                    break
            self.finished.set()
            if self.done_file:
                open(self.done_file, "w").close()
        except OSError:
            pass

    def close(self):
        """Hangs the line up, as an unplugged receiver would."""
        if not self.closed:
            self.closed = True
            os.close(self.master)
            os.close(self.slave)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_listening(port, process, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if process.poll() is not None:
            return False
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.2):
                return True
        except OSError:
            time.sleep(0.05)
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--speed", type=float, default=1.0, help="times the recording's pace (default 1)")
    parser.add_argument("--loop", action="store_true", help="play the recording again and again")
    parser.add_argument("--port", type=int, default=0, help="gpsd's port (default: a free one)")
    parser.add_argument("--gpsd", default=shutil.which("gpsd") or "/usr/sbin/gpsd", help="the gpsd program")
    parser.add_argument("log")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="gpsd-replay.")
    done_file = os.path.join(work, "played")
    source = Source(read_cycles(args.log), max(args.speed, 0.01), args.loop, done_file)
    port = args.port or free_port()
    # -N: stay in the foreground, -n: read the source before any client asks,
    # -b: never write to the source, -S: our port.
    gpsd = subprocess.Popen([args.gpsd, "-N", "-n", "-b", "-S", str(port), source.device],
                            stdin=subprocess.DEVNULL)
    status = 0
    try:
        if not wait_listening(port, gpsd):
            print(f"gpsd_replay: gpsd did not start on port {port}", file=sys.stderr)
            return 2
        print(f"gpsd_replay: gpsd on 127.0.0.1:{port} playing {args.log}", file=sys.stderr, flush=True)
        if args.command:
            scenario = os.path.join(work, "gpsd.ini")
            with open(scenario, "w") as out:
                out.write(f"[gpsd]\nserver = 127.0.0.1:{port}\n")
            env = dict(os.environ)
            env.setdefault("SENSORSIM_SCENARIO", scenario)
            env["GPSD_REPLAY_SERVER"] = f"127.0.0.1:{port}"
            env["GPSD_REPLAY_DEVICE"] = source.device  # the receiver's path in gpsd
            env["GPSD_REPLAY_PLAYED"] = done_file  # appears once the recording has been played
            status = subprocess.call(args.command, env=env)
        else:
            signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
            while not source.finished.wait(0.2) and gpsd.poll() is None:
                pass
    except KeyboardInterrupt:
        pass
    finally:
        gpsd.terminate()
        try:
            gpsd.wait(5)
        except subprocess.TimeoutExpired:
            gpsd.kill()
            gpsd.wait()
        source.close()
        shutil.rmtree(work, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
