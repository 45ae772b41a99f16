#!/usr/bin/env python3
"""Quorbel.exe under Wine, measured whole, as a station runs it: store type
3 (fields 1 to 3 of the frame and the date), printing off, the window
shown on an X server of its own.  Writes the section "## The program under
Wine" of docs/performance.md (the rest of the file is kept).

    program-bench.py --native NATIVE_BENCH_DIR --win WIN_DIR
                     --bare LINES_PER_S --bare-flushed LINES_PER_S

--bare and --bare-flushed are the bare open-append-close loops under Wine
without and with a flush a line, as result_write_harness.exe measured them
in the same run.  PROGRAM_BENCH_FRAMES (default 1000000) sets the length of
the long stream, PROGRAM_BENCH_SECONDS (default 900) the most it may take.
"""
import argparse
import ctypes
import os
import select
import socket
import statistics
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station import (COM_INDEX, ROOT, Station, count_lines, cpu_ticks, day_name,  # noqa: E402
                     wait_until, write_ini)

HEADING = "## The program under Wine"
FIELDS = (0, 1, 2)
LIST_FULL = 10001
IDLE_SECONDS = 20
SLOW_FRAMES, FAST_FRAMES, FAST_RATE = 60, 300, 100
BURST_FRAMES = 20000
SERIAL_FRAMES = 5000
SERIAL_BAUD = 115200
IN_MODIFY, IN_CLOSE_WRITE, IN_CREATE = 0x2, 0x8, 0x100


def frame_of(tag, serial):
    # Fields 1 to 3 are the ones the program is set up to store.
    return f"{tag}{serial:08d};P03;PASS;2.417bar;0.0123mbar/s;21.4C;1.52s\r\n".encode()


