#!/usr/bin/env python3
"""The fault and soak scenarios of `make soak`: the real Quorbel.exe under
Wine on an X server of its own, vorlsim (native) as the instrument, over
loopback TCP and over a pseudo-terminal mapped as COM5; the central
database's scenarios (8) send to a PostgreSQL server of their own
(tools/postgres.sh) and compare its table with the day file.  Each scenario
prints PASS, FAIL or "not run" with its figures; docs/reliability.md is
written from them.  Exit code 1 when a scenario failed or did not run; with
--allow-partial a scenario that could not run (the full drive without
permission to mount) is let through, and the run is reported as partial, in
the doc as well.

    soak.py --native build/native --win build/win [--frames 1000000]
            [--only NAME,...] [--doc docs/reliability.md] [--allow-partial]

Every frame a scenario sends is unique, so the day file can be compared
line by line with what vorlsim says it sent (--echo): lost, duplicated,
out of order, and "foreign" lines, which no frame was (a half frame, two
frames run together).  The program stores the frame as it came (store
type 0), so a stored line is the sent frame itself.
"""
import argparse
import ctypes
import datetime
import os
import random
import select
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from station import (COM_INDEX, Database, Failure, Station, count_lines, day_name,  # noqa: E402
                     free_port, wait_until, write_ini)

LIST_LIMIT = 10001
WAITING_NOTICE = "Result lines cannot be written to "
WRITTEN_NOTICE = "The waiting result lines have been written"
TROUBLE_NOTICE = "Central database not reached: "
# Scenario 1 reads the list this many frames before the last one at the
# latest, so that frames still come while it is read.
THROUGHPUT_TAIL = 1000
# Frames scenario 1 needs: the list full, then replaced once more, before
# its last sample.
THROUGHPUT_MIN_FRAMES = 2 * LIST_LIMIT + THROUGHPUT_TAIL
# Scenario 6: the most frames the program may store between the probe's
# last read of the list and the kill, at the stream's pace, which keeps
# the stream going well past the reading of a full list (at full speed
# the program takes all of it first).
KILL_READ_GAP = 250
KILL_RATE = 1000
# Scenarios 4a, 4b: a line on its way when the fault begins may still
# land, and a full drive still takes lines into the last block of the day
# file; from this many seconds into the fault the file must take none.
FAULT_SETTLE_S = 5
FIELDS = ";P01;PASS;2.125bar;0.0311mbar/s;22.4C"
# Frames per second far above what the program takes: full speed, but
# paced, so that vorlsim flushes its echo after each frame.
FAST = 100000


