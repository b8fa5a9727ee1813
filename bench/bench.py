#!/usr/bin/env python3
"""Side-by-side benchmark of Tarvo, the floor (a bare Qt window of Tarvo's size) and a peer (KShutdown),
all on one private virtual X server with openbox and a tray.

Figures, each the median of the runs with min-max:
  (a) time from exec until the main window is mapped
  (b) peak RSS and PSS 5 s after exec
  (c) CPU time (user + sys) over a stretch of a running countdown, and wake-ups per second
  (d) end-time delay: when the request comes, against the countdown's start + N seconds, idle and
      with every core kept busy
  (e) binary size and shared libraries loaded

Full run (bench/run.sh): 10 runs, writes bench/results.md and the README's table.
Quick run (--quick, for CI): 3 runs, no peer, short stretches; fails only on gross regressions.

Nothing here reaches the real system bus: every program gets DBUS_SYSTEM_BUS_ADDRESS pointing at a
path that does not exist and Tarvo runs with TARVO_POWER=dry-run. The peer only ever gets its test
action ("Show Message (no shutdown)").
"""

import argparse
import datetime
import os
import platform
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

NS = 1_000_000_000
MS = 1_000_000
MIB = 1024 * 1024
SYSTEM_BUS = "unix:path=/nonexistent/tarvo-bench-system-bus"
SKIP = 77


def now_ns():
    return time.monotonic_ns()


def sleep_until(deadline_ns):
    left = deadline_ns - now_ns()
    if left > 0:
        time.sleep(left / NS)


# ---------------------------------------------------------------------------------------------------
# Processes and their output


class Launched:
    """A started program whose output lines are kept with their arrival times."""

    def __init__(self, argv, env, name):
        self.name = name
        self.lines = []  # (stream, ns, text)
        self._cond = threading.Condition()
        self.exec_ns = now_ns()
        self.popen = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                      stderr=subprocess.PIPE, start_new_session=True)
        self.pid = self.popen.pid
        self._readers = [threading.Thread(target=self._read, args=(stream, label), daemon=True)
                         for stream, label in ((self.popen.stdout, "stdout"), (self.popen.stderr, "stderr"))]
        for reader in self._readers:
            reader.start()

    def _read(self, stream, label):
        for raw in iter(stream.readline, b""):
            stamp = now_ns()
            with self._cond:
                self.lines.append((label, stamp, raw.decode("utf-8", "replace").rstrip("\n")))
                self._cond.notify_all()
        stream.close()

    def wait_line(self, stream, pattern, timeout_s):
        """The arrival time of the first line on stream matching pattern, or None."""
        regex = re.compile(pattern)
        deadline = time.monotonic() + timeout_s
        with self._cond:
            while True:
                for label, stamp, text in self.lines:
                    if label == stream and regex.search(text):
                        return stamp
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self._cond.wait(min(left, 0.5))

    def running(self):
        return self.popen.poll() is None

    def stop(self):
        if self.running():
            try:
                os.kill(self.pid, signal.SIGTERM)
                self.popen.wait(5)
            except subprocess.TimeoutExpired:
                os.kill(self.pid, signal.SIGKILL)
                self.popen.wait(5)
            except ProcessLookupError:
                pass
        for reader in self._readers:
            reader.join(5)

    def output(self):
        return "\n".join(f"[{label}] {text}" for label, _, text in self.lines)


class WindowWatch:
    """The window probe's reports: MAP and TITLE events per process."""

    def __init__(self, probe, env):
        self._cond = threading.Condition()
        self._events = []  # (kind, ns, pid, data)
        self.popen = subprocess.Popen([probe], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                      stdin=subprocess.DEVNULL, start_new_session=True)
        first = self.popen.stdout.readline().decode()
        if not first.startswith("READY"):
            raise RuntimeError("the window probe did not start")
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in iter(self.popen.stdout.readline, b""):
            parts = raw.decode("utf-8", "replace").rstrip("\n").split(" ", 4)
            if parts[0] == "MAP" and len(parts) >= 5:
                event = ("MAP", int(parts[1]), int(parts[2]), (int(parts[3]), int(parts[4].split()[0])))
            elif parts[0] == "TITLE" and len(parts) >= 4:
                event = ("TITLE", int(parts[1]), int(parts[2]), parts[4] if len(parts) == 5 else "")
            else:
                continue
            with self._cond:
                self._events.append(event)
                self._cond.notify_all()

    def wait(self, pid, kind, after_ns, timeout_s, accept=lambda data: True):
        """The time of the first event of this kind from pid after after_ns that accept() takes."""
        deadline = time.monotonic() + timeout_s
        with self._cond:
            while True:
                for event_kind, stamp, event_pid, data in self._events:
                    if event_kind == kind and event_pid == pid and stamp >= after_ns and accept(data):
                        return stamp
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self._cond.wait(min(left, 0.5))

    def forget(self, pids):
        with self._cond:
            self._events = [e for e in self._events if e[2] not in pids]

    def stop(self):
        self.popen.kill()
        self.popen.wait()


