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
import shutil
import sys

from desktop import Desktop
from measure import (Results, binary_sizes, collect_accuracy, measure_accuracy, measure_cpu,
                     measure_start_and_memory, schedule_accuracy)
from processes import SKIP
from programs import floor_program, peer_program, tarvo_program
from report import (gross_regressions, load_average, machine_description, table, update_readme,
                    wait_until_quiet, write_report)


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