def read_lines(path):
    """The CR LF lines of a file, and its tail after the last CR LF."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except FileNotFoundError:
        return [], b""
    parts = data.split(b"\r\n")
    return parts[:-1], parts[-1]


def file_tail(path, size=65536):
    try:
        with open(path, "rb") as f:
            f.seek(max(0, os.path.getsize(path) - size))
            return f.read()
    except FileNotFoundError:
        return b""


def compare(sent, stored, whole=()):
    """Figures of the stored lines against the sent frames (unique).  Lines
    of `whole` are frames that were never echoed (written to the socket
    when vorlsim was killed) but are whole frames all the same."""
    position = {line: i for i, line in enumerate(sent)}
    allowed = set(whole)
    seen = set()
    duplicated = foreign = out_of_order = 0
    last = -1
    for line in stored:
        if line in seen:
            duplicated += 1
            continue
        seen.add(line)
        index = position.get(line)
        if index is None:
            if line not in allowed:
                foreign += 1
            continue
        if index < last:
            out_of_order += 1
        last = index
    lost = sum(1 for line in sent if line not in seen)
    return {"sent": len(sent), "stored": len(stored), "lost": lost, "duplicated": duplicated,
            "foreign": foreign, "out_of_order": out_of_order}


def clean(figures):
    return all(figures[k] == 0 for k in ("lost", "duplicated", "foreign", "out_of_order"))


def frame_file(path, tag, count):
    with open(path, "w") as f:
        for i in range(count):
            f.write(f"{tag}-{i:07d}{FIELDS}\n")


class Soak(Station):
    def __init__(self, args):
        super().__init__(args.native, args.win, os.path.join(os.path.abspath(args.win), "soak"),
                         args.prefix, probe=True)

    def list_lines(self):
        return self.probe("lines")

    def list_count(self):
        lines = self.probe("count")
        return int(lines[0]) if lines else -1

    def list_lines_then_kill(self, seconds=600):
        """The list's lines as the probe reads them, and the program killed
        the moment the last of them arrives: once the list is full, the
        probe's last line is the newest frame at the time it was read.  The
        probe's output comes in blocks, the last at its exit; a full list
        is all there, so the kill need not wait for the exit."""
        probe = self.start(["wine", self.probe_exe, "lines"], stdout=subprocess.PIPE)
        lines, rest, ended = [], b"", False
        deadline = time.monotonic() + seconds
        try:
            while len(lines) < LIST_LIMIT:
                left = deadline - time.monotonic()
                if left <= 0:
                    raise Failure(f"timed out after {seconds} s reading the list")
                # Counted between dropping its first line and adding the new
                # one, the list holds one line less; its last comes at once.
                almost = len(lines) >= LIST_LIMIT - 1
                ready, _, _ = select.select([probe.stdout], [], [], min(left, 0.05) if almost else left)
                if not ready:
                    if almost:
                        break
                    continue
                chunk = os.read(probe.stdout.fileno(), 65536)
                if not chunk:
                    ended = True
                    break
                rest += chunk
                *complete, rest = rest.split(b"\n")
                lines += complete
            self.kill_program()
        finally:
            self.stop(probe)
            probe.stdout.close()
        # Half a line is a line only when the probe has ended.
        if rest and ended:
            lines.append(rest)
        return [line.rstrip(b"\r").decode("latin-1") for line in lines]

    def wait_settled(self, path, sim, seconds, quiet=10):
        """Waits until vorlsim has written all and the file has grown no more
        for `quiet` s: for streams whose line count is not known ahead."""
        sim.wait(timeout=seconds)
        self.wait_stored(path, sys.maxsize, seconds, stall=quiet)

    def wait_stored(self, path, count, seconds, stall=60):
        """Waits until the file has `count` lines, or none came for `stall` s."""
        last, last_change = -1, time.monotonic()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            now = count_lines(path)
            if now >= count:
                return now
            if now != last:
                last, last_change = now, time.monotonic()
            elif time.monotonic() - last_change > stall:
                break
            time.sleep(0.5)
        return count_lines(path)


def echo_lines(path):
    with open(path, "rb") as f:
        return f.read().split(b"\n")[:-1]


def stream_tcp(soak, name, frames, rate, extra=(), database=None):
    """A folder, vorlsim serving unique frames and the program connected
    (and sending to the database, when given)."""
    folder = soak.folder(name)
    source = os.path.join(folder, "frames.txt")
    frame_file(source, name.upper(), frames)
    echo = os.path.join(folder, "echo.txt")
    sim = soak.start_vorlsim(["tcp", "--port", "0", "--clients", "1", "--count", str(frames),
                              "--rate", str(rate), "--file", source, *extra], echo,
                             ready=os.path.join(folder, "port"))
    write_ini(folder, "tcp", open(os.path.join(folder, "port")).read().strip(), database=database)
    soak.start_program(folder)
    return folder, sim, echo


def finish_stream(soak, folder, sim, echo, frames, seconds):
    day = os.path.join(folder, "RESULT", day_name())
    soak.wait_stored(day, frames, seconds)
    return day


# Scenario 1
def throughput_marks(frames):
    """The frame counts at which scenario 1 reads the program's memory, and
    from the full list on the list's line count: one before the list fills,
    one as it fills, then up to ten spread over the rest, the last
    THROUGHPUT_TAIL frames before the end.  None when the frames are too few
    for the list to be replaced once more after it filled."""
    end = frames - THROUGHPUT_TAIL
    if frames < THROUGHPUT_MIN_FRAMES:
        return None
    later = min(10, (end - LIST_LIMIT) // LIST_LIMIT)
    return [1000, LIST_LIMIT] + [LIST_LIMIT + (end - LIST_LIMIT) * i // later
                                 for i in range(1, later + 1)]


def judge_throughput(frames, marks, memory, list_counts, figures, tail):
    """Scenario 1's verdict: every frame stored once and in order, every
    sample taken, the list at its limit at each sample from the full list
    on, and the memory at the last frame within 5 % of the full list's."""
    full = marks[1]
    listed = [m for m in marks if m >= full]
    taken = [m for m in marks if m in memory]
    figures["half line at the end"] = len(tail)
    figures["samples taken"] = f"{len(taken)} of {len(marks)}"
    figures["list lines while streaming"] = ", ".join(map(str, list_counts)) or "not read"
    for mark, (at, kb) in memory.items():
        figures[f"VmRSS at {mark} (frame {at})"] = f"{kb / 1024:.1f} MB" if kb else "?"
    full_kb = memory.get(full, (0, None))[1]
    last_kb = memory.get("last", (0, None))[1]
    growth = 100.0 * (last_kb - full_kb) / full_kb if full_kb and last_kb else None
    figures["VmRSS growth from the full list to the last frame"] = \
        "not measured" if growth is None else f"{growth:.1f} % (goal < 5 %)"
    return clean(figures) and figures["stored"] == frames and not tail and \
        len(taken) == len(marks) and "last" in memory and \
        all(kb for _, kb in memory.values()) and \
        len(list_counts) == len(listed) and all(n == LIST_LIMIT for n in list_counts) and \
        growth is not None and growth < 5


def scenario_throughput(soak, frames, seconds):
    marks = throughput_marks(frames)
    if marks is None:
        return False, {"error": f"{frames} frames are too few: at least {THROUGHPUT_MIN_FRAMES:,}"}
    folder = soak.folder("stream")
    echo = os.path.join(folder, "echo.txt")
    sim = soak.start_vorlsim(["tcp", "--port", "0", "--clients", "1", "--count", str(frames),
                              "--rate", "0", "--separator", "semicolon"], echo,
                             ready=os.path.join(folder, "port"))
    write_ini(folder, "tcp", open(os.path.join(folder, "port")).read().strip())
    soak.start_program(folder)
    day = os.path.join(folder, "RESULT", day_name())
    wait_until(lambda: count_lines(day) > 0, 60, what="the first line")
    started = time.monotonic()
    memory, list_counts = {}, []
    pending = list(marks)
    last, last_change = 0, time.monotonic()
    while True:
        now = count_lines(day)
        if pending and now >= pending[0]:
            mark = pending.pop(0)
            memory[mark] = (now, soak.rss_kb())
            # Read while frames still come: the link adds its own line
            # when the connection ends.
            if mark >= marks[1]:
                list_counts.append(soak.list_count())
        if now >= frames or time.monotonic() - last_change > 120 or \
                (seconds and time.monotonic() - started > seconds):
            break
        if now != last:
            last, last_change = now, time.monotonic()
        time.sleep(1)
    elapsed = time.monotonic() - started
    memory["last"] = (count_lines(day), soak.rss_kb())
    soak.kill_program()
    soak.stop(sim)
    stored, tail = read_lines(day)
    figures = compare(echo_lines(echo), stored)
    figures["frames/s"] = round((len(stored) - 1) / elapsed) if elapsed > 0 else 0
    return judge_throughput(frames, marks, memory, list_counts, figures, tail), figures


