#!/usr/bin/env python3
"""`make run`: Quorbel.exe under Wine receiving frames from vorlsim.

    run.py NATIVE_DIR WIN_DIR RUN_DIR [--database]

The working folder RUN_DIR gets a Quorbel.ini for Ethernet TCP to
127.0.0.1 on a free port (store type 1: each frame with its date),
unless it has one already (then vorlsim serves the port that file
names, if any).  Without a usable display the program runs on Xvfb and a
screenshot of its window is saved after a few frames.  Ctrl-C, or
closing the window, stops everything this script started.  With
--database a PostgreSQL server of its own (tools/postgres.sh) takes a copy
of every result: Quorbel.ini gets a [DataBase] section for it, and a psql
command that shows the rows arriving is printed.
"""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station import ROOT, Station, free_port, ini_port, usable_display, write_ini  # noqa: E402

# The demonstration server's folder: the postgres user must reach it.
DATABASE_DIR = f"/tmp/quorbel-run-database-{os.getuid()}"


def main():
    database = sys.argv[4:] == ["--database"]
    if len(sys.argv) != 4 and not database:
        sys.exit("usage: run.py NATIVE_DIR WIN_DIR RUN_DIR [--database]")
    run = os.path.abspath(sys.argv[3])
    os.makedirs(run, exist_ok=True)
    station = Station(sys.argv[1], sys.argv[2], run)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(130))
    try:
        port = instrument_port(run)
        if database:
            start_database(run)
        serve(station, run, port)
    except KeyboardInterrupt:
        pass
    finally:
        station.stop_all()
        if database:
            subprocess.run([os.path.join(ROOT, "tools", "postgres.sh"), "stop", DATABASE_DIR])
        station.end_wine_server()
        print(f"Stopped. Result files: {run}/RESULT/")


def start_database(run):
    """A local server that trusts connections from this machine, so that no
    password needs to be kept anywhere for the demonstration."""
    port = free_port()
    if subprocess.run([os.path.join(ROOT, "tools", "postgres.sh"), "start", DATABASE_DIR, str(port),
                       "trust"]).returncode != 0:
        sys.exit("the PostgreSQL server did not start")
    connection = (f"Driver={{PostgreSQL Unicode}};Server=127.0.0.1;Port={port};"
                  "Database=quorbel;Uid=postgres;")
    path = os.path.join(run, "Quorbel.ini")
    with open(path, newline="") as ini:
        lines = ini.read().splitlines()
    # A section from an earlier run names a server that is gone.
    kept, inside = [], False
    for line in lines:
        if line.startswith("["):
            inside = line.strip().lower() == "[database]"
        if not inside:
            kept.append(line)
    kept += ["[DataBase]", "Enabled=1", f"ConnectionString={connection}", "Station=make-run"]
    with open(path, "w", newline="") as ini:
        ini.write("".join(line + "\r\n" for line in kept))
    print("Every result also goes to PostgreSQL; see the rows arrive with:")
    print(f"    psql -h 127.0.0.1 -p {port} -U postgres -d quorbel "
          "-c 'SELECT sequence, line FROM quorbel_results ORDER BY sequence DESC LIMIT 10'")


def instrument_port(run):
    """The port of the instrument the folder's Quorbel.ini names, written
    first when there is none; None for a serial link."""
    if os.path.exists(os.path.join(run, "Quorbel.ini")):
        print(f"Using the existing {run}/Quorbel.ini")
        return ini_port(run)
    port = free_port()
    write_ini(run, "tcp", port, store_type=1)
    return port


def serve(station, run, port):
    if port:
        station.start_vorlsim(["tcp", "--port", str(port), "--count", "0", "--rate", "1",
                               "--separator", "semicolon"])
        print(f"vorlsim sends a frame every second on 127.0.0.1:{port}")
    display = usable_display()
    station.start_display(display)
    station.prepare_prefix()
    station.start_program(run)
    print(f"Quorbel.exe runs in {run} (display {station.env['DISPLAY']}); "
          f"result files go to {run}/RESULT/")
    if not display:
        time.sleep(8)
        shot = os.path.join(run, "screenshot.png")
        if subprocess.run(["import", "-window", "root", shot], env=station.env,
                          stderr=subprocess.DEVNULL).returncode == 0:
            print(f"Screenshot of the main window: {shot}")
    print("Close the window or press Ctrl-C to stop.")
    station.program.wait()


if __name__ == "__main__":
    main()
