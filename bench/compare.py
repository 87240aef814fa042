#!/usr/bin/env python3
"""Prints the medians of one benchmark run on Linux and on Windows side by side.

    bench/compare.py LINUX_FOLDER WINDOWS_FOLDER

Each folder holds one Google Benchmark JSON report (--benchmark_out) per
benchmark program, named after it; a report missing on one side leaves that
side's column empty.
"""
import json
import pathlib
import re
import sys

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def medians(report):
    """Median real time in ms by benchmark name; a single run where there is no median."""
    found = {}
    for run in json.loads(report.read_text())["benchmarks"]:
        if run.get("error_occurred"):
            continue
        # The options that fix the runs are the same on both sides: the name alone.
        name = re.sub(r"/(iterations|repeats|manual_time|real_time)[^/]*", "", run["run_name"])
        ms = run["real_time"] * TO_MS[run["time_unit"]]
        if run["run_type"] == "aggregate" and run["aggregate_name"] == "median":
            found[name] = ms
        elif run["run_type"] == "iteration":
            found.setdefault(name, ms)
    return found


def main(linux, windows):
    rows = []
    for report in sorted(pathlib.Path(linux).glob("*.json")):
        other = pathlib.Path(windows) / report.name
        theirs = medians(other) if other.exists() else {}
        for name, ms in medians(report).items():
            rows.append((f"{report.stem} {name.removeprefix('BM_')}", ms, theirs.get(name)))
    width = max(len(row[0]) for row in rows)
    print(f"{'median, ms':<{width}} {'Linux':>10} {'Windows':>10} {'Windows/Linux':>14}")
    for name, ms, theirs in rows:
        other = f"{theirs:10.2f}" if theirs is not None else f"{'-':>10}"
        ratio = f"{theirs / ms:12.1f} x" if theirs is not None and ms > 0 else f"{'-':>14}"
        print(f"{name:<{width}} {ms:10.2f} {other} {ratio}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