# Scenario 2
def scenario_vorlsim_restarts(soak, cycles=20):
    folder = soak.folder("restarts")
    port = free_port()
    write_ini(folder, "tcp", port, reconnect=1)
    day = os.path.join(folder, "RESULT", day_name())
    soak.start_program(folder)
    sent, unechoed, reconnect_s = [], set(), []
    rng = random.Random(7)
    for cycle in range(cycles):
        source = os.path.join(folder, "frames.txt")
        count = 60000
        frame_file(source, f"C{cycle:02d}", count)
        echo = os.path.join(folder, f"echo{cycle:02d}.txt")
        up = time.monotonic()
        # One byte per write, always behind its schedule: whenever it is
        # killed, vorlsim is most likely inside a frame.
        sim = soak.start_vorlsim(["tcp", "--port", str(port), "--clients", "1", "--count",
                                  str(count), "--rate", str(FAST), "--chunk", "byte", "--file",
                                  source], echo, ready=os.path.join(folder, "port"))
        # The program first takes what the last connection left in the
        # socket, then connects again.
        tag = f"C{cycle:02d}-".encode()
        wait_until(lambda: tag in file_tail(day), 120, what=f"frames of connection {cycle + 1}")
        reconnect_s.append(time.monotonic() - up)
        time.sleep(rng.uniform(0.2, 1.5))
        soak.stop(sim, signal.SIGKILL)
        echoed = echo_lines(echo)
        sent += echoed
        whole = [f"C{cycle:02d}-{i:07d}{FIELDS}".encode() for i in range(count)]
        unechoed.update(whole[len(echoed):])
    soak.wait_stored(day, sys.maxsize, 600, stall=15)
    alive = soak.program_alive()
    soak.kill_program()
    stored, tail = read_lines(day)
    figures = compare(sent, stored, unechoed)
    figures["whole frames stored that vorlsim had not echoed when killed"] = \
        figures["stored"] - figures["duplicated"] - figures["foreign"] - (figures["sent"] - figures["lost"])
    figures["connections"] = cycles
    figures["time from vorlsim's start to its first stored frame, max"] = f"{max(reconnect_s):.1f} s"
    figures["half line at the end"] = len(tail)
    return clean(figures) and alive and not tail, figures


# Scenario 3
def scenario_file_held(soak, frames=4000, rate=40, hold_s=60):
    folder, sim, echo = stream_tcp(soak, "held", frames, rate)
    day = os.path.join(folder, "RESULT", day_name())
    wait_until(lambda: count_lines(day) >= 200, 60, what="the first lines")
    windows_path = "Z:" + day.replace("/", "\\")
    holder = soak.start(["wine", soak.probe_exe, "hold", windows_path, str(hold_s)],
                        stdout=subprocess.PIPE)
    ready, _, _ = select.select([holder.stdout], [], [], 60)
    if not ready or holder.stdout.readline().strip() != b"held":
        raise Failure("soak_probe could not hold the day file")
    at_hold = count_lines(day)
    time.sleep(5)
    during = soak.list_lines()
    while_held = count_lines(day) - at_hold
    holder.wait(timeout=hold_s + 30)
    finish_stream(soak, folder, sim, echo, frames, frames / rate + 120)
    after = soak.list_lines()
    soak.kill_program()
    soak.stop(sim)
    stored, tail = read_lines(day)
    figures = compare(echo_lines(echo), stored)
    waiting = [line for line in during if line.startswith(WAITING_NOTICE)]
    written = WRITTEN_NOTICE in after
    figures["lines added to the held file in the first 5 s"] = while_held
    figures["waiting line shown"] = waiting[0] if waiting else "no"
    figures["recovery line shown"] = "yes" if written else "no"
    return clean(figures) and not tail and bool(waiting) and written and while_held == 0, figures


# Scenario 4
def pending_records(folder, tag):
    """Records of the program's Quorbel.pending (one a line, the line's
    text in the clear) that hold a frame of this scenario."""
    try:
        with open(os.path.join(folder, "Quorbel.pending"), "rb") as f:
            data = f.read()
    except FileNotFoundError:
        return 0
    return sum(1 for record in data.split(b"\r\n") if tag in record)


def watch_fault(soak, folder, echo, day, begun, seconds, tag):
    """What the fault did from FAULT_SETTLE_S s after it began (`begun`) to
    its end: the frames vorlsim sent meanwhile, the lines `day` took, the
    list as read in that time and the records waiting in Quorbel.pending."""
    time.sleep(max(0.0, begun + FAULT_SETTLE_S - time.monotonic()))
    lines, sent = count_lines(day), len(echo_lines(echo))
    shown = soak.list_lines()
    time.sleep(max(0.0, begun + seconds - time.monotonic()))
    return {"sent": len(echo_lines(echo)) - sent, "lines": count_lines(day) - lines,
            "shown": shown, "pending": pending_records(folder, tag)}


def check_fault(frames, sent, stored, tails, fault, shown_after):
    """Scenarios 4a, 4b: the fault took effect (frames kept coming, the day
    file took none of them, they waited in Quorbel.pending and the list
    said so), and afterwards every frame is in the file, once and in order."""
    figures = compare(sent, stored)
    figures["half line at the end"] = sum(len(tail) for tail in tails)
    waiting = [line for line in fault["shown"] if line.startswith(WAITING_NOTICE)]
    figures["waiting line shown during the fault"] = waiting[0] if waiting else "no"
    figures[f"frames sent from {FAULT_SETTLE_S} s into the fault to its end"] = fault["sent"]
    figures["lines the day file took in that time"] = fault["lines"]
    figures["lines waiting in Quorbel.pending at the end of the fault"] = fault["pending"]
    figures["recovery line shown"] = "yes" if WRITTEN_NOTICE in shown_after else "no"
    took_effect = fault["sent"] > 0 and fault["lines"] == 0 and fault["pending"] > 0
    return clean(figures) and figures["sent"] == frames and not any(tails) and \
        bool(waiting) and took_effect, figures


