#!/usr/bin/env python3
"""Runs ledgerly_bench on the plain and on the sealed book in turn and prints
the median of all repetitions of each benchmark on both, with their ratio.

    bench/compare_sealed.py build/release/bin/ledgerly_bench [--processes 3]
        [--repetitions 3] [--filter REGEX]

The processes alternate (plain, sealed, plain, ...), so a slow phase of the
machine falls on both sides. Benchmarks that do not read the book the
environment picks (the raw sqlite3 floors, the sign-in and sealing ones) are
the same in both columns; the column "both" gives their median over all
processes.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

DEFAULT_FILTER = ("^BM_(Search_1Year|Search_10Years|Find_Window|FindRecords_Word|"
                  "ReadPeriod_1Year|ReadPeriod_10Years|RawQueryPeriod_1Year|"
                  "RawQueryPeriod_10Years|RawScan_1Year|RawScan_10Years|SealBook_200k|"
                  "SignIn_Plain|SignIn_Sealed)(/|$)")


def run(binary, sealed, bench_filter, repetitions):
    env = dict(os.environ)
    env.pop("LEDGERLY_BENCH_SEALED", None)
    if sealed:
        env["LEDGERLY_BENCH_SEALED"] = "1"
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        done = subprocess.run([binary, "--benchmark_filter=" + bench_filter,
                               "--benchmark_repetitions=%d" % repetitions,
                               "--benchmark_out=" + out.name, "--benchmark_out_format=json"],
                              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              cwd=os.path.dirname(binary))
        if done.returncode != 0:
            sys.exit("%s failed:\n%s" % (binary, done.stderr.decode(errors="replace")))
        report = json.load(open(out.name))
    times = {}
    for b in report["benchmarks"]:
        if b.get("run_type") == "iteration" and "error_occurred" not in b:
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
            times.setdefault(b["run_name"], []).append(b["real_time"] * scale)
    return times


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("--processes", type=int, default=3)
    parser.add_argument("--repetitions", type=int, default=3)
    parser.add_argument("--filter", default=DEFAULT_FILTER)
    args = parser.parse_args()
    args.binary = os.path.abspath(args.binary)
    runs = {False: {}, True: {}}
    order = []
    for process in range(args.processes):
        for sealed in (False, True):
            for name, times in run(args.binary, sealed, args.filter, args.repetitions).items():
                runs[sealed].setdefault(name, []).extend(times)
                if name not in order:
                    order.append(name)
            print("process %d %s done" % (process + 1, "sealed" if sealed else "plain"),
                  file=sys.stderr)
    print("| Benchmark | plain (ms) | sealed (ms) | sealed / plain | both (ms) | runs |")
    print("|---|---|---|---|---|---|")
    for name in order:
        plain = statistics.median(runs[False][name])
        sealed = statistics.median(runs[True][name])
        both = statistics.median(runs[False][name] + runs[True][name])
        print("| %s | %.1f | %.1f | %.2f | %.1f | %d + %d |" % (
            name, plain, sealed, sealed / plain, both, len(runs[False][name]),
            len(runs[True][name])))


if __name__ == "__main__":
    main()
