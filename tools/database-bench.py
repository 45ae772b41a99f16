#!/usr/bin/env python3
"""Stations sending every result into one central PostgreSQL server: rows a
second, the delay from a row's arrival in its station's outbox to its
committed transaction (the server's commit time stamps), and rows lost or
doubled, for 1, 10 and 50 stations of 10 results a second each (the
native database_load_bench as the stations).  Beside the 50, the real
Quorbel.exe under Wine sends vorlsim's frames at 10 a second into the same
table; its rows are compared with its day file.  Writes the section
"## Central database" of docs/performance.md.

    database-bench.py --native NATIVE_BENCH_DIR --win WIN_DIR

DATABASE_BENCH_SECONDS (default 600: ten minutes) sets each run's length.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station import ROOT, Database, Station, day_name, write_ini  # noqa: E402

HEADING = "## Central database"
STATIONS = (1, 10, 50)
RATE = 10


def percentile(values, share):
    ordered = sorted(values)
    return ordered[max(0, -(-len(ordered) * share // 100) - 1)]


def delays_ms(database):
    rows = database.query("SELECT substr(frame, 6, 16), "
                          "(extract(epoch from pg_xact_commit_timestamp(xmin)) * 1000000)::bigint "
                          "FROM quorbel_results WHERE station LIKE 'bench-%'")
    return [(int(committed) - int(added)) / 1000 for added, committed in (row.split(b"|") for row in rows)]


def one_run(args, database, stations, seconds, exe=None):
    database.query("DROP TABLE IF EXISTS quorbel_results")
    bench = os.path.join(os.path.abspath(args.native), "tools", "bench", "database_load_bench")
    if exe:
        exe.start()
    output = subprocess.run([bench, database.connection(), str(stations), str(RATE), str(seconds)],
                            capture_output=True, timeout=seconds + 300, check=True).stdout.decode()
    figures = dict(line.split() for line in output.splitlines())
    counted = database.query("SELECT count(*), count(DISTINCT (station, frame)) FROM quorbel_results "
                             "WHERE station LIKE 'bench-%'")[0].split(b"|")
    delays = delays_ms(database)
    result = {"stations": stations, "added": int(figures["added"]), "rows": int(counted[0]),
              "distinct": int(counted[1]), "rate": int(counted[0]) / seconds,
              "median": statistics.median(delays), "p99": percentile(delays, 99), "max": max(delays)}
    if exe:
        result["exe"] = exe.finish()
    return result


class RealStation:
    """Quorbel.exe under Wine, vorlsim at 10 frames a second, into the same table."""

    def __init__(self, args, database, seconds):
        self.station = Station(args.native, args.win, os.path.join(os.path.abspath(args.win), "database-bench"))
        self.database, self.seconds = database, seconds

    def start(self):
        self.station.start_display()
        self.station.prepare_prefix()
        self.folder = self.station.folder("exe")
        ready = os.path.join(self.folder, "port")
        self.sim = self.station.start_vorlsim(["tcp", "--port", "0", "--clients", "1", "--count",
                                               str(RATE * self.seconds), "--rate", str(RATE),
                                               "--separator", "semicolon"], ready=ready)
        write_ini(self.folder, "tcp", open(ready).read().strip(), database=self.database)
        self.station.start_program(self.folder)

    def finish(self):
        day = os.path.join(self.folder, "RESULT", day_name())
        deadline = time.monotonic() + 120
        lines = []
        while time.monotonic() < deadline:
            lines = open(day, "rb").read().split(b"\r\n")[:-1] if os.path.exists(day) else []
            rows = self.database.query("SELECT line FROM quorbel_results WHERE station = 'soak' "
                                       "ORDER BY sequence") or []
            if len(lines) >= RATE * self.seconds and rows == lines:
                break
            time.sleep(1)
        self.station.stop_all()
        self.station.end_wine_server()
        return {"lines": len(lines), "rows": len(rows), "same": rows == lines}


def section(results, seconds, started, loads):
    table = "\n".join(
        f"| {r['stations']} | {r['added']:,} | {r['rows']:,} | {r['added'] - r['rows']} | "
        f"{r['rows'] - r['distinct']} | {r['rate']:,.0f} | {r['median']:.1f} / {r['p99']:.1f} / {r['max']:.1f} ms |"
        for r in results)
    exe = results[-1].get("exe", {})
    exe_line = (f"The real Quorbel.exe beside the 50: {exe.get('lines', 0):,} lines in its day file, "
                f"{exe.get('rows', 0):,} rows in the table, "
                f"{'the same, in order' if exe.get('same') else 'NOT the same'}.")
    return f"""{HEADING}

What it measures: stations sending every result to one PostgreSQL 15
server on this machine (a server of the run's own, tools/postgres.sh, with
commit time stamps on), each through Quorbel's own outbox and sender
(tools/bench/database_load_bench, native), at {RATE} results a second each, for
{seconds} s a run; the delay runs from a row's arrival in its station's outbox
to the commit of its transaction.  Lost: added to an outbox and not in the
table; doubled: in the table more than once.

How to run it: `make bench` (tools/run-benchmarks.sh calls
tools/database-bench.py; DATABASE_BENCH_SECONDS sets the length of a run,
600 by default, the ten minutes of a full check).

Run of {started} on {os.cpu_count()} cores, load average {loads[0]} before and {loads[1]} after.

| stations | rows added | rows in the table | lost | doubled | rows/s | delay median / p99 / max |
|---|---|---|---|---|---|---|
{table}

{exe_line}
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--native", required=True)
    parser.add_argument("--win", required=True)
    args = parser.parse_args()
    seconds = int(os.environ.get("DATABASE_BENCH_SECONDS", 600))
    os.environ["QUORBEL_PG_OPTIONS"] = "-c track_commit_timestamp=on -c max_connections=200"
    database = Database("database-bench")
    loads = [" ".join(open("/proc/loadavg").read().split()[:3])]
    started = time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())
    database.start()
    try:
        results = []
        for stations in STATIONS:
            print(f"database bench: {stations} station(s), {seconds} s", file=sys.stderr)
            exe = RealStation(args, database, seconds) if stations == STATIONS[-1] else None
            results.append(one_run(args, database, stations, seconds, exe))
    finally:
        database.remove()
    loads.append(" ".join(open("/proc/loadavg").read().split()[:3]))
    subprocess.run([os.path.join(ROOT, "tools", "doc-section.sh"), os.path.join(ROOT, "docs", "performance.md"),
                    HEADING], input=section(results, seconds, started, loads).encode(), check=True)


if __name__ == "__main__":
    main()
