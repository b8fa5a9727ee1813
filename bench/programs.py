"""The measured programs: how each shows its window, starts a countdown and makes its request."""


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
