#!/usr/bin/env python3
"""Probes for tools/program-bench.sh, which runs Quorbel.exe under Wine.

  latency: plays the instrument over TCP.  Listens on 127.0.0.1, writes the
      port to READY once listening and creates READY.connected once the
      program has connected; after GO appears it sends frames one at a time
      and times each from the return of its send (the last byte has left
      for the program) to the moment its line is complete in the day file,
      which it watches with inotify.
  lines: counts the lines of the day file as they arrive (polling every
      2 ms) until the last mark or the timeout; prints the resident memory
      of PID at each mark, and at the end the lines seen and the time from
      the first to the last.
Both print key=value lines for the shell.
"""
import argparse
import ctypes
import os
import select
import socket
import sys
import time

IN_MODIFY, IN_CLOSE_WRITE, IN_CREATE = 0x2, 0x8, 0x100


def wait_for_file(path, seconds):
    deadline = time.monotonic() + seconds
    while not os.path.exists(path):
        if time.monotonic() > deadline:
            sys.exit(f"{path} did not appear within {seconds} s")
        time.sleep(0.05)


def file_tail(path, offset):
    try:
        with open(path, "rb") as f:
            f.seek(offset)
            return f.read()
    except FileNotFoundError:
        return b""


def file_size(path):
    try:
        return os.path.getsize(path)
    except FileNotFoundError:
        return 0


class DirectoryWatch:
    """Wakes up on every write to a file of one directory."""

    def __init__(self, directory):
        libc = ctypes.CDLL(None, use_errno=True)
        self.fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if self.fd < 0 or libc.inotify_add_watch(
                self.fd, directory.encode(), IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE) < 0:
            sys.exit(f"cannot watch {directory}: errno {ctypes.get_errno()}")

    def wait(self, seconds):
        if select.select([self.fd], [], [], seconds)[0]:
            while True:
                try:
                    os.read(self.fd, 65536)
                except BlockingIOError:
                    return


def frame_of(serial):
    # Fields 1 to 3 are the ones the program is set up to store.
    return (f"LAT{serial:08d};P03;PASS;2.417bar;0.0123mbar/s;21.4C;1.52s\r\n").encode()


def time_one_frame(conn, watch, day_file, serial, timeout):
    """Milliseconds from the send of one frame to its complete line."""
    offset = file_size(day_file)
    token = f"LAT{serial:08d}".encode()
    conn.sendall(frame_of(serial))
    sent = time.perf_counter_ns()
    deadline = time.monotonic() + timeout
    while True:
        tail = file_tail(day_file, offset)
        at = tail.find(token)
        if at >= 0 and tail.find(b"\n", at) >= 0:
            return (time.perf_counter_ns() - sent) / 1e6
        left = deadline - time.monotonic()
        if left < 0:
            return None
        watch.wait(left)


def percentile(values, share):
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * share // 100))
    return ordered[int(rank) - 1]


def run_phase(conn, watch, args, rate, count, first_serial):
    interval = 1.0 / rate
    times, missing = [], 0
    start = time.monotonic()
    for k in range(count):
        slot = start + k * interval
        pause = slot - time.monotonic()
        if pause > 0:
            time.sleep(pause)
        ms = time_one_frame(conn, watch, args.file, first_serial + k, args.timeout)
        if ms is None:
            missing += 1
        else:
            times.append(ms)
    return times, missing


def report(rate, times, missing):
    name = f"rate{rate:g}"
    print(f"{name}_frames={len(times) + missing}")
    print(f"{name}_missing={missing}")
    if times:
        print(f"{name}_median_ms={percentile(times, 50):.2f}")
        print(f"{name}_p99_ms={percentile(times, 99):.2f}")
        print(f"{name}_max_ms={max(times):.2f}")
    sys.stdout.flush()


def latency(args):
    watch = DirectoryWatch(os.path.dirname(args.file))
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(1)
    server.settimeout(args.timeout * 12)
    with open(args.ready + ".part", "w") as f:
        f.write(str(server.getsockname()[1]))
    os.replace(args.ready + ".part", args.ready)
    conn, _ = server.accept()
    conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    open(args.ready + ".connected", "w").close()
    wait_for_file(args.go, args.timeout * 20)
    serial = 1
    for phase in args.phase:
        rate, count = float(phase.split(":")[0]), int(phase.split(":")[1])
        # The first frames of a phase also create the file and its header
        # line, and set the pace: they are not counted.
        run_phase(conn, watch, args, rate, args.warmup, serial)
        serial += args.warmup
        report(rate, *run_phase(conn, watch, args, rate, count, serial))
        serial += count
    conn.close()


def resident_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except FileNotFoundError:
        pass
    return 0


def lines(args):
    marks = sorted(int(m) for m in args.marks.split(","))
    offset, newlines, first, last = 0, 0, None, None
    deadline = time.monotonic() + args.timeout
    while marks and time.monotonic() < deadline:
        chunk = file_tail(args.file, offset)
        offset += len(chunk)
        newlines += chunk.count(b"\n")
        now = time.monotonic()
        frames = newlines - args.header
        if first is None and frames >= 1:
            first = now
        if chunk:
            last = now
        while marks and frames >= marks[0]:
            print(f"mark_{marks[0]}_rss_kb={resident_kb(args.pid)}")
            sys.stdout.flush()
            marks.pop(0)
        time.sleep(0.002)
    print(f"lines_seen={newlines - args.header}")
    print(f"last_line_s={(last or 0) - (first or 0):.3f}")
    print(f"last_rss_kb={resident_kb(args.pid)}")


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    lat = sub.add_parser("latency")
    lat.add_argument("--ready", required=True)
    lat.add_argument("--go", required=True)
    lat.add_argument("--file", required=True, help="the day file")
    lat.add_argument("--phase", action="append", required=True, help="RATE:FRAMES")
    lat.add_argument("--warmup", type=int, default=3)
    lat.add_argument("--timeout", type=float, default=5.0)
    cnt = sub.add_parser("lines")
    cnt.add_argument("--file", required=True, help="the day file")
    cnt.add_argument("--header", type=int, default=1, help="lines before the first frame's")
    cnt.add_argument("--marks", required=True, help="frame counts, comma separated")
    cnt.add_argument("--pid", type=int, required=True)
    cnt.add_argument("--timeout", type=float, default=900)
    args = parser.parse_args()
    latency(args) if args.command == "latency" else lines(args)


if __name__ == "__main__":
    main()