def percentile(values, share):
    ordered = sorted(values)
    return ordered[max(0, -(-len(ordered) * share // 100) - 1)]


class DirectoryWatch:
    """Wakes up on every write to a file of one directory."""

    def __init__(self, directory):
        libc = ctypes.CDLL(None, use_errno=True)
        self.fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if self.fd < 0 or libc.inotify_add_watch(
                self.fd, directory.encode(), IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE) < 0:
            raise SystemExit(f"cannot watch {directory}: errno {ctypes.get_errno()}")

    def wait(self, seconds):
        if select.select([self.fd], [], [], seconds)[0]:
            while True:
                try:
                    os.read(self.fd, 65536)
                except BlockingIOError:
                    return


class Instrument:
    """The instrument played here: a TCP server on 127.0.0.1 that sends
    frames and times each to its complete line in the day file."""

    def __init__(self, day_file):
        self.day_file = day_file
        self.watch = DirectoryWatch(os.path.dirname(day_file))
        self.server = socket.socket()
        self.server.bind(("127.0.0.1", 0))
        self.server.listen(1)
        self.server.settimeout(60)
        self.port = self.server.getsockname()[1]
        self.conn = None
        self.serial = 0

    def accept(self):
        self.conn, _ = self.server.accept()
        self.conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def size(self):
        try:
            return os.path.getsize(self.day_file)
        except FileNotFoundError:
            return 0

    def tail(self, offset):
        try:
            with open(self.day_file, "rb") as f:
                f.seek(offset)
                return f.read()
        except FileNotFoundError:
            return b""

    def time_one_frame(self, timeout=5.0):
        """Milliseconds from the send of one frame to its line; None when
        it did not come within the time-out."""
        self.serial += 1
        offset = self.size()
        token = frame_of("LAT", self.serial).split(b";")[0]
        self.conn.sendall(frame_of("LAT", self.serial))
        sent = time.perf_counter()
        deadline = time.monotonic() + timeout
        while True:
            tail = self.tail(offset)
            at = tail.find(token)
            if at >= 0 and tail.find(b"\n", at) >= 0:
                return (time.perf_counter() - sent) * 1000
            left = deadline - time.monotonic()
            if left < 0:
                return None
            self.watch.wait(left)

    def latency(self, rate, count, warmup=3):
        """Median, p99 and max in ms, and the frames that got no line; the
        first frames of a phase set the pace and are not counted."""
        times, missing = [], 0
        start = time.monotonic()
        for k in range(warmup + count):
            pause = start + k / rate - time.monotonic()
            if pause > 0:
                time.sleep(pause)
            ms = self.time_one_frame()
            if k < warmup:
                continue
            if ms is None:
                missing += 1
            else:
                times.append(ms)
        return {"median": statistics.median(times), "p99": percentile(times, 99),
                "max": max(times), "missing": missing}

    def burst(self, count):
        """Sends `count` frames at once; the time the last left, and the
        list text of the last frame."""
        data = b"".join(frame_of("BST", k) for k in range(count))
        self.conn.sendall(data)
        return time.monotonic(), frame_of("BST", count - 1).decode().rstrip("\r\n")


class Watcher:
    """soak_probe watch, read as it goes: (arrival, answer ms, last list line)."""

    def __init__(self, station, seconds):
        self.process = station.start(["wine", station.probe_exe, "watch", str(seconds)],
                                     stdout=subprocess.PIPE)
        self.samples = []
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()

    def read(self):
        for line in self.process.stdout:
            answer, _, last = line.decode("latin-1").rstrip("\r\n").partition("\t")
            self.samples.append((time.monotonic(), int(answer), last))

    def finish(self, station):
        station.stop(self.process)
        self.thread.join(timeout=10)


class Bench:
    def __init__(self, args):
        self.args = args
        self.station = Station(args.native, args.win, os.path.join(os.path.abspath(args.win),
                                                                   "program-bench"), probe=True)
        self.figures = {}

    def fresh_wine_server(self):
        """Each idle measurement starts with a server of its own: the last
        program may have left it busy."""
        self.station.end_wine_server()
        self.station.prepare_prefix()
        return self.station.wine_server_pid()

    def idle_cpu(self, server):
        """Per cent of a core that the program and the Wine server used."""
        pid, hz = self.station.program_pid, os.sysconf("SC_CLK_TCK")
        before = cpu_ticks(pid), cpu_ticks(server)
        time.sleep(IDLE_SECONDS)
        after = cpu_ticks(pid), cpu_ticks(server)
        return tuple(100 * (a - b) / hz / IDLE_SECONDS for a, b in zip(after, before))

    def day_file(self, folder):
        return os.path.join(folder, "RESULT", day_name())

    @staticmethod
    def wait_lines(day, count, seconds, mark=None, at_mark=None):
        """Counts the day file's lines every 2 ms, reading only what is new,
        until `count` or the time is up, calling `at_mark` once `mark` are
        there; the seconds from its first line to its last, and the count."""
        first = last = None
        seen = offset = 0
        deadline = time.monotonic() + seconds
        while seen < count and time.monotonic() < deadline:
            try:
                with open(day, "rb") as f:
                    f.seek(offset)
                    chunk = f.read()
            except FileNotFoundError:
                chunk = b""
            offset += len(chunk)
            if chunk.count(b"\n"):
                seen += chunk.count(b"\n")
                last = time.monotonic()
                first = first or last
                if mark is not None and seen >= mark:
                    at_mark()
                    mark = None
            time.sleep(0.002)
        return (last or 0) - (first or 0), seen

    def floor(self):
        """The probe against native socat appending the stream to a file."""
        folder = self.station.folder("floor")
        instrument = Instrument(self.day_file(folder))
        socat = self.station.start(["socat", "-u", f"TCP:127.0.0.1:{instrument.port}",
                                    f"OPEN:{instrument.day_file},creat,append"])
        instrument.accept()
        self.figures["floor"] = instrument.latency(FAST_RATE, FAST_FRAMES)
        self.station.stop(socat)

    def tcp_session(self):
        """One program on the instrument played here: idle with the link
        open, latency at two rates, then a burst under the watch probe."""
        server = self.fresh_wine_server()
        folder = self.station.folder("session")
        instrument = Instrument(self.day_file(folder))
        write_ini(folder, "tcp", instrument.port, store_type=3, fields=FIELDS)
        self.station.start_program(folder)
        instrument.accept()
        time.sleep(3)
        self.figures["idle tcp"] = self.idle_cpu(server)
        self.figures["latency 1"] = instrument.latency(1, SLOW_FRAMES)
        self.figures["latency fast"] = instrument.latency(FAST_RATE, FAST_FRAMES)
        before = count_lines(instrument.day_file)
        watcher = Watcher(self.station, 120)
        wait_until(lambda: watcher.samples, 60, what="the watch probe")
        started = time.monotonic()
        sent, newest = instrument.burst(BURST_FRAMES)
        _, seen = self.wait_lines(instrument.day_file, before + BURST_FRAMES, 300)
        stored = time.monotonic()
        wait_until(lambda: any(last == newest for _, _, last in watcher.samples), 30, what=None)
        watcher.finish(self.station)
        self.station.kill_program()
        during = [answer for at, answer, _ in watcher.samples if started <= at <= stored]
        shown = next((at for at, _, last in watcher.samples if last == newest), None)
        self.figures["burst"] = {
            "stored": seen - before, "seconds": stored - started, "sent": sent - started,
            "slowest": max(during, default=None), "probes": len(during),
            "shown": None if shown is None else shown - stored}

    def stream(self):
        """The long stream from vorlsim at full speed, and the memory."""
        frames = int(os.environ.get("PROGRAM_BENCH_FRAMES", 1000000))
        seconds = int(os.environ.get("PROGRAM_BENCH_SECONDS", 900))
        folder = self.station.folder("stream")
        ready = os.path.join(folder, "port")
        sim = self.station.start_vorlsim(["tcp", "--port", "0", "--clients", "1", "--count",
                                          str(frames), "--rate", "0", "--separator", "semicolon"],
                                         ready=ready)
        write_ini(folder, "tcp", open(ready).read().strip(), store_type=3, fields=FIELDS)
        self.station.start_program(folder)
        memory = {}
        # The header line comes before the first frame's.
        elapsed, seen = self.wait_lines(self.day_file(folder), frames + 1, seconds, LIST_FULL + 1,
                                        lambda: memory.update(full=self.station.rss_kb()))
        self.figures["stream"] = {"frames": frames, "seen": seen - 1, "seconds": elapsed,
                                  "full kb": memory.get("full", 0), "last kb": self.station.rss_kb()}
        self.station.kill_program()
        self.station.stop(sim)

    def serial(self):
        """A burst over a pseudo-terminal as COM5 at full speed."""
        folder = self.station.folder("serial")
        write_ini(folder, "serial", COM_INDEX, store_type=3, fields=FIELDS)
        socat, tty = self.station.start_pty_pair(folder)
        self.station.start_program(folder)
        frames = os.path.join(folder, "frames.txt")
        with open(frames, "wb") as f:
            f.write(b"".join(frame_of("SER", k).rstrip(b"\r\n") + b"\n" for k in range(SERIAL_FRAMES)))
        time.sleep(3)  # the link starts a second after the window opens
        sim = self.station.start_vorlsim(["serial", "--device", tty, "--baud", str(SERIAL_BAUD),
                                          "--file", frames, "--count", str(SERIAL_FRAMES),
                                          "--rate", "0", "--terminator", "crlf"])
        elapsed, seen = self.wait_lines(self.day_file(folder), SERIAL_FRAMES + 1, 300)
        self.figures["serial"] = {"seen": seen - 1, "seconds": elapsed}
        self.station.kill_program()
        self.station.stop(sim)
        self.station.stop(socat)

    def idle_without_port(self):
        """Set up for COM40, which does not exist: the program says so in a
        message box, which Return closes; then no port is open."""
        server = self.fresh_wine_server()
        folder = self.station.folder("no-port")
        write_ini(folder, "serial", 39, store_type=3, fields=FIELDS)
        self.station.start_program(folder)
        time.sleep(6)
        subprocess.run(["xdotool", "key", "Return"], env=self.station.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(3)
        self.figures["idle serial"] = self.idle_cpu(server)
        self.station.kill_program()

    def run(self):
        self.station.start_display()
        self.station.prepare_prefix()
        load_before = os.getloadavg()
        started = time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())
        try:
            for step in (self.floor, self.tcp_session, self.stream, self.serial,
                         self.idle_without_port):
                print(f"program bench: {step.__doc__.splitlines()[0]}", file=sys.stderr)
                step()
        finally:
            self.station.stop_all()
            self.station.end_wine_server()
        return Section(self.args, self.figures, started, load_before, os.getloadavg()).text()


class Section:
    """The section of docs/performance.md, from the figures of one run."""

    def __init__(self, args, figures, started, load_before, load_after):
        self.args, self.f = args, figures
        self.started, self.loads = started, (load_before, load_after)

    @staticmethod
    def verdict(met):
        return "met" if met else "missed"

    @staticmethod
    def ms(latency):
        return f"{latency['median']:.2f} / {latency['p99']:.2f} / {latency['max']:.2f} ms"

    def rows(self):
        stream, burst, serial = self.f["stream"], self.f["burst"], self.f["serial"]
        bare, flushed = self.args.bare, self.args.bare_flushed
        rate = (stream["seen"] - 1) / stream["seconds"] if stream["seconds"] else 0
        share = 100 * rate / bare
        growth = 100 * (stream["last kb"] - stream["full kb"]) / stream["full kb"]
        serial_rate = (serial["seen"] - 1) / serial["seconds"] if serial["seconds"] else 0
        port_rate = SERIAL_BAUD / 10 / len(frame_of("SER", 0))
        p99 = self.f["latency 1"]["p99"]
        shown = burst["shown"]
        return [
            (f"frames/s to the day file ({stream['seen']:,} of {stream['frames']:,} frames)",
             f"{rate:,.0f}: {share:.1f} % of the bare loop's {bare:,}, "
             f"{100 * rate / flushed:.0f} % of the flushed loop's {flushed:,}",
             ">= 70 % and above the flushed loop", self.verdict(share >= 70 and rate > flushed)),
            ("latency at 1 frame/s, median / p99 / max", self.ms(self.f["latency 1"]),
             "p99 < 5 ms", self.verdict(p99 < 5)),
            (f"latency at {FAST_RATE} frames/s, median / p99 / max", self.ms(self.f["latency fast"]),
             "", ""),
            (f"the same, native socat appending to a file instead of the program, {FAST_RATE} frames/s",
             self.ms(self.f["floor"]), "", ""),
            (f"burst of {BURST_FRAMES:,} frames: stored, in", f"{burst['stored']:,} in {burst['seconds']:.1f} s",
             "none lost", self.verdict(burst["stored"] == BURST_FRAMES)),
            (f"burst: slowest answer of the window ({burst['probes']} probes, one every 100 ms)",
             f"{burst['slowest']} ms", "<= 250 ms",
             self.verdict(burst["slowest"] is not None and burst["slowest"] <= 250)),
            ("burst: newest frame in the list after its line",
             "never" if shown is None else f"{max(shown, 0):.2f} s", "<= 1 s",
             self.verdict(shown is not None and shown <= 1)),
            (f"serial burst over a pseudo-terminal, {serial['seen']:,} of {SERIAL_FRAMES:,} frames",
             f"{serial_rate:,.0f} frames/s (the port at {SERIAL_BAUD} baud carries {port_rate:,.0f})",
             "not behind the port", self.verdict(serial["seen"] == SERIAL_FRAMES and serial_rate > port_rate)),
            ("idle CPU, TCP link open (Wine server)", "{:.2f} % ({:.2f} %)".format(*self.f["idle tcp"]),
             "< 1 %", self.verdict(self.f["idle tcp"][0] < 1)),
            ("idle CPU, no serial port open (Wine server)", "{:.2f} % ({:.2f} %)".format(*self.f["idle serial"]),
             "< 1 %", self.verdict(self.f["idle serial"][0] < 1)),
            (f"memory at {LIST_FULL:,} / {stream['seen']:,} frames",
             f"{stream['full kb'] / 1024:.1f} / {stream['last kb'] / 1024:.1f} MB",
             "flat once the list is full", f"{self.verdict(growth < 5)} ({growth:+.1f} %)"),
        ]

    def text(self):
        table = "\n".join(f"| {' | '.join(row)} |" for row in self.rows())
        before, after = (" ".join(f"{x:.2f}" for x in load) for load in self.loads)
        lost = f"{self.f['latency 1']['missing']} at 1/s, {self.f['latency fast']['missing']} at {FAST_RATE}/s"
        return f"""{HEADING}

What it measures: the Windows build of Quorbel.exe under Wine, as a user
runs it, with a Quorbel.ini for store type 3 (selected fields and date;
fields 1 to 3 of the frame selected, separator ";"), no printing, and the
main window shown on an X server of its own.

- Throughput and memory: vorlsim (native) serves a long stream of
  generated frames at full speed over TCP on 127.0.0.1; the day file's
  lines are counted every 2 ms, from the first frame's line to the last
  one seen, against the bare open-append-close loops under Wine of "Frame
  store and result files", without and with a flush a line.  The resident
  set (VmRSS) of Quorbel.exe is read once the list is full and at the end.
- Latency: tools/program-bench.py plays the instrument: it listens on
  127.0.0.1, sends one frame per send call and times from the call's
  return to the moment its complete line is in the day file (inotify on
  the folder); {SLOW_FRAMES} frames at one a second, {FAST_FRAMES} at {FAST_RATE} a second, the first
  3 of each not counted.  The same probe against native socat appending
  the stream to a file shows what the machine itself adds.
- Burst: then the same instrument sends {BURST_FRAMES:,} frames in one go, while
  tools/soak's probe asks the main window for an empty message every 100
  ms (SendMessageTimeout) and reads the list's last line.
- Serial: vorlsim writes {SERIAL_FRAMES:,} frames at full speed into a pseudo-terminal
  pair whose other end is COM5 of the prefix; a pseudo-terminal keeps no
  baud rate, so this is the most the serial path takes, against what a
  port at {SERIAL_BAUD} baud (10 bits a byte) can bring.
- Idle CPU: user and system time of the Quorbel.exe process over {IDLE_SECONDS} s,
  with the TCP link connected and no frames, and set up for COM40, which
  does not exist, after its message was closed; the Wine server's share
  beside it, because every Win32 call that waits or touches a file or
  socket goes through it.

How to run it: `make bench` (tools/run-benchmarks.sh calls it with the
bare loops of the same run).

Run of {self.started} on {os.cpu_count()} cores, load average {before} before and
{after} after (the build machine is shared, so the figures scatter
between runs).

| figure | result | goal | |
|---|---|---|---|
{table}

Latency frames without a line within 5 s: {lost}.
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--native", required=True)
    parser.add_argument("--win", required=True)
    parser.add_argument("--bare", type=int, required=True)
    parser.add_argument("--bare-flushed", type=int, required=True)
    args = parser.parse_args()
    section = Bench(args).run()
    subprocess.run([os.path.join(ROOT, "tools", "doc-section.sh"),
                    os.path.join(ROOT, "docs", "performance.md"), HEADING],
                   input=section.encode(), check=True)


if __name__ == "__main__":
    main()