def scenario_directory_gone(soak, frames=3000, rate=40, gone_s=15):
    folder, sim, echo = stream_tcp(soak, "dirgone", frames, rate)
    result = os.path.join(folder, "RESULT")
    day = os.path.join(result, day_name())
    moved = os.path.join(result + ".gone", day_name())
    wait_until(lambda: count_lines(day) >= 200, 60, what="the first lines")
    # Moved away rather than deleted, to count what it held; a plain file
    # in its place keeps the program from making it again for a while.
    # A program that kept the day file open would go on writing into the
    # moved one.
    os.rename(result, result + ".gone")
    open(result, "w").close()
    fault = watch_fault(soak, folder, echo, moved, time.monotonic(), gone_s, b"DIRGONE-")
    os.remove(result)
    finish_stream(soak, folder, sim, echo, frames - count_lines(moved), frames / rate + 120)
    shown_after = soak.list_lines()
    soak.kill_program()
    soak.stop(sim)
    before, tail_before = read_lines(moved)
    after, tail = read_lines(day)
    return check_fault(frames, echo_lines(echo), before + after, [tail_before, tail], fault,
                       shown_after)


def scenario_drive_full(soak, frames=3000, rate=40, full_s=15):
    folder = soak.folder("drivefull")
    mount = os.path.join(folder, "small")
    os.makedirs(mount)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=512k", "tmpfs", mount],
                      timeout=60).returncode != 0:
        return None, {"not run": "no permission to mount a small file system"}
    drive = os.path.join(soak.prefix, "dosdevices", "q:")
    try:
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(mount, drive)
        os.makedirs(os.path.join(mount, "RESULT"))
        source = os.path.join(folder, "frames.txt")
        frame_file(source, "FULL", frames)
        echo = os.path.join(folder, "echo.txt")
        sim = soak.start_vorlsim(["tcp", "--port", "0", "--clients", "1", "--count", str(frames),
                                  "--rate", str(rate), "--file", source], echo,
                                 ready=os.path.join(folder, "port"))
        write_ini(folder, "tcp", open(os.path.join(folder, "port")).read().strip(),
                       directory="Q:\\RESULT\\")
        soak.start_program(folder)
        day = os.path.join(mount, "RESULT", day_name())
        wait_until(lambda: count_lines(day) >= 200, 60, what="the first lines")
        filler = os.path.join(mount, "filler")
        subprocess.run(["dd", "if=/dev/zero", f"of={filler}", "bs=4k"], stderr=subprocess.DEVNULL,
                       timeout=60)
        fault = watch_fault(soak, folder, echo, day, time.monotonic(), full_s, b"FULL-")
        at_full = count_lines(day)
        os.remove(filler)
        soak.wait_stored(day, frames, frames / rate + 120)
        shown_after = soak.list_lines()
        soak.kill_program()
        soak.stop(sim)
        stored, tail = read_lines(day)
        passed, figures = check_fault(frames, echo_lines(echo), stored, [tail], fault, shown_after)
        figures["lines in the file when the drive was full"] = at_full
        return passed, figures
    finally:
        soak.kill_program()
        if os.path.lexists(drive):
            os.remove(drive)
        subprocess.run(["umount", mount], timeout=60)


# Scenario 5
def scenario_serial_replug(soak, rate=50, before_s=10, unplugged_s=5, after_frames=1500):
    folder = soak.folder("replug")
    write_ini(folder, "serial", COM_INDEX, reconnect=1)
    socat, tty_b = soak.start_pty_pair(folder)
    soak.start_program(folder)
    day = os.path.join(folder, "RESULT", day_name())
    first = os.path.join(folder, "first.txt")
    frame_file(first, "PLUG1", 100000)
    echo1 = os.path.join(folder, "echo1.txt")
    time.sleep(3)  # the link starts a second after the window opens
    sim = soak.start_vorlsim(["serial", "--device", tty_b, "--rate", str(rate), "--file", first,
                              "--terminator", "crlf"], echo1)
    wait_until(lambda: count_lines(day) > 0, 30, what="the first serial frames")
    time.sleep(before_s)
    soak.stop(sim, signal.SIGKILL)
    soak.stop(socat, signal.SIGKILL)
    time.sleep(unplugged_s)
    socat, tty_b = soak.start_pty_pair(folder)
    second = os.path.join(folder, "second.txt")
    frame_file(second, "PLUG2", after_frames)
    echo2 = os.path.join(folder, "echo2.txt")
    before = count_lines(day)
    replugged = time.monotonic()
    sim = soak.start_vorlsim(["serial", "--device", tty_b, "--rate", str(rate), "--file", second,
                              "--count", str(after_frames), "--terminator", "crlf"], echo2)
    resumed = wait_until(lambda: count_lines(day) > before, 30, what=None)
    resume_s = time.monotonic() - replugged
    soak.wait_stored(day, before + after_frames, after_frames / rate + 60, stall=15)
    soak.kill_program()
    soak.stop(sim)
    soak.stop(socat)
    stored, tail = read_lines(day)
    sent1 = echo_lines(echo1)
    # The frame on its way when vorlsim was killed may have gone out whole
    # without its echo.
    unechoed = [f"PLUG1-{len(sent1):07d}{FIELDS}".encode()]
    passed, figures = check_replug(sent1, unechoed, echo_lines(echo2), stored, tail)
    figures["time to resume"] = f"{resume_s:.1f} s" if resumed else "never"
    return resumed and passed, figures


