"""What the tools that run the real Quorbel.exe share (make run, the
benchmark, the soak scenarios): its Wine prefix and an X server, its
working folder and Quorbel.ini, the program's own process (found by its
working folder), vorlsim as the instrument and a pseudo-terminal pair as
its COM port.  Every process a Station starts is ended by stop_all.
"""
import datetime
import os
import shutil
import signal
import socket
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COM_INDEX = 4  # COM5: the prefix's device that start_pty_pair maps


class Failure(Exception):
    pass


def wait_until(done, seconds, step=0.1, what="condition"):
    """Polls `done` until it holds; raises Failure after `seconds` unless
    `what` is empty, then returns False."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if done():
            return True
        time.sleep(step)
    if what:
        raise Failure(f"timed out after {seconds} s waiting for {what}")
    return False


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def day_name():
    return datetime.date.today().strftime("%Y-%m-%d") + ".TXT"


def count_lines(path):
    try:
        with open(path, "rb") as f:
            return f.read().count(b"\r\n")
    except FileNotFoundError:
        return 0


def write_ini(folder, link, value, store_type=0, fields=(), directory="RESULT\\", reconnect=None,
              database=None):
    """Quorbel.ini for Ethernet TCP to 127.0.0.1 on port `value` (link
    "tcp") or for the COM port of index `value` (link "serial"), store
    type `store_type` with the fields of `fields` selected, no printing;
    with `database` (a Database) every result also goes there, as station
    "soak"."""
    lines = ["[Option]", "HideAtStart=0", "HideButton=0", f"StoreTxt={store_type}", "PrintOut=0",
             "Language=0", "[FieldsInUse]", *(f"Number_{field}=1" for field in fields),
             "[Store]", f"Directory={directory}", "FileExtCode=0", "OutputSeparator=1",
             "[Input]", "InputSeparatorInUse=1", "InputSeparator=1"]
    if link == "tcp":
        lines += ["UsbRs232=1", "[Ehernet]", f"ServerPort={value}", "IP=127.0.0.1"]
    else:
        lines += ["UsbRs232=0", f"ComPort={value}", "[Ehernet]"]
    if reconnect is not None:
        lines.append(f"Reconnect={reconnect}")
    if database:
        lines += ["[DataBase]", "Enabled=1", f"ConnectionString={database.connection()}", "Station=soak"]
    with open(os.path.join(folder, "Quorbel.ini"), "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


def ini_port(folder):
    """The server port an existing Quorbel.ini names; None without one."""
    try:
        with open(os.path.join(folder, "Quorbel.ini"), newline="") as f:
            for line in f:
                if line.startswith("ServerPort="):
                    return int(line.split("=", 1)[1].strip() or 0) or None
    except (OSError, ValueError):
        pass
    return None


def usable_display():
    display = os.environ.get("DISPLAY")
    return display if display and subprocess.run(
        ["xdpyinfo"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0 else None


class Database:
    """A PostgreSQL server of the tools' own (tools/postgres.sh), trusting
    this machine, in a folder of /tmp that its postgres user can reach."""

    def __init__(self, name):
        self.dir = f"/tmp/quorbel-{name}-{os.getpid()}"
        self.port = free_port()
        self.script = os.path.join(ROOT, "tools", "postgres.sh")

    def start(self):
        subprocess.run([self.script, "start", self.dir, str(self.port), "trust"], check=True, timeout=120,
                       stdout=subprocess.DEVNULL)

    def stop(self, mode="fast"):
        """"immediate" stops it as a crash or a power cut does."""
        subprocess.run([self.script, "stop", self.dir, mode], timeout=120, stdout=subprocess.DEVNULL)

    def remove(self):
        self.stop()
        shutil.rmtree(self.dir, ignore_errors=True)

    def connection(self):
        return (f"Driver={{PostgreSQL Unicode}};Server=127.0.0.1;Port={self.port};"
                "Database=quorbel;Uid=postgres;")

    def query(self, statement):
        """The rows of a query, unaligned: the columns of a row joined by '|'."""
        result = subprocess.run(["psql", "-X", "-q", "-A", "-t", "-h", "127.0.0.1", "-p", str(self.port),
                                 "-U", "postgres", "-d", "quorbel", "-c", statement],
                                capture_output=True, timeout=60)
        return result.stdout.split(b"\n")[:-1] if result.returncode == 0 else None


class Station:
    """Quorbel.exe of the Windows build in WIN (with its prefix, unless
    `prefix` names another) and vorlsim of the native build in NATIVE."""

    def __init__(self, native, win, work, prefix=None, probe=False):
        self.win = os.path.abspath(win)
        self.exe = os.path.join(self.win, "bin", "Quorbel.exe")
        self.vorlsim = os.path.join(os.path.abspath(native), "tools", "vorlsim", "vorlsim")
        self.probe_exe = os.path.join(self.win, "tools", "soak", "soak_probe.exe")
        self.prefix = os.path.abspath(prefix or os.path.join(self.win, "wineprefix"))
        self.work = work
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d")
        self.children = []
        self.program = None
        self.program_pid = None
        for path in (self.exe, self.vorlsim) + ((self.probe_exe,) if probe else ()):
            if not os.path.exists(path):
                raise SystemExit(f"missing {path}: build vorlsim natively and Quorbel in {self.win}")

    # Processes: every one started is ended by its pid.
    def start(self, command, **kwargs):
        kwargs.setdefault("stdin", subprocess.DEVNULL)
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        kwargs.setdefault("env", self.env)
        process = subprocess.Popen(command, **kwargs)
        self.children.append(process)
        return process

    def stop(self, process, sig=signal.SIGTERM):
        if process is None:
            return
        if process.poll() is None:
            os.kill(process.pid, sig)
        try:
            process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            os.kill(process.pid, signal.SIGKILL)
            process.wait(timeout=15)

    def stop_all(self):
        self.kill_program()
        for process in self.children:
            self.stop(process)
        link = os.path.join(self.prefix, "dosdevices", "com5")
        if os.path.islink(link):
            os.remove(link)

    # Wine and the display.
    def start_display(self, display=None):
        """The given display, or an Xvfb of this station's own."""
        if display:
            self.env["DISPLAY"] = display
            return
        number = next(n for n in range(91, 130) if not os.path.exists(f"/tmp/.X11-unix/X{n}")
                      and not os.path.exists(f"/tmp/.X{n}-lock"))
        self.start(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"])
        self.env["DISPLAY"] = f":{number}"
        wait_until(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), 10, what="Xvfb")

    def prepare_prefix(self):
        subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh")], env=self.env,
                       check=True, timeout=300)

    def end_wine_server(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wine_server_pid(self):
        """The Wine server of this prefix, which works in a folder named
        after the prefix's device and inode; None when none runs."""
        info = os.stat(self.prefix)
        name = f"server-{info.st_dev:x}-{info.st_ino:x}"
        for pid in pids():
            try:
                if os.path.basename(os.readlink(f"/proc/{pid}/cwd")) == name:
                    return pid
            except OSError:
                continue
        return None

    # The program.
    def folder(self, name):
        path = os.path.join(self.work, name)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(os.path.join(path, "RESULT"))
        return path

    def start_program(self, folder):
        self.program = self.start(["wine", self.exe], cwd=folder)

        def found():
            for pid in pids():
                try:
                    cmdline = open(f"/proc/{pid}/cmdline", "rb").read()
                    cwd = os.readlink(f"/proc/{pid}/cwd")
                except OSError:
                    continue
                if b"Quorbel.exe" in cmdline and cwd == folder:
                    self.program_pid = pid
                    return True
            return False
        wait_until(found, 30, what="Quorbel.exe to start")

    def program_alive(self):
        return self.program_pid is not None and os.path.exists(f"/proc/{self.program_pid}") and \
            open(f"/proc/{self.program_pid}/stat").read().split()[2] != "Z"

    def kill_program(self):
        if self.program_pid and self.program_alive():
            os.kill(self.program_pid, signal.SIGKILL)
        self.stop(self.program, signal.SIGKILL)
        self.program = self.program_pid = None

    def rss_kb(self):
        try:
            for line in open(f"/proc/{self.program_pid}/status"):
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        except OSError:
            pass
        return None

    def probe(self, *args, timeout=120):
        """The output lines of soak_probe.exe run with `args`."""
        result = subprocess.run(["wine", self.probe_exe, *args], env=self.env, timeout=timeout,
                                stdin=subprocess.DEVNULL, capture_output=True)
        return result.stdout.decode("latin-1").splitlines()

    # The instrument.
    def start_vorlsim(self, args, echo_path=None, ready=None):
        """vorlsim with `args`; with `echo_path` it writes every frame it
        has sent there, with `ready` this waits until it listens."""
        if ready:
            if os.path.exists(ready):
                os.remove(ready)
            args = args + ["--ready-file", ready]
        # A paced vorlsim (--rate above 0) flushes its echo after every
        # frame, so the echo of a vorlsim that is killed is complete.
        echo = ["--echo"] if echo_path else []
        process = self.start([self.vorlsim, *args, *echo],
                             stdout=open(echo_path, "wb") if echo_path else subprocess.DEVNULL)
        if ready:
            wait_until(lambda: os.path.exists(ready) and open(ready).read().strip(), 30,
                       what="vorlsim to listen")
        return process

    def start_pty_pair(self, folder):
        """Two joined pseudo-terminals, the first the prefix's COM5; the
        socat process and the path of the instrument's end."""
        a, b = os.path.join(folder, "ttyA"), os.path.join(folder, "ttyB")
        process = self.start(["socat", f"pty,raw,echo=0,link={a}", f"pty,raw,echo=0,link={b}"])
        wait_until(lambda: os.path.exists(a) and os.path.exists(b), 10, what="socat's terminals")
        # Under Wine a repeated even-parity set-up of a terminal fails
        # unless its modem-control flag is cleared first.
        subprocess.run(["stty", "-F", a, "-clocal"], check=True, timeout=10)
        link = os.path.join(self.prefix, "dosdevices", "com5")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(a, link)
        return process, b


def pids():
    return [int(pid) for pid in os.listdir("/proc") if pid.isdigit()]


def cpu_ticks(pid):
    """User and system time of the process so far, in clock ticks."""
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])
