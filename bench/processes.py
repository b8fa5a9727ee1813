"""Started programs, the window probe's events, and what /proc tells of a process."""

import os
import re
import signal
import subprocess
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