def check_replug(sent1, unechoed, sent2, stored, tail):
    """Scenario 5 on the whole day file.  Frames in the terminal's buffers
    when it went are gone with it: they may be lost, the last ones sent
    before the unplug, but no stored line may be torn or joined, none
    duplicated or out of order, and every frame after the replug must come."""
    in_file = set(stored)
    whole = compare(sent1 + unechoed + sent2, stored)
    stored_before = [i for i, line in enumerate(sent1) if line in in_file]
    last_before = stored_before[-1] if stored_before else -1
    lost_before = [i for i, line in enumerate(sent1) if line not in in_file]
    figures = {
        "sent after the replug": len(sent2),
        "lost after the replug": sum(1 for line in sent2 if line not in in_file),
        "sent before the unplug / stored": f"{len(sent1)} / {len(stored_before)}",
        "lost at the unplug (the last frames sent before it)":
            sum(1 for i in lost_before if i > last_before),
        "lost before the unplug, ahead of a stored frame": sum(1 for i in lost_before if i < last_before),
        "whole frames stored that vorlsim had not echoed when killed":
            sum(1 for line in unechoed if line in in_file),
        "lines in the day file": len(stored),
        "foreign (whole file)": whole["foreign"],
        "duplicated (whole file)": whole["duplicated"],
        "out of order (whole file)": whole["out_of_order"],
        "half line at the end": len(tail),
    }
    passed = bool(sent2) and bool(stored_before) and not tail and all(
        figures[k] == 0 for k in ("lost after the replug", "lost before the unplug, ahead of a stored frame",
                                  "foreign (whole file)", "duplicated (whole file)",
                                  "out of order (whole file)"))
    return passed, figures


# Scenario 6
def scenario_killed(soak, frames=300000):
    folder, sim, echo = stream_tcp(soak, "killed", frames, KILL_RATE)
    day = os.path.join(folder, "RESULT", day_name())
    # Full, the list drops its first line for each new one, so the probe's
    # last line read is the newest frame shown; the kill follows at once.
    wait_until(lambda: count_lines(day) >= LIST_LIMIT + 1000, 300, what="a full list")
    shown = soak.list_lines_then_kill()
    soak.stop(sim)
    stored, tail = read_lines(day)
    return check_killed(frames, echo_lines(echo), stored, tail, shown, "KILLED-")


def check_killed(frames, sent, stored, tail, shown, tag):
    """Scenario 6: every frame the list showed just before the kill is in
    the day file, which holds whole lines only, once and in order; the list
    was read at most KILL_READ_GAP frames before the kill and vorlsim was
    still sending when the program died."""
    # The frames the list showed; the link's own lines are not frames.
    shown_frames = [line.encode("latin-1") for line in shown if line.startswith(tag)]
    in_file = set(stored)
    position = {line: i for i, line in enumerate(sent)}
    figures = compare(sent[:len(stored)], stored)
    figures["frames shown in the list just before the kill"] = len(shown_frames)
    figures["shown but not in the file"] = sum(1 for line in shown_frames if line not in in_file)
    newest_shown = max((position.get(line, -1) for line in shown_frames), default=-1)
    last_stored = max((position.get(line, -1) for line in stored), default=-1)
    read_gap = last_stored - newest_shown if newest_shown >= 0 else None
    figures["frames stored after the newest one shown"] = \
        "no frame shown" if read_gap is None else read_gap
    figures["frames vorlsim sent before the kill"] = f"{len(sent)} of {frames}"
    figures["half line at the end"] = len(tail)
    return clean(figures) and figures["shown but not in the file"] == 0 and not tail and \
        read_gap is not None and read_gap <= KILL_READ_GAP and len(sent) < frames, figures


# Scenario 7
HOSTILE = [
    b"NUL\x00inside;P01;PASS", b"\xff\xff\xff;0xFF;\xfe", b"lone\rCR;P01", b"X" * 5000,
    b"\x02STX;at the start", b"ETX\x03in the middle", b"two\x02STX\x02inside", b"\x03", b"",
    b"   ", b"\x00", b"\t\t;tabs only\t", b"Y" * 2047 + b";" + b"Z" * 2952, b"ends with ETX\x03",
]


def hostile_file(path, frames):
    well_formed = []
    rng = random.Random(11)
    with open(path, "wb") as f:
        for i in range(frames):
            if i % 2:
                line = f"WF-{i:05d}{FIELDS}".encode()
                well_formed.append(line)
            else:
                line = HOSTILE[rng.randrange(len(HOSTILE))]
                if len(line) > 1000 and rng.random() < 0.8:
                    line = b"short instead of long"  # keeps the serial run short
            f.write(line + b"\n")
    return well_formed


def check_hostile(soak, day, well_formed):
    alive = soak.program_alive()
    stored, tail = read_lines(day)
    counts = {}
    for line in stored:
        if line.startswith(b"WF-"):
            counts[line] = counts.get(line, 0) + 1
    figures = {"well-formed sent": len(well_formed),
               "stored intact": sum(1 for line in well_formed if counts.get(line) == 1),
               "lost": sum(1 for line in well_formed if line not in counts),
               "duplicated": sum(1 for n in counts.values() if n > 1),
               "torn (WF- lines that were not sent)": sum(1 for line in counts if line not in set(well_formed)),
               "lines in the file": len(stored),
               "program running at the end": "yes" if alive else "no (crashed)"}
    passed = alive and figures["stored intact"] == len(well_formed) and \
        figures["torn (WF- lines that were not sent)"] == 0 and not tail
    return passed, figures


