#!/usr/bin/env python3
"""Runs qlxw_bench once and prints each measured case against its baseline as a ratio.

Usage: bench/ratios.py [path/to/qlxw_bench] [extra benchmark flags...]
Cases pair by their arguments: BM_ProfileRead/1000/1 with BM_FileReadBaseline/1000/1 and so on;
BM_SectionSearchWorstCase at 2 MiB pairs with the same shape at 256 KiB.
"""
import json
import subprocess
import sys

PAIRS = [
    ("BM_ProfileRead", "BM_FileReadBaseline", 1.5),
    ("BM_ProfileReadCached", "BM_StatBaseline", 2.0),
    ("BM_ProfileWrite", "BM_FileCopyBaseline", 1.5),
    ("BM_LoadINIString_INIManager5", "BM_FileReadBaseline", None),
    ("BM_LoadINIString_INIManager", "BM_FileReadBaseline", None),
    ("BM_TracePointOff", "BM_EmptyLoopBaseline", None),
]

SCALED, SCALED_GOAL = "BM_SectionSearchWorstCase", 16.0


def main():
    binary = sys.argv[1] if len(sys.argv) > 1 else "build/bench/qlxw_bench"
    flags = sys.argv[2:] or ["--benchmark_repetitions=5", "--benchmark_min_time=0.2"]
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_report_aggregates_only=true", *flags],
                         check=True, capture_output=True, text=True).stdout
    medians = {}
    for run in json.loads(out)["benchmarks"]:
        if run.get("aggregate_name", "median") == "median":
            medians[run["run_name"]] = run["real_time"]
    print(f"{'case':40} {'time':>12} {'baseline':>12} {'ratio':>7}  goal")
    for measured, baseline, goal in PAIRS:
        for name, time in sorted(medians.items()):
            if name != measured and not name.startswith(measured + "/"):
                continue
            base_name = baseline + name[len(measured):]
            if base_name not in medians:
                continue
            ratio = time / medians[base_name]
            verdict = "" if goal is None else ("met" if ratio <= goal else f"missed (goal {goal})")
            print(f"{name:40} {time:12.1f} {medians[base_name]:12.1f} {ratio:7.2f}  {verdict}")
    # A search that is linear takes 8 times as long on a file 8 times as large; a quadratic one 64.
    for name, time in sorted(medians.items()):
        if name.startswith(SCALED + "/2097152/"):
            base_name = name.replace("/2097152/", "/262144/")
            if base_name in medians:
                ratio = time / medians[base_name]
                verdict = "met" if ratio <= SCALED_GOAL else f"missed (goal {SCALED_GOAL})"
                print(f"{name:40} {time:12.1f} {medians[base_name]:12.1f} {ratio:7.2f}  {verdict}")


if __name__ == "__main__":
    main()
