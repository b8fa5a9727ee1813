"""The measurements (a)-(e), each over several runs of every program."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from processes import (MIB, MS, NS, Launched, cpu_used, libraries, main_window_mapped, memory, now_ns, sleep_until,
                       thread_samples)




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