def scenario_hostile_tcp(soak, frames=10000):
    folder = soak.folder("hostiletcp")
    source = os.path.join(folder, "hostile.txt")
    well_formed = hostile_file(source, frames)
    echo = os.path.join(folder, "echo.txt")
    sim = soak.start_vorlsim(["tcp", "--port", "0", "--clients", "1", "--count", str(frames),
                              "--rate", "0", "--chunk", "random", "--file", source], echo,
                             ready=os.path.join(folder, "port"))
    write_ini(folder, "tcp", open(os.path.join(folder, "port")).read().strip())
    soak.start_program(folder)
    day = os.path.join(folder, "RESULT", day_name())
    soak.wait_settled(day, sim, 600)
    passed, figures = check_hostile(soak, day, well_formed)
    soak.kill_program()
    soak.stop(sim)
    return passed, figures


def scenario_hostile_serial(soak, frames=10000):
    folder = soak.folder("hostileserial")
    source = os.path.join(folder, "hostile.txt")
    well_formed = hostile_file(source, frames)
    write_ini(folder, "serial", COM_INDEX)
    socat, tty_b = soak.start_pty_pair(folder)
    soak.start_program(folder)
    time.sleep(4)  # the port opens with the first tick
    echo = os.path.join(folder, "echo.txt")
    sim = soak.start_vorlsim(["serial", "--device", tty_b, "--count", str(frames), "--rate", "0",
                              "--file", source, "--terminator", "crlf"], echo)
    day = os.path.join(folder, "RESULT", day_name())
    soak.wait_settled(day, sim, 900)
    passed, figures = check_hostile(soak, day, well_formed)
    soak.kill_program()
    soak.stop(sim)
    soak.stop(socat)
    return passed, figures


# Scenarios 8: the central database.  The table must end holding the day
# file's lines, once each, in order, numbered from 1 without a gap.
DATABASE_SETTLE_S = 180


def database_rows(database):
    rows = database.query("SELECT sequence, line FROM quorbel_results WHERE station = 'soak' ORDER BY sequence")
    return [tuple(row.split(b"|", 1)) for row in rows or []]


def check_database(database, day):
    """Waits until the table has as many rows as the day file has lines (or
    no row came for a minute), then compares them."""
    stored, tail = read_lines(day)
    last, changed = -1, time.monotonic()
    while time.monotonic() - changed < 60:
        rows = database_rows(database)
        if len(rows) >= len(stored):
            break
        if len(rows) != last:
            last, changed = len(rows), time.monotonic()
        time.sleep(1)
    sequences = [int(sequence) for sequence, _ in rows]
    lines = [line for _, line in rows]
    figures = {"day file lines": len(stored), "rows": len(rows),
               "lines without a row": sum(1 for line in set(stored) - set(lines)),
               "rows doubled": len(lines) - len(set(lines)),
               "numbered 1 to N without a gap": "yes" if sequences == list(range(1, len(rows) + 1)) else
               "no: " + ", ".join(str(n) for n in sorted(set(range(1, max(sequences, default=0) + 1)) -
                                                     set(sequences))[:5]) + " missing",
               "rows in the day file's order": "yes" if lines == stored else "no"}
    passed = len(stored) > 0 and lines == stored and sequences == list(range(1, len(rows) + 1)) and not tail
    if not passed:
        figures["lines without a row, first"] = b", ".join(sorted(set(stored) - set(lines))[:3]).decode("latin-1")
        log = os.path.join(os.path.dirname(os.path.dirname(day)), "ErrLog")
        figures["error log"] = " | ".join(line.decode("latin-1") for name in sorted(os.listdir(log))
                                          for line in read_lines(os.path.join(log, name))[0]) \
            if os.path.isdir(log) else "none"
    return passed, figures


def database_stream(soak, name, frames, rate, database, during):
    """A stream into the day file and the database; `during` runs while it
    flows; then the table is compared with the day file."""
    folder, sim, echo = stream_tcp(soak, name, frames, rate, database=database)
    try:
        during()
        day = finish_stream(soak, folder, sim, echo, frames, frames / rate + DATABASE_SETTLE_S)
        return check_database(database, day)
    finally:
        soak.stop(sim)


def repeated(frames, rate, times, fault):
    """`fault`, `times` times, evenly over a stream."""
    def run():
        for _ in range(times):
            time.sleep(frames / rate / (times + 1))
            fault()
    return run


def with_database(name, up, scenario):
    """A server of the scenario's own, running or not at first, removed
    afterwards."""
    database = Database(name)
    database.start()
    if not up:
        database.stop()
    try:
        return scenario(database)
    finally:
        database.remove()


def scenario_database_restarts(soak, frames=3000, rate=100, restarts=10):
    def restart(database):
        database.stop("immediate")
        time.sleep(2)
        database.start()
    return with_database("soak-restarts", True, lambda database: database_stream(
        soak, "dbrestarts", frames, rate, database, repeated(frames, rate, restarts, lambda: restart(database))))


def scenario_database_late(soak, frames=1500, rate=20, down_s=60):
    return with_database("soak-late", False, lambda database: database_stream(
        soak, "dblate", frames, rate, database, lambda: (time.sleep(down_s), database.start())))


