"""The table, the targets, the gross-regression check for CI, and the written report."""

import os
import platform
import statistics
import subprocess
import time


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
