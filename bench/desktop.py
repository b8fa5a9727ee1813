"""The private desktop every measured program shares: Xvfb, openbox, a tray, session buses."""

import os
import shutil
import subprocess
import tempfile
import time

from processes import SYSTEM_BUS, WindowWatch



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
        """The environment of one launch: its own runtime directory and, if asked, its own session bus
        (Tarvo and the peer each allow one instance per bus)."""
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