def scenario_database_sessions_killed(soak, frames=3000, rate=100, kills=10):
    def kill(database):
        database.query("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                       "WHERE datname = 'quorbel' AND pid <> pg_backend_pid()")
    return with_database("soak-sessions", True, lambda database: database_stream(
        soak, "dbsessions", frames, rate, database, repeated(frames, rate, kills, lambda: kill(database))))


def scenario_database_program_killed(soak, frames=1000, rate=100):
    """The server is down while the stream runs; the program is killed with
    every row in its outbox; the next start sends them."""
    def run(database):
        folder, sim, echo = stream_tcp(soak, "dboutbox", frames, rate, database=database)
        day = finish_stream(soak, folder, sim, echo, frames, frames / rate + 60)
        soak.kill_program()
        soak.stop(sim)
        database.start()
        soak.start_program(folder)
        return check_database(database, day)
    return with_database("soak-outbox", False, run)


class PrivateNetwork:
    """This process, and what it starts from now on, in a network namespace
    of its own with the loopback up, until the block ends.  Root only:
    `entered` says whether it could be made."""
    CLONE_NEWNET = 0x40000000

    def __enter__(self):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.home = os.open("/proc/thread-self/ns/net", os.O_RDONLY)
        self.entered = self.libc.unshare(self.CLONE_NEWNET) == 0
        try:
            if self.entered:
                self.loopback(True)
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *_):
        # Left in here, the scenarios after would run without a network.
        if self.entered and self.libc.setns(self.home, self.CLONE_NEWNET) != 0:
            raise SystemExit("cannot return to the machine's network: " + os.strerror(ctypes.get_errno()))
        os.close(self.home)

    @staticmethod
    def loopback(up):
        """Down, a connection over it goes silent: no reset, no answer."""
        subprocess.run(["ip", "link", "set", "lo", "up" if up else "down"], check=True, timeout=10)


def scenario_database_silent(soak, frames=4500, rate=50, before_s=15, silent_s=60, told_s=45):
    """The frames come over the serial port, so that only the database's
    connection goes over the loopback, which is taken down mid-stream: the
    program must tell the trouble within `told_s` (its own time-outs, not
    TCP's quarter of an hour), and the table end equal to the day file."""
    def run(database):
        folder = soak.folder("dbsilent")
        write_ini(folder, "serial", COM_INDEX, database=database)
        socat, tty_b = soak.start_pty_pair(folder)
        source = os.path.join(folder, "frames.txt")
        frame_file(source, "DBSILENT", frames)
        soak.start_program(folder)
        time.sleep(3)  # the link starts a second after the window opens
        sim = soak.start_vorlsim(["serial", "--device", tty_b, "--rate", str(rate), "--file", source,
                                  "--count", str(frames), "--terminator", "crlf"], os.path.join(folder, "echo.txt"))
        def troubles():
            return sum(1 for line in soak.list_lines() or [] if line.startswith(TROUBLE_NOTICE))
        try:
            time.sleep(before_s)
            before = troubles()
            PrivateNetwork.loopback(False)
            silent = time.monotonic()
            told = wait_until(lambda: troubles() > before, told_s, step=1, what=None)
            told_after = time.monotonic() - silent
            time.sleep(max(0, silent_s - told_after))
            PrivateNetwork.loopback(True)
            day = finish_stream(soak, folder, sim, None, frames, frames / rate + DATABASE_SETTLE_S)
            passed, figures = check_database(database, day)
        finally:
            PrivateNetwork.loopback(True)
            soak.kill_program()
            soak.stop(sim)
            soak.stop(socat)
        figures["trouble told after the loopback went down"] = f"{told_after:.0f} s" if told else \
            f"not within {told_s} s"
        return passed and told, figures
    with PrivateNetwork() as network:
        if not network.entered:
            return None, {"not run": "no network namespace of its own (root only)"}
        try:
            return with_database("soak-silent", True, run)
        finally:
            # A Wine server started in here would keep this namespace for
            # the scenarios after.
            soak.end_wine_server()


SCENARIOS = [
    ("throughput", "1. Frames at full speed over TCP", None),
    ("restarts", "2. vorlsim killed and restarted 20 times (Reconnect 1)", scenario_vorlsim_restarts),
    ("held", "3. Day file held open without sharing for 60 s", scenario_file_held),
    ("dirgone", "4a. Results directory gone for 15 s", scenario_directory_gone),
    ("drivefull", "4b. Results drive full for 15 s", scenario_drive_full),
    ("replug", "5. Serial adapter unplugged and plugged in again (Reconnect 1)", scenario_serial_replug),
    ("killed", "6. Program killed mid-stream", scenario_killed),
    ("hostiletcp", "7a. 10,000 hostile frames over TCP", scenario_hostile_tcp),
    ("hostileserial", "7b. 10,000 hostile frames over the serial port", scenario_hostile_serial),
    ("dbrestarts", "8a. Database server restarted 10 times mid-stream", scenario_database_restarts),
    ("dblate", "8b. Database server down at start, up a minute later", scenario_database_late),
    ("dbsessions", "8c. Database sessions killed on the server 10 times mid-stream",
     scenario_database_sessions_killed),
    ("dboutbox", "8d. Program killed with every line in its outbox", scenario_database_program_killed),
    ("dbsilent", "8e. Database connection gone silent for a minute (loopback down in a network namespace)",
     scenario_database_silent),
]


INTRODUCTION = """# Reliability under faults

Written by tools/soak/soak.py (`make soak`); every figure below comes from
a run of it, none is typed in.  The real Quorbel.exe (Windows build, Wine,
Xvfb) receives frames from the native vorlsim over loopback TCP or a socat
pseudo-terminal mapped as COM5, with store type 0, so that each stored line
is the frame itself and the day file can be compared line by line with what
vorlsim reports as written (`--echo`).  Every frame of a scenario is
unique.  "lost": sent, not in the file; "duplicated": in the file more than
once; "foreign": a line that is no frame that was sent (a half frame,
frames run together); "out of order": stored before a frame sent earlier.
A run of some scenarios (`--only`) replaces their sections and keeps the
others, each with the date of its own run.

The program takes every connection to begin with a frame: it drops the
unfinished frame an earlier connection left and cuts frames from the first
byte of the new one.  So a connection begins mid-frame when the sender picks
up again in the middle of a frame rather than at its start: a
serial-to-Ethernet gateway that reconnects while its instrument is sending
passes on the rest of the frame that was cut, and the program stores that
tail as a frame of its own (a foreign line in the terms above; the head of
the frame, on the connection that went, is dropped).  vorlsim begins every
connection with a whole frame, so no scenario below has such a line.
"""


