#!/usr/bin/env python3
"""A one-page report from process start: `vobreports run trbalance ... -o x.pdf` beside `vobreports keys`
(the process's start-up alone), for each build given, and the last build's `vobreports sql --statements`
(the bare read of the run's statements),
wall and CPU milliseconds, for each build given, the runs taking turns so that the machine's drift hits all
alike. Prints the median and best of N runs, the run's ratio to its read, and each build's run beside the
first build's. A build whose command takes --no-font-cache is also timed with it ("nocache": the run as it
is when fontconfig's answers are not remembered yet). Target: 15 ms wall for the run.
With --callgrind, also each build's instruction count (valgrind's callgrind, all threads), which the machine's
load does not move.

    bench/small_runs.py BUILD [OTHER_BUILD ...] [--runs N] [--callgrind]      (default 30 runs)"""
import argparse
import os
import re
import statistics
import subprocess
import tempfile
import time

PARAMS = ["--param", "1=04/01/2024", "--param", "2=06/30/2024", "--param", "3=202404", "--param", "4=202406"]


def timed(command):
    """Wall and CPU milliseconds of one run of command, its output discarded."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = (time.perf_counter() - start) * 1000
    if status != 0:
        raise RuntimeError(f"{' '.join(command)} failed")
    return wall, (usage.ru_utime + usage.ru_stime) * 1000


def instructions(command):
    """Instructions the command executes, all threads, by callgrind."""
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", *command],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    return int(re.search(r"refs:\s+([\d,]+)", result.stderr).group(1).replace(",", ""))


def takes_flag(program, flag):
    result = subprocess.run([program, "--help"], capture_output=True, text=True)
    return flag in result.stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("builds", nargs="+")
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--callgrind", action="store_true")
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vob-small-runs-") as folder:
        database = os.path.join(folder, "demo.sqlite")
        last = os.path.join(arguments.builds[-1], "vobreports")
        subprocess.run([last, "demo-db", database, "--date", "2024-06-30"], check=True, capture_output=True)
        log = os.path.join(folder, "statements.log")
        pdf = os.path.join(folder, "x.pdf")
        subprocess.run([last, "run", "trbalance", "--db", database, *PARAMS, "-o", pdf, "--log-sql", log],
                       check=True)
        ways = [("sql", "read", [last, "sql", "--db", database, "--statements", log])]
        for build in arguments.builds:
            program = os.path.join(build, "vobreports")
            ways += [(build, "run", [program, "run", "trbalance", "--db", database, *PARAMS, "-o", pdf]),
                     (build, "keys", [program, "keys"])]
            if takes_flag(program, "--no-font-cache"):
                ways.append((build, "nocache", [program, "--no-font-cache", "run", "trbalance", "--db", database,
                                                *PARAMS, "-o", pdf]))
        times = {(build, name): [] for build, name, _ in ways}
        for _ in range(arguments.runs + 1):  # the first round warms the caches and is dropped
            for build, name, command in ways:
                times[(build, name)].append(timed(command))
        print(f"{'build':<28} {'what':<7} {'wall median':>11} {'wall best':>9} {'cpu median':>10} {'cpu best':>8}")
        for (build, name), measured in times.items():
            walls = [wall for wall, _ in measured[1:]]
            cpus = [cpu for _, cpu in measured[1:]]
            print(f"{build[-28:]:<28} {name:<7} {statistics.median(walls):>11.1f} {min(walls):>9.1f} "
                  f"{statistics.median(cpus):>10.1f} {min(cpus):>8.1f}")

        def median(build, name, index):
            return statistics.median(measured[index] for measured in times[(build, name)][1:])

        read = median("sql", "read", 0)
        first = arguments.builds[0]
        for build in arguments.builds:
            run = median(build, "run", 0)
            print(f"{build[-28:]:<28} run/read wall {run / read:.2f}x; run {run:.1f} ms (target 15 ms); "
                  f"beside {first[-20:]}: wall {run / median(first, 'run', 0):.2f}x, "
                  f"cpu {median(build, 'run', 1) / median(first, 'run', 1):.2f}x")
        if arguments.callgrind:
            for build, name, command in ways:
                if build != "sql":
                    print(f"{build[-28:]:<28} {name:<7} {instructions(command) / 1e6:8.1f} M instructions")


if __name__ == "__main__":
    main()
