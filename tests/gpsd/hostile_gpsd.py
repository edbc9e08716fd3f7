#!/usr/bin/python3
"""A hostile gpsd: a server on a free port of 127.0.0.1 that speaks gpsd's
JSON protocol and plays one attack on every client.

  hostile_gpsd.py ATTACK [--port P]      (serves until Ctrl-C)

Attacks: fix (a well-behaved receiver with a fix), silent (one fix to the
first client, then nothing with the socket open; nothing to later ones), flood
(the same short report as fast as the client takes it), longline (1 MB lines),
many (10,000 receivers every 2 s), churn (receivers coming and going, each a
new device path), values (the reports given as `reports`), noaccept (a
listening socket that never accepts).
Tests use HostileGpsd; die() ends the server and its connections at once.
"""
import argparse
import json
import socket
import threading
import time

DEVICE = "/dev/hostile0"
FIX = {"class": "TPV", "device": DEVICE, "mode": 3, "lat": 35.681236, "lon": 139.767125, "altMSL": 38.5,
       "eph": 6.0}
SKY = {"class": "SKY", "device": DEVICE, "uSat": 7, "nSat": 11}
SHORT_REPORT = b'{"class":"VERSION","rev":"x"}\n'  # 30 bytes
# Valid JSON, a little under 1 MiB, and slow to decode: 450,000 numbers.
LONG_LINE = b'{"class":"VERSION","release":[' + b"0," * 449999 + b"0]}\r\n"


def line(report):
    return json.dumps(report, separators=(",", ":")).encode() + b"\r\n"


def devices(*paths):
    return line({"class": "DEVICES", "devices": [{"class": "DEVICE", "path": p, "driver": "NMEA0183",
                                                  "activated": "2024-01-01T00:00:00.000Z"} for p in paths]})


def poll(tpvs, skies=()):
    return line({"class": "POLL", "active": len(tpvs), "tpv": list(tpvs), "sky": list(skies)})


def greeting(tpvs=(FIX,), skies=(SKY,), paths=(DEVICE,)):
    """What gpsd answers to ?WATCH and ?POLL: its devices and latest reports."""
    return (line({"class": "VERSION", "release": "hostile", "proto_major": 3, "proto_minor": 14})
            + devices(*paths) + poll(tpvs, skies))


class HostileGpsd:
    def __init__(self, attack, reports=None, port=0):
        self.attack, self.reports = attack, reports or []
        self.resumed = threading.Event()
        self.clients, self.closed, self.greeted = [], False, False
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", port))
        self.port = self.listener.getsockname()[1]
        self.server = f"127.0.0.1:{self.port}"
        self.fillers = []
        if attack == "noaccept":
            # A full queue of connections never accepted: further ones wait for
            # an answer to their first packet that never comes.
            self.listener.listen(0)
            for _ in range(4):
                filler = socket.socket()
                filler.setblocking(False)
                filler.connect_ex(("127.0.0.1", self.port))
                self.fillers.append(filler)
            return
        self.listener.listen(64)
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            self.clients.append(client)
            threading.Thread(target=self._serve, args=(client,), daemon=True).start()

    def _serve(self, client):
        try:
            getattr(self, "_" + self.attack)(client)
        except OSError:
            pass

    def _fix(self, client):
        client.sendall(greeting())
        while not self.closed:
            client.sendall(line(SKY) + line(FIX))
            time.sleep(0.2)

    def _silent(self, client):
        """The first client gets a fix, then nothing until resumed; later
        clients never get an answer."""
        first, self.greeted = not self.greeted, True
        if first:
            client.sendall(greeting())
        self.resumed.wait()
        if first:
            self._fix(client)

    def _values(self, client):
        tpvs = [r for r in self.reports if r["class"] == "TPV"]
        skies = [r for r in self.reports if r["class"] == "SKY"]
        paths = list(dict.fromkeys(r["device"] for r in self.reports))
        client.sendall(greeting(tpvs, skies, paths))
        while not self.closed:
            client.sendall(b"".join(line(r) for r in self.reports))
            time.sleep(0.2)

    def _flood(self, client):
        client.sendall(greeting())
        burst = SHORT_REPORT * ((1 << 20) // len(SHORT_REPORT))
        while not self.closed:
            client.sendall(burst)

    def _longline(self, client):
        """Valid reports a little under 1 MiB long, after the greeting."""
        client.sendall(greeting())
        long_line = LONG_LINE
        while not self.closed:
            client.sendall(long_line)
            time.sleep(0.3)

    def _many(self, client):
        client.sendall(greeting())
        round_of_many = b"".join(line({"class": "DEVICE", "path": f"/dev/many{n}", "driver": "NMEA0183",
                                       "activated": "2024-01-01T00:00:00.000Z"})
                                 + line(dict(FIX, device=f"/dev/many{n}")) for n in range(10000))
        while not self.closed:
            started = time.monotonic()
            client.sendall(round_of_many)
            time.sleep(max(0.0, 2.0 - (time.monotonic() - started)))

    def _churn(self, client, per_second=200, alive=30):
        """Receiver n comes, reports a fix and goes; each has a path of its own."""
        client.sendall(greeting())
        self.churned = 0
        while not self.closed:
            n = self.churned
            path = f"/dev/churn{n}"
            client.sendall(line({"class": "DEVICE", "path": path, "driver": "u-blox", "activated": 1})
                           + line(dict(FIX, device=path, lat=(n % 180) - 89.5))
                           + line({"class": "DEVICE", "path": f"/dev/churn{n - alive}", "activated": 0}))
            self.churned = n + 1
            time.sleep(1.0 / per_second)

    def die(self):
        """The server and its connections end, as a gpsd that is killed."""
        self.closed = True
        self.resumed.set()
        for s in [self.listener] + self.clients + self.fillers:
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            s.close()

    close = die


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("attack", choices=["fix", "silent", "flood", "longline", "many", "churn", "noaccept"])
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()
    server = HostileGpsd(args.attack, port=args.port)
    print(f"hostile gpsd ({args.attack}) on {server.server}", flush=True)
    try:
        while True:
            time.sleep(1)
    except KeyboardInterrupt:
        server.die()


if __name__ == "__main__":
    main()