def partial_notice(sections):
    """The lines that say, at the top of the doc, which of its scenarios did
    not run; empty when every one of them ran."""
    missing = []
    for section in sections.values():
        heading = section.split("\n", 1)[0]
        if not heading.endswith(": not run"):
            continue
        reasons = [row.split("|")[2].strip() for row in section.splitlines()
                   if row.startswith("| not run |")]
        title = heading[len("## "):-len(": not run")]
        missing.append(f"- {title}" + (f" ({reasons[0]})" if reasons else ""))
    if not missing:
        return ""
    return ("\n**PARTIAL: the scenarios below did not run, and nothing here says how the\n"
            "program fares in them.**\n\n" + "\n".join(missing) + "\n")


def doc_sections(text):
    """The sections of an earlier doc by their number ("1.", "4a.")."""
    sections = {}
    for part in text.split("\n## ")[1:]:
        sections[part.split()[0]] = "## " + part.rstrip() + "\n"
    return sections


def write_doc(path, command, started, load, results):
    try:
        sections = doc_sections(open(path).read())
    except FileNotFoundError:
        sections = {}
    for title, passed, figures in results:
        verdict = "not run" if passed is None else ("PASS" if passed else "FAIL")
        lines = [f"## {title}: {verdict}", "", f"Run of {started} on {os.cpu_count()} cores, "
                 f"load average {load}:", "", "    " + command, "", "| figure | value |", "|---|---|"]
        lines += [f"| {k} | {v} |" for k, v in figures.items()]
        sections[title.split()[0]] = "\n".join(lines) + "\n"
    order = [title.split()[0] for _, title, _ in SCENARIOS]
    keys = sorted(sections, key=lambda k: order.index(k) if k in order else len(order))
    with open(path, "w") as f:
        f.write(INTRODUCTION + partial_notice(sections) + "".join("\n" + sections[k] for k in keys))


def run_verdict(results, allow_partial):
    """The exit code of a run and what to print at its end.  A scenario that
    did not run fails the run unless a partial run is allowed; either way
    the run is called partial, loudly."""
    failed = any(passed is False for _, passed, _ in results)
    not_run = [(title, figures.get("not run", "")) for title, passed, figures in results
               if passed is None]
    message = []
    if not_run:
        rule = "!" * 72
        message = [rule, "PARTIAL RUN: these scenarios did not run:"]
        message += [f"    {title}" + (f": {reason}" if reason else "") for title, reason in not_run]
        message.append("allowed by --allow-partial" if allow_partial else
                       "this fails the run; --allow-partial accepts a partial run")
        message.append(rule)
    return (1 if failed or (not_run and not allow_partial) else 0), message


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--native", required=True)
    parser.add_argument("--win", required=True)
    parser.add_argument("--frames", type=int, default=1000000, help="frames of scenario 1")
    parser.add_argument("--seconds", type=int, default=0,
                        help="the most scenario 1 may take (0: until its frames are stored)")
    parser.add_argument("--only", default="", help="scenario names, comma separated")
    parser.add_argument("--doc", default="", help="the Markdown file to write")
    parser.add_argument("--display", default="", help="an X display to use instead of a new Xvfb")
    parser.add_argument("--prefix", default="", help="Wine prefix (default WIN/wineprefix)")
    parser.add_argument("--allow-partial", action="store_true",
                        help="a scenario that cannot run (not run) does not fail the run; "
                        "the run is reported as partial")
    args = parser.parse_args()
    chosen = [name for name, _, _ in SCENARIOS]
    if args.only:
        chosen = args.only.split(",")
        unknown = set(chosen) - {name for name, _, _ in SCENARIOS}
        if unknown:
            sys.exit(f"unknown scenarios: {', '.join(sorted(unknown))}")
    if "throughput" in chosen and args.frames < THROUGHPUT_MIN_FRAMES:
        sys.exit(f"--frames {args.frames} is too few for scenario 1 (throughput): its memory and "
                 f"list are sampled once the list is full ({LIST_LIMIT:,} frames) and again after "
                 f"as many more, {THROUGHPUT_TAIL:,} frames before the end: at least "
                 f"{THROUGHPUT_MIN_FRAMES:,} frames, or leave it out with --only")
    soak = Soak(args)
    started = datetime.datetime.utcnow().strftime("%Y-%m-%d %H:%M UTC")
    load_before = " ".join(open("/proc/loadavg").read().split()[:3])
    results = []
    try:
        soak.start_display(args.display)
        soak.prepare_prefix()
        for name, title, run in SCENARIOS:
            if name not in chosen:
                continue
            if name == "throughput":
                title = f"1. {args.frames:,} frames at full speed over TCP"
            print(f"--- {title}", flush=True)
            try:
                passed, figures = (scenario_throughput(soak, args.frames, args.seconds) if run is None
                                   else run(soak))
            except (Failure, subprocess.SubprocessError, OSError) as error:
                passed, figures = False, {"error": str(error)}
            finally:
                soak.kill_program()
            verdict = "not run" if passed is None else ("PASS" if passed else "FAIL")
            print(f"{verdict}: {title}", flush=True)
            for key, value in figures.items():
                print(f"    {key}: {value}", flush=True)
            results.append((title, passed, figures))
    finally:
        soak.stop_all()
        soak.end_wine_server()
    load = f"{load_before} before and {' '.join(open('/proc/loadavg').read().split()[:3])} after"
    if args.doc:
        command = "tools/soak/soak.py " + " ".join(sys.argv[1:])
        write_doc(args.doc, command, started, load, results)
    code, message = run_verdict(results, args.allow_partial)
    for line in message:
        print(line, flush=True)
    return code


if __name__ == "__main__":
    sys.exit(main())