def main_window_mapped(data):
    width, height = data
    return width >= 100 and height >= 100


# ---------------------------------------------------------------------------------------------------
# /proc readings


def read_proc_status(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return fields


def kib_field(fields, key):
    return int(fields[key].split()[0]) * 1024


def memory(pid):
    """Peak RSS and PSS in bytes."""
    status = read_proc_status(pid)
    pss = 0
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            if line.startswith("Pss:"):
                pss = int(line.split()[1]) * 1024
    return kib_field(status, "VmHWM"), pss


def libraries(pid):
    libs = set()
    with open(f"/proc/{pid}/maps") as f:
        for line in f:
            path = line.split(maxsplit=5)[5].strip() if len(line.split(maxsplit=5)) == 6 else ""
            if re.search(r"\.so(\.|$)", os.path.basename(path)):
                libs.add(path)
    return libs


def thread_samples(pid):
    """Per thread: CPU time in ns (user + sys) and voluntary context switches, i.e. the times the
    thread went to sleep and was woken again."""
    samples = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                run_ns = int(f.read().split()[0])
            samples[tid] = (run_ns, int(read_proc_status(f"{pid}/task/{tid}")["voluntary_ctxt_switches"]))
        except (FileNotFoundError, ProcessLookupError, KeyError):
            pass  # a thread that ended in between
    return samples


def cpu_used(before, after):
    """CPU ns and wake-ups between two thread_samples. A thread that ended in between (Qt's pooled
    threads expire after 30 s idle) adds what it did until the first sample only, that is nothing;
    a new thread adds all it did."""
    run_ns = switches = 0
    for tid, (end_ns, end_switches) in after.items():
        start_ns, start_switches = before.get(tid, (0, 0))
        run_ns += end_ns - start_ns
        switches += end_switches - start_switches
    return run_ns, switches


# ---------------------------------------------------------------------------------------------------
# The desktop all programs share

BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={dir}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""

# Commands a power-management program might fall back to; they only say no.
BLOCKED_COMMANDS = ["shutdown", "poweroff", "reboot", "halt", "systemctl", "loginctl", "pm-suspend",
                    "pm-hibernate", "s2ram", "s2disk"]


class Desktop:
    """Xvfb, openbox, a tray (trayer), a session bus without activatable services, the window probe."""

    def __init__(self, probe):
        self.tmp = tempfile.mkdtemp(prefix="tarvo-bench.")
        self.helpers = []
        self.buses = []
        self.runtime_count = 0
        home = os.path.join(self.tmp, "home")
        os.makedirs(home)
        shims = os.path.join(self.tmp, "blocked-bin")
        os.makedirs(shims)
        for name in BLOCKED_COMMANDS:
            path = os.path.join(shims, name)
            with open(path, "w") as f:
                f.write("#!/bin/sh\necho \"bench: $0 is blocked\" >&2\nexit 1\n")
            os.chmod(path, 0o755)
        self.base_env = {
            "PATH": shims + ":" + os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_DATA_HOME": os.path.join(home, ".local/share"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "DBUS_SYSTEM_BUS_ADDRESS": SYSTEM_BUS,
            "TARVO_POWER": "dry-run",
        }
        try:
            self._start_display()
            self.bus = self.new_bus()
            self.base_env["DBUS_SESSION_BUS_ADDRESS"] = self.bus
            self._start_window_manager()
            self._start_helper(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                                "--width", "120", "--heighttype", "pixel", "--height", "32",
                                "--SetDockType", "true"], "trayer.log")
            # trayer's window is called "panel".
            self._wait(lambda: '"panel"' in self._x_output(["xwininfo", "-root", "-tree"]), 20, "the tray")
            self.watch = WindowWatch(probe, self.env())
        except BaseException:
            self.close()
            raise

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24", "-nolisten",
                                 "tcp", "-dpi", "96"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                                stderr=open(os.path.join(self.tmp, "xvfb.log"), "w"), start_new_session=True)
        self.helpers.append(xvfb)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.base_env["DISPLAY"] = ":" + number
        self._wait(lambda: subprocess.run(["xdpyinfo"], env=self.base_env, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL).returncode == 0, 20, "Xvfb")

    def _start_window_manager(self):
        def ready():
            return "window id" in self._x_output(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"])

        for attempt in range(3):
            self._start_helper(["openbox"], f"openbox.{attempt}.log")
            try:
                self._wait(ready, 10, "openbox")
                return
            except RuntimeError:
                # Seen rarely on a busy machine: openbox runs but never takes the screen. Try afresh.
                openbox = self.helpers.pop()
                openbox.kill()
                openbox.wait()
        self._wait(ready, 0, "openbox")

    def _x_output(self, argv):
        return subprocess.run(argv, env=self.base_env, capture_output=True, text=True).stdout

    def _wait(self, ready, timeout_s, what):
        deadline = time.monotonic() + timeout_s
        while not ready():
            if time.monotonic() > deadline:
                logs = "".join(f"\n--- {name}\n" + open(os.path.join(self.tmp, name)).read()[-2000:]
                               for name in sorted(os.listdir(self.tmp)) if name.endswith(".log"))
                raise RuntimeError(f"{what} did not come up{logs}")
            time.sleep(0.1)

    def _start_helper(self, argv, log):
        self.helpers.append(subprocess.Popen(argv, env=self.env(), stdout=subprocess.DEVNULL,
                                             stderr=open(os.path.join(self.tmp, log), "w"),
                                             start_new_session=True))

    def new_bus(self):
        """A private session bus with nothing to activate, so no program starts helpers behind our back."""
        directory = tempfile.mkdtemp(dir=self.tmp, prefix="bus.")
        config = os.path.join(directory, "bus.conf")
        with open(config, "w") as f:
            f.write(BUS_CONFIG.format(dir=directory))
        bus = subprocess.Popen(["dbus-daemon", "--config-file", config, "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
        self.buses.append(bus)
        address = bus.stdout.readline().decode().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        return address

    def env(self, private_bus=False):
        """The environment of one launch: its own runtime directory (Tarvo's single-instance lock
        lives there) and, if asked, its own session bus (the peer allows one instance per bus)."""
        env = dict(self.base_env)
        self.runtime_count += 1
        runtime = os.path.join(self.tmp, f"runtime.{self.runtime_count}")
        os.makedirs(runtime, mode=0o700)
        env["XDG_RUNTIME_DIR"] = runtime
        if private_bus:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.new_bus()
        assert env["DBUS_SYSTEM_BUS_ADDRESS"] == SYSTEM_BUS and env["TARVO_POWER"] == "dry-run"
        return env

    def close(self):
        if getattr(self, "watch", None):
            self.watch.stop()
        for process in reversed(self.helpers + self.buses):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


# ---------------------------------------------------------------------------------------------------
# The programs


class Program:
    def __init__(self, key, column, exe, window, countdown, start_marker, end_marker, restore=None):
        self.key = key
        self.column = column
        self.exe = exe
        self.window = window  # argv that shows the main window
        self.countdown = countdown  # seconds -> argv of a countdown of that length
        self.start_marker = start_marker  # seconds -> ("title" | "stderr", regex)
        self.end_marker = end_marker  # (stream, regex) of the (dry-run or test) request
        self.restore = restore  # argv that brings the window of a running countdown back, if it hides


def tarvo_program(exe):
    return Program(
        "tarvo", "Tarvo", exe,
        window=[exe],
        # A: shut down and power off; the dry run prints the request instead.
        countdown=lambda s: [exe, "A", f"M{s // 60}"],
        # Start writes the countdown's minutes into the title right after starting the timer.
        start_marker=lambda s: ("title", rf"^{s // 60} Minute\(n\)"),
        end_marker=("stdout", r"^tarvo: power request"),
        # A second start brings the running window back from the tray.
        restore=[exe])


def floor_program(exe):
    return Program(
        "floor", "Floor", exe,
        window=[exe],
        countdown=lambda s: [exe, "--countdown", str(s)],
        start_marker=lambda s: ("title", r"^Floor \d+$"),
        end_marker=("stdout", r"^floor: done"))


def peer_program(exe):
    return Program(
        "peer", "KShutdown", exe,
        window=[exe],
        # The test action only shows a message; the time is counted from now.
        countdown=lambda s: [exe, "--test", f"{s // 60}m"],
        start_marker=lambda s: ("stderr", r"MainWindow::setActive\(\s*true"),
        end_marker=("stderr", r"Action::slotFire\(\)"))


# ---------------------------------------------------------------------------------------------------
# Measurements


class Results:
    def __init__(self):
        self.values = {}  # (metric, program key) -> [values]
        self.failures = []
        self.notes = []
        self.spacing_s = 0.0  # between the accuracy runs' starts
        self.libs = {}

    def add(self, metric, key, value):
        self.values.setdefault((metric, key), []).append(value)

    def get(self, metric, key):
        return self.values.get((metric, key), [])


def launch_window(desktop, program, results, hold_s, record):
    env = desktop.env()
    run = Launched(program.window, env, program.key)
    try:
        mapped = desktop.watch.wait(run.pid, "MAP", run.exec_ns, 30, main_window_mapped)
        if mapped is None:
            results.failures.append(f"{program.column}: no window within 30 s\n{run.output()}")
            return
        # What the start-up cost in CPU; unlike the time, hardly touched by other work on the machine.
        start_cpu_ns = sum(run_ns for run_ns, _ in thread_samples(run.pid).values())
        sleep_until(run.exec_ns + int(hold_s * NS))
        if not run.running():
            results.failures.append(f"{program.column}: ended before {hold_s} s\n{run.output()}")
            return
        rss, pss = memory(run.pid)
        libs = libraries(run.pid)
        if record:
            results.add("start", program.key, (mapped - run.exec_ns) / MS)
            results.add("start_cpu", program.key, start_cpu_ns / MS)
            results.add("rss", program.key, rss / MIB)
            results.add("pss", program.key, pss / MIB)
            results.add("libs", program.key, len(libs))
            results.libs[program.key] = libs
    finally:
        run.stop()
        desktop.watch.forget({run.pid})


def measure_start_and_memory(desktop, programs, runs, warm_up, results, log):
    log(f"(a, b) start-up and memory: {runs} runs each" + (", one warm-up" if warm_up else ""))
    first = 0 if warm_up else 1
    for round_index in range(first, runs + 1):
        # Each round in another order, so that no program always follows the same one.
        shift = round_index % len(programs)
        for program in programs[shift:] + programs[:shift]:
            launch_window(desktop, program, results, 5.0, record=round_index > 0)
            # The X server, the window manager and the tray clear up after the program that ended;
            # the next start must not pay for that.
            time.sleep(1.0)
        log(f"  round {round_index}/{runs} done" if round_index else "  warm-up done")


def countdown_started(desktop, program, run, seconds, timeout_s):
    """When the countdown of run started, by its program's marker, or None."""
    kind, pattern = program.start_marker(seconds)
    if kind == "title":
        regex = re.compile(pattern)
        return desktop.watch.wait(run.pid, "TITLE", run.exec_ns, timeout_s, lambda title: bool(regex.search(title)))
    return run.wait_line(kind, pattern, timeout_s)


def start_countdown(desktop, program, seconds, results, restore=True, private_bus=False):
    """Starts a countdown of program; returns the launch once it runs (and its window is shown, if
    restore), or None."""
    env = desktop.env(private_bus)
    run = Launched(program.countdown(seconds), env, program.key)
    if countdown_started(desktop, program, run, seconds, 30) is None:
        results.failures.append(f"{program.column}: the countdown did not start\n{run.output()}")
        run.stop()
        return None
    if restore and program.restore:
        # Started from the command line, the countdown waits in the tray; bring the window back.
        asked = now_ns()
        helper = subprocess.run(program.restore, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=30)
        if helper.returncode != 0 or desktop.watch.wait(run.pid, "MAP", asked, 30, main_window_mapped) is None:
            results.failures.append(f"{program.column}: the countdown window did not come back "
                                    f"(second start ended with {helper.returncode})\n{run.output()}")
            run.stop()
            return None
    return run


def measure_cpu(desktop, programs, runs, seconds, results, log):
    """(c): each round starts every program's countdown (Tarvo twice: window shown and in the tray),
    lets them settle, then reads their CPU time and wake-ups over the same stretch."""
    log(f"(c) CPU and wake-ups over {seconds} s of a running countdown: {runs} rounds")
    for round_index in range(runs):
        launched = []
        try:
            for program in programs:
                run = start_countdown(desktop, program, 300, results, private_bus=True)
                if run:
                    launched.append((program.key, run))
                if program.restore:
                    tray = start_countdown(desktop, program, 300, results, restore=False, private_bus=True)
                    if tray:
                        launched.append((program.key + "_tray", tray))
            time.sleep(2)
            before = {key: thread_samples(run.pid) for key, run in launched}
            start = now_ns()
            time.sleep(seconds)
            elapsed_s = (now_ns() - start) / NS
            for key, run in launched:
                if not run.running():
                    results.failures.append(f"{key}: ended during the CPU stretch\n{run.output()}")
                    continue
                cpu_ns, switches = cpu_used(before[key], thread_samples(run.pid))
                results.add("cpu", key, cpu_ns / MS)
                results.add("wakeups", key, switches / elapsed_s)
        finally:
            for _, run in launched:
                run.stop()
                desktop.watch.forget({run.pid})
        log(f"  round {round_index + 1}/{runs} done")


class Busy:
    """Keeps every core busy for the loaded accuracy runs."""

    def __init__(self):
        self.loops = [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(os.cpu_count() or 1)]

    def stop(self):
        for loop in self.loops:
            loop.kill()
            loop.wait()


def schedule_accuracy(desktop, programs, runs, seconds, spacing_s, results):
    """Starts runs countdowns of each program, spaced out so that no start-up meets another's end.
    Returns the pending launches; collect_accuracy reads them once they are over."""
    pending = []
    begin = now_ns()
    slot = 0
    for _ in range(runs):
        for program in programs:
            sleep_until(begin + int(slot * spacing_s * NS))
            slot += 1
            env = desktop.env(private_bus=True)
            pending.append((program, Launched(program.countdown(seconds), env, program.key)))
    return pending


def collect_accuracy(desktop, pending, seconds, metric, results):
    for program, run in pending:
        try:
            stream, pattern = program.end_marker
            left_s = (run.exec_ns + (seconds + 30) * NS - now_ns()) / NS
            end = run.wait_line(stream, pattern, max(left_s, 1))
            start = countdown_started(desktop, program, run, seconds, 1)
            if end is None or start is None:
                results.failures.append(f"{program.column}: no {'request' if end is None else 'start marker'} "
                                        f"in the {metric} countdown\n{run.output()[-3000:]}")
                continue
            results.add(metric, program.key, (end - start - seconds * NS) / MS)
            results.add(metric + "_exec", program.key, (end - run.exec_ns - seconds * NS) / MS)
        finally:
            run.stop()
            desktop.watch.forget({run.pid})


def measure_accuracy(desktop, programs, runs, seconds, loaded, results, log):
    metric = "delay_loaded" if loaded else "delay_idle"
    spacing = 4.1 if len(programs) * runs * 4.1 < seconds else seconds / (len(programs) * runs + 1)
    log(f"(d) end-time delay, N = {seconds} s, {'all cores busy' if loaded else 'idle'}: "
        f"{runs} runs each, started {spacing:.1f} s apart")
    results.spacing_s = spacing
    busy = Busy() if loaded else None
    try:
        pending = schedule_accuracy(desktop, programs, runs, seconds, spacing, results)
        collect_accuracy(desktop, pending, seconds, metric, results)
    finally:
        if busy:
            busy.stop()


def binary_sizes(programs, results):
    for program in programs:
        real = os.path.realpath(program.exe)
        results.add("size", program.key, os.path.getsize(real) / 1024)
        stripped = None
        if shutil.which("strip"):
            with tempfile.TemporaryDirectory() as tmp:
                copy = os.path.join(tmp, "stripped")
                if subprocess.run(["strip", "-o", copy, real], capture_output=True).returncode == 0:
                    stripped = os.path.getsize(copy) / 1024
        if stripped is not None:
            results.add("size_stripped", program.key, stripped)


# ---------------------------------------------------------------------------------------------------
# The table


def spread(values, digits):
    if not values:
        return "–"
    median = statistics.median(values)
    if len(values) == 1 or min(values) == max(values):
        return f"{median:.{digits}f}"
    return f"{median:.{digits}f} ({min(values):.{digits}f}–{max(values):.{digits}f})"


def median(values):
    return statistics.median(values) if values else None


ROWS = [
    # metric, label, digits, unit
    ("start", "(a) exec → window mapped", 1, "ms"),
    ("start_cpu", "(a) CPU user+sys until mapped", 1, "ms"),
    ("rss", "(b) peak RSS after 5 s", 1, "MiB"),
    ("pss", "(b) PSS after 5 s", 1, "MiB"),
    ("cpu", "(c) CPU user+sys, countdown, window shown", 1, "ms"),
    ("wakeups", "(c) wake-ups/s, countdown, window shown", 2, "1/s"),
    ("cpu_tray", "(c) CPU user+sys, countdown, Tarvo in the tray", 1, "ms"),
    ("wakeups_tray", "(c) wake-ups/s, countdown, Tarvo in the tray", 2, "1/s"),
    ("delay_idle", "(d) request after start + N, idle", 1, "ms"),
    ("delay_loaded", "(d) request after start + N, cores busy", 1, "ms"),
    ("delay_idle_exec", "(d) request after exec + N, idle", 1, "ms"),
    ("delay_loaded_exec", "(d) request after exec + N, cores busy", 1, "ms"),
    ("size", "(e) binary size", 0, "KiB"),
    ("size_stripped", "(e) binary size, stripped", 0, "KiB"),
    ("libs", "(e) shared libraries loaded", 0, ""),
]


def ratio(a, b):
    if a is None or b is None or b == 0:
        return "–"
    return f"{a / b:.2f}"


def table(results, programs, quick):
    keys = [p.key for p in programs]
    columns = [p.column for p in programs]
    has_peer = "peer" in keys
    head = ["Figure", "Unit"] + columns + ["Tarvo/floor"] + (["Tarvo/peer"] if has_peer else []) + ["Target", "Met"]
    lines = ["| " + " | ".join(head) + " |", "|" + "|".join("---" for _ in head) + "|"]
    for metric, label, digits, unit in ROWS:
        tray = metric.endswith("_tray")
        base = metric[: -len("_tray")] if tray else metric
        if not any(results.get(metric if not tray else base, k) for k in keys) and not results.get(metric, "tarvo_tray"):
            continue
        cells = []
        for key in keys:
            if tray:
                cells.append(spread(results.get(base, "tarvo_tray"), digits) if key == "tarvo"
                             else spread(results.get(base, key), digits))
            else:
                cells.append(spread(results.get(metric, key), digits))
        tarvo = median(results.get(base, "tarvo_tray") if tray else results.get(metric, "tarvo"))
        # Delays around zero, of either sign, make no sense as ratios.
        signed = metric in ("delay_idle", "delay_loaded")
        row = [label, unit] + cells + ["–" if signed else ratio(tarvo, median(results.get(base, "floor")))]
        if has_peer:
            row.append("–" if signed else ratio(tarvo, median(results.get(base, "peer"))))
        target, met = target_check_row(metric, base, tray, results)
        row += [target, "" if met is None else ("yes" if met else "**no**")]
        lines.append("| " + " | ".join(row) + " |")
    return "\n".join(lines)


def target_check_row(metric, base, tray, results):
    tarvo_values = results.get(base, "tarvo_tray") if tray else results.get(metric, "tarvo")
    if not tarvo_values:
        return "", None
    tarvo = median(tarvo_values)
    floor = median(results.get(base, "floor"))
    peer = median(results.get(base, "peer"))
    if base == "start":
        return "≤ 1.3 × floor and < peer", floor is not None and tarvo <= 1.3 * floor and (peer is None or tarvo < peer)
    if base == "rss":
        return "≤ floor + 8 MiB", floor is not None and tarvo <= floor + 8
    if base in ("cpu", "wakeups"):
        return "≤ floor", floor is not None and tarvo <= floor
    if base in ("delay_idle", "delay_loaded"):
        return "within 50 ms, every run", max(abs(v) for v in tarvo_values) <= 50
    return "", None


# Gross regressions that fail the quick run; far enough from the targets that noise never trips them.
def gross_regressions(results):
    problems = []

    def m(metric, key):
        return median(results.get(metric, key))

    # The fastest start of each: other work on the machine only ever adds to the time.
    starts, floor_starts = results.get("start", "tarvo"), results.get("start", "floor")
    if starts and floor_starts and min(starts) > 3 * min(floor_starts):
        problems.append(f"start-up {min(starts):.0f} ms > 3 × the floor's {min(floor_starts):.0f} ms (fastest runs)")
    rss, floor_rss = m("rss", "tarvo"), m("rss", "floor")
    if rss is not None and floor_rss and rss > floor_rss + 32:
        problems.append(f"peak RSS {rss:.1f} MiB > the floor's {floor_rss:.1f} MiB + 32 MiB")
    for key in ("tarvo", "tarvo_tray"):
        cpu, floor_cpu = m("cpu", key), m("cpu", "floor")
        if cpu is not None and floor_cpu is not None and cpu > 10 * floor_cpu + 20:
            problems.append(f"CPU ({key}) {cpu:.1f} ms > 10 × the floor's {floor_cpu:.1f} ms + 20 ms")
        wakeups, floor_wakeups = m("wakeups", key), m("wakeups", "floor")
        if wakeups is not None and floor_wakeups is not None and wakeups > 10 * floor_wakeups + 5:
            problems.append(f"wake-ups ({key}) {wakeups:.1f}/s > 10 × the floor's {floor_wakeups:.1f}/s + 5")
    for metric in ("delay_idle", "delay_loaded"):
        for value in results.get(metric, "tarvo"):
            if abs(value) > 1000:
                problems.append(f"the request came {value:.0f} ms off start + N")
    return problems


# ---------------------------------------------------------------------------------------------------
# Machine and report


def machine_description():
    cpu = platform.processor() or "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    memory_gib = os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 1024 ** 3
    system = platform.system() + " " + platform.release()
    try:
        with open("/etc/os-release") as f:
            pretty = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line).get("PRETTY_NAME", "")
            system = pretty.strip('"') + ", " + system
    except OSError:
        pass

    def package_version(name):
        out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", name], capture_output=True, text=True)
        return out.stdout.strip() if out.returncode == 0 else "?"

    return (f"{cpu}, {os.cpu_count()} cores, {memory_gib:.1f} GiB RAM; {system}; "
            f"Qt {package_version('libqt6core6')}, KShutdown {package_version('kshutdown')}")


def load_average():
    with open("/proc/loadavg") as f:
        return f.read().split()[0:3]


def wait_until_quiet(limit_s, threshold, log):
    """Waits until the 1-minute load has stayed below threshold for three readings 30 s apart."""
    deadline = time.monotonic() + limit_s
    quiet = 0
    while time.monotonic() < deadline:
        load = float(load_average()[0])
        quiet = quiet + 1 if load < threshold else 0
        log(f"  load {load:.2f} ({quiet}/3 quiet readings)")
        if quiet >= 3:
            return True
        time.sleep(30)
    return False


def write_report(path, results, programs, args, machine, loads, quiet, started, table_text):
    lines = [
        "# Tarvo benchmark",
        "",
        f"Taken {started:%Y-%m-%d %H:%M} (local time) with `bench/run.sh` on {machine}.",
        f"Load average (1, 5, 15 min) at the start {' '.join(loads[0])}, at the end {' '.join(loads[1])}"
        + ("." if quiet else "; the machine never became quiet (1-minute load below 0.3), so these "
           "figures carry the noise of other work."),
        "",
        f"Each figure is the median of {args.runs} runs with min–max in brackets; ratios are of medians. "
        f"CPU and wake-ups are over {args.cpu_seconds} s; N = {args.accuracy_seconds} s.",
        "",
        table_text,
        "",
        "## How each figure is taken",
        "",
        "All programs run on one Xvfb (1280×800, 96 dpi) with openbox and an XEmbed tray (trayer), a private "
        "session bus without activatable services, `DBUS_SYSTEM_BUS_ADDRESS` pointing at a path that does "
        "not exist and `TARVO_POWER=dry-run`.",
        "",
        "- **Tarvo** is the Release build; the window figures start it without options (the compact window), "
        "the countdown figures with `A M5` (window brought back from the tray by a second start, and left in "
        "the tray for the tray row) and `A M2` for N = 120.",
        "- **Floor** is `bench/floor/floor.cpp`: as many widgets of each kind as Tarvo's main window "
        "(checked by `tst_floor_census`), a frameless 367×185 window, a tray icon and a 1000-ms precise "
        "timer that rewrites a label and the title each tick; `--countdown N` ends after N ticks.",
        "- **KShutdown** (Debian package) runs its test action, \"Show Message (no shutdown)\": "
        "`kshutdown --test 5m` for CPU, `--test 2m` for N = 120. Its window is shown with the countdown in "
        "its title, its tray icon in the tray. It never gets a real action.",
        "- (a) from the moment before `exec` until the X server reports the main window (≥ 100×100) mapped "
        "(`bench/window_watch.cpp` listens to the root window); one warm-up start of each is not counted.",
        "- (b) `VmHWM` (peak RSS) and `Pss` from `smaps_rollup`, 5 s after exec, of the program's own process.",
        "- (c) the threads' run time from `/proc/PID/task/*/schedstat` (user + sys, ns resolution) and their "
        "voluntary context switches (each one a sleep and a wake-up), over the stretch, with the three "
        "programs' countdowns running side by side.",
        "- (d) the request's moment is the arrival of `tarvo: power request 8 (PowerOff)` (Tarvo), `floor: "
        "done` (floor) or the peer's `Action::slotFire()` debug line on its output. The countdown's start is "
        "the title Start writes (`2 Minute(n) ...`), the floor's first `Floor 120` title, and the peer's "
        "`MainWindow::setActive( true )` line; the exec rows count from exec instead and so include the "
        f"start-up. Countdowns start {results.spacing_s:.1f} s apart, each with its own session bus, so all "
        "have started before the first ends and no start-up meets another program's end; cores busy means "
        "one `while True: pass` per core for the whole stretch.",
        "- (e) the file size of the executable, and the same after `strip`; shared objects mapped at 5 s.",
    ]
    if results.libs.get("tarvo") and results.libs.get("floor"):
        extra = sorted(os.path.basename(p) for p in results.libs["tarvo"] - results.libs["floor"])
        lines += ["", "Libraries Tarvo maps beyond the floor's: " + (", ".join(f"`{e}`" for e in extra) or "none") + "."]
    if results.notes:
        lines += ["", "## Notes", ""] + [f"- {note}" for note in results.notes]
    if results.failures:
        lines += ["", "## Failed runs", ""] + [f"- {failure.splitlines()[0]}" for failure in results.failures]
    # The analysis is written by hand; a new run keeps it (and its date says which run it read).
    begin, end = "<!-- analysis:begin -->", "<!-- analysis:end -->"
    try:
        with open(path) as f:
            old = f.read()
        if begin in old and end in old:
            lines += ["", begin + old.split(begin, 1)[1].split(end, 1)[0] + end]
    except FileNotFoundError:
        pass
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def update_readme(readme, table_text, started):
    begin, end = "<!-- bench:begin -->", "<!-- bench:end -->"
    with open(readme) as f:
        text = f.read()
    if begin not in text or end not in text:
        return False
    head, rest = text.split(begin, 1)
    _, tail = rest.split(end, 1)
    block = f"{begin}\nFigures of {started:%Y-%m-%d} (bench/results.md has the machine and the method):\n\n{table_text}\n{end}"
    with open(readme, "w") as f:
        f.write(head + block + tail)
    return True


# ---------------------------------------------------------------------------------------------------


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tarvo", required=True)
    parser.add_argument("--floor", required=True)
    parser.add_argument("--watch", required=True, help="the window probe (bench_window_watch)")
    parser.add_argument("--peer", default=shutil.which("kshutdown"), help="KShutdown's binary")
    parser.add_argument("--no-peer", action="store_true")
    parser.add_argument("--quick", action="store_true", help="3 runs, no peer, short stretches, gross checks")
    parser.add_argument("--runs", type=int)
    parser.add_argument("--cpu-seconds", type=int)
    parser.add_argument("--accuracy-seconds", type=int)
    parser.add_argument("--wait-quiet", type=int, default=0, metavar="MINUTES",
                        help="first wait up to this long for the 1-minute load to fall below 0.3")
    parser.add_argument("--results", default=os.path.join(here, "results.md"))
    parser.add_argument("--readme", default=os.path.join(os.path.dirname(here), "README.md"))
    args = parser.parse_args()
    args.runs = args.runs or (3 if args.quick else 10)
    args.cpu_seconds = args.cpu_seconds or (5 if args.quick else 60)
    # Tarvo counts in whole minutes; one minute is its shortest countdown.
    args.accuracy_seconds = args.accuracy_seconds or (60 if args.quick else 120)
    if args.accuracy_seconds % 60:
        parser.error("--accuracy-seconds must be whole minutes")

    def log(text):
        print(text, file=sys.stderr, flush=True)

    for tool in ("Xvfb", "openbox", "trayer", "xdpyinfo", "xprop", "xwininfo", "dbus-daemon"):
        if not shutil.which(tool):
            log(f"SKIP: {tool} is not installed (scripts/install-deps.sh test)")
            return SKIP

    programs = [tarvo_program(os.path.abspath(args.tarvo)), floor_program(os.path.abspath(args.floor))]
    results = Results()
    if not args.quick and not args.no_peer:
        if args.peer and os.path.exists(args.peer):
            programs.append(peer_program(args.peer))
        else:
            results.notes.append("KShutdown is not installed (`apt-get install kshutdown`): no peer column.")

    quiet = True
    if args.wait_quiet:
        log(f"waiting up to {args.wait_quiet} min for a quiet machine")
        quiet = wait_until_quiet(args.wait_quiet * 60, 0.3, log)
    started = datetime.datetime.now()
    loads = [load_average()]
    machine = machine_description()
    log(f"{machine}\nload {' '.join(loads[0])}")

    desktop = Desktop(os.path.abspath(args.watch))
    try:
        background = []
        if args.quick:
            # The shortest countdown Tarvo knows lasts a minute: it runs while the rest is measured.
            background = schedule_accuracy(desktop, programs, 1, args.accuracy_seconds, 0.5, results)
        binary_sizes(programs, results)
        measure_start_and_memory(desktop, programs, args.runs, not args.quick, results, log)
        measure_cpu(desktop, programs, args.runs, args.cpu_seconds, results, log)
        if args.quick:
            log(f"(d) end-time delay, N = {args.accuracy_seconds} s, while the rest ran")
            collect_accuracy(desktop, background, args.accuracy_seconds, "delay_loaded", results)
        else:
            measure_accuracy(desktop, programs, args.runs, args.accuracy_seconds, False, results, log)
            measure_accuracy(desktop, programs, args.runs, args.accuracy_seconds, True, results, log)
    finally:
        desktop.close()
    loads.append(load_average())

    table_text = table(results, programs, args.quick)
    print(table_text)
    for failure in results.failures:
        log("FAILED RUN: " + failure)
    if args.quick:
        problems = gross_regressions(results)
        # A single failed run may be the machine's doing; a figure with no run at all is Tarvo's.
        for metric, key in (("start", "tarvo"), ("rss", "tarvo"), ("cpu", "tarvo"), ("cpu", "tarvo_tray"),
                            ("delay_loaded", "tarvo")):
            if not results.get(metric, key):
                problems.append(f"no figure for {metric} ({key}): every run failed")
        for problem in problems:
            log("GROSS REGRESSION: " + problem)
        return 1 if problems else 0
    write_report(args.results, results, programs, args, machine, loads, quiet, started, table_text)
    log(f"written to {args.results}")
    if update_readme(args.readme, table_text, started):
        log(f"table quoted in {args.readme}")
    return 1 if results.failures else 0


if __name__ == "__main__":
    sys.exit(main())
