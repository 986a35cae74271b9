#!/usr/bin/env python3
"""Two tables of bench/all_reports.sh side by side by each run's least elapsed time (its last column), worst
ratio first: a PostgreSQL table against a SQLite one of the same scale. Target: every run at most 1.5 times.

    bench/compare_tables.py SQLITE_TABLE POSTGRES_TABLE"""
import statistics
import sys


def load(path):
    rows = {}
    with open(path) as table:
        for line in table:
            fields = line.split()
            if len(fields) == 8 and fields[4].endswith("x"):
                rows[fields[0]] = (fields[1], float(fields[7]))
    return rows


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    base, other = load(sys.argv[1]), load(sys.argv[2])
    ratios = sorted(((other[name][1] / base[name][1], name) for name in base if name in other), reverse=True)
    if not ratios:
        sys.exit("no run is in both tables")
    print(f"{'run':<22} {'pages':>6} {'sqlite_wall_s':>13} {'postgres_wall_s':>15} {'ratio':>7}")
    for ratio, name in ratios:
        print(f"{name:<22} {base[name][0]:>6} {base[name][1]:>13.3f} {other[name][1]:>15.3f} {ratio:>6.2f}x")
    print(f"runs: {len(ratios)}; largest {ratios[0][0]:.2f}x (target 1.5x); "
          f"median {statistics.median(ratio for ratio, _ in ratios):.2f}x; "
          f"above 1.5x: {sum(1 for ratio, _ in ratios if ratio > 1.5)}")


if __name__ == "__main__":
    main()
