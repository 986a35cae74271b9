#!/usr/bin/env python3
"""Every demo run of every report on PostgreSQL beside the same run on SQLite, the two taking turns run by run
so that the machine's load hits both alike (bench/all_reports.sh measures one database after the other). The
runs are those of bench/all_reports.sh: the examples of `vobreports params KEY`, again with the drill-down
example, and the `--second` examples, each written to a PDF. Prints each run's least wall milliseconds on
both and their ratio, worst first, then the median and largest ratios. Target: every run at most 1.5 times.
The last column and line set apart what connecting costs a process (libpq and its libraries loaded, the
server starting a backend): `vobreports sql "SELECT 1"` on both databases, and each run's PostgreSQL time
less that difference, over its SQLite time.

    bench/postgres_beside_sqlite.py SCALE URI [--build DIR] [--before DIR] [--runs N] [--load] [KEY ...]

URI is a PostgreSQL database holding the demo company of that scale (--load writes it first, with
`vobreports demo-db --postgres`); the SQLite company is made in a temporary folder. --before DIR adds the
PostgreSQL time of another build (the one before a change) as a third column, measured in the same turns.
KEY ... limits the runs to those reports."""
import argparse
import os
import statistics
import subprocess
import tempfile
import time

CLOCK = ["--now", "2024-06-30 17:00:00"]


def wall_ms(command):
    """Wall milliseconds of one run, its output discarded; raises when it fails."""
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = (time.perf_counter() - start) * 1000
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(command)} failed: {result.stderr.decode(errors='replace')}")
    return elapsed


def param_arguments(listing):
    """The --param arguments of a `vobreports params` listing, and its drill-down example (or None)."""
    arguments, drilldown = [], None
    for line in listing.splitlines():
        fields = line.split("\t")
        if len(fields) < 4 or not fields[0]:
            continue
        if fields[0] == "d":
            drilldown = fields[3]
        else:
            arguments += ["--param", f"{fields[0]}={fields[3]}"]
    return arguments, drilldown


def demo_runs(cli, only):
    """(name, run arguments) of every demo run, as bench/all_reports.sh names them."""
    output = lambda *args: subprocess.run([cli, *args], capture_output=True, text=True)
    runs = []
    for line in output("keys").stdout.splitlines():
        key = line.split("\t")[0]
        if only and key not in only:
            continue
        listing = output("params", key)
        if listing.returncode != 0:
            continue
        arguments, drilldown = param_arguments(listing.stdout)
        runs.append((key, [key, *arguments]))
        if drilldown:
            runs.append((f"{key}-{drilldown}", [key, *arguments, "--drilldown", drilldown]))
        if '"second_example"' in output("params", key, "--json").stdout:
            second, _ = param_arguments(output("params", key, "--second").stdout)
            runs.append((f"{key}-second", [key, *second]))
    return runs


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("scale")
    parser.add_argument("uri")
    parser.add_argument("keys", nargs="*")
    parser.add_argument("--build", default="build")
    parser.add_argument("--before")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--load", action="store_true")
    options = parser.parse_intermixed_args()
    cli = os.path.join(options.build, "vobreports")
    with tempfile.TemporaryDirectory() as work:
        sqlite = os.path.join(work, "demo.sqlite")
        subprocess.run([cli, "demo-db", sqlite, "--scale", options.scale, "--date", "2024-06-30"],
                       check=True, stdout=subprocess.DEVNULL)
        if options.load:
            subprocess.run([cli, "demo-db", "--postgres", options.uri, "--scale", options.scale, "--date",
                            "2024-06-30"], check=True, stdout=subprocess.DEVNULL)
        databases = [("sqlite", cli, sqlite), ("postgres", cli, options.uri)]
        if options.before:
            databases.append(("before", os.path.join(options.before, "vobreports"), options.uri))
        out = os.path.join(work, "out.pdf")
        print(f"scale {options.scale}, least wall of {options.runs} turns, {os.cpu_count()} cores, "
              f"{time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}")
        header = f"{'run':<22} {'sqlite_ms':>9} {'postgres_ms':>11} {'ratio':>7}"
        if options.before:
            header += f" {'before_ms':>9} {'before':>7}"
        rows = []
        for name, arguments in demo_runs(cli, set(options.keys)):
            best = {label: float("inf") for label, _, _ in databases}
            for turn in range(options.runs + 1):
                for label, binary, database in databases:
                    elapsed = wall_ms([binary, "run", *arguments, "--db", database, *CLOCK, "-o", out])
                    if turn > 0:  # the first turn warms the page cache and the server
                        best[label] = min(best[label], elapsed)
            rows.append((best["postgres"] / best["sqlite"], name, best))
        rows.sort(reverse=True)
        # What connecting to PostgreSQL adds to any process, whatever it runs: the same one-row statement on
        # both databases, in turns as the runs were.
        floor = {label: float("inf") for label in ("sqlite", "postgres")}
        for turn in range(options.runs * 3 + 1):
            for label, _, database in databases[:2]:
                elapsed = wall_ms([cli, "sql", "--db", database, "SELECT 1"])
                if turn > 0:
                    floor[label] = min(floor[label], elapsed)
        connection_ms = floor["postgres"] - floor["sqlite"]
        header += f" {'beyond':>7}"
        print(header)
        for ratio, name, best in rows:
            line = f"{name:<22} {best['sqlite']:>9.1f} {best['postgres']:>11.1f} {ratio:>6.2f}x"
            if options.before:
                line += f" {best['before']:>9.1f} {best['before'] / best['sqlite']:>6.2f}x"
            line += f" {(best['postgres'] - connection_ms) / best['sqlite']:>6.2f}x"
            print(line)
        ratios = [ratio for ratio, _, _ in rows]
        summary = (f"runs: {len(rows)}; largest {max(ratios):.2f}x (target 1.5x); "
                   f"median {statistics.median(ratios):.2f}x; above 1.5x: {sum(r > 1.5 for r in ratios)}")
        if options.before:
            before = [best["before"] / best["sqlite"] for _, _, best in rows]
            summary += (f"; before: largest {max(before):.2f}x, median {statistics.median(before):.2f}x, "
                        f"above 1.5x: {sum(r > 1.5 for r in before)}")
        print(summary)
        beyond = sorted((best["postgres"] - connection_ms) / best["sqlite"] for _, _, best in rows)
        print(f"connecting: `sql \"SELECT 1\"` {floor['postgres']:.1f} ms on PostgreSQL, {floor['sqlite']:.1f} ms on "
              f"SQLite: {connection_ms:.1f} ms a process spends connecting; beyond it (the beyond column): "
              f"largest {beyond[-1]:.2f}x, median {statistics.median(beyond):.2f}x")


if __name__ == "__main__":
    main()
