#!/usr/bin/env python3
"""`make run`: Quorbel.exe under Wine receiving frames from vorlsim.

    run.py NATIVE_DIR WIN_DIR RUN_DIR

The working folder RUN_DIR gets a Quorbel.ini for Ethernet TCP to
127.0.0.1 on a free port (store type 1: each frame with its date),
unless it has one already (then vorlsim serves the port that file
names, if any).  Without a usable display the program runs on Xvfb and a
screenshot of its window is saved after a few frames.  Ctrl-C, or
closing the window, stops everything this script started.
"""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station import Station, free_port, ini_port, usable_display, write_ini  # noqa: E402


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: run.py NATIVE_DIR WIN_DIR RUN_DIR")
    run = os.path.abspath(sys.argv[3])
    os.makedirs(run, exist_ok=True)
    station = Station(sys.argv[1], sys.argv[2], run)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(130))
    try:
        serve(station, run)
    except KeyboardInterrupt:
        pass
    finally:
        station.stop_all()
        station.end_wine_server()
        print(f"Stopped. Result files: {run}/RESULT/")


def serve(station, run):
    if os.path.exists(os.path.join(run, "Quorbel.ini")):
        print(f"Using the existing {run}/Quorbel.ini")
        port = ini_port(run)
    else:
        port = free_port()
        write_ini(run, "tcp", port, store_type=1)
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
