#!/usr/bin/env python3
"""Cold start: Korvanta until its main window and its filled channel window are both on
screen, next to a minimal Qt widget program until its window is on screen, each started
and watched the same way (xdotool) in the same run, under the X server of $DISPLAY.

usage: bench_startup.py [--runs N] <korvanta data folder> <korvanta binary> <bench_minimal_qt>
Reports the medians in milliseconds and their ratio.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time


def visible_windows(pid):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                         capture_output=True, text=True).stdout.split()
    return len(out)


def start_time(args, cwd, windows, env):
    began = time.monotonic()
    process = subprocess.Popen(args, cwd=cwd, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while visible_windows(process.pid) < windows:
            if time.monotonic() - began > 30:
                raise RuntimeError("no window from %s" % args[0])
            time.sleep(0.005)
        return (time.monotonic() - began) * 1000
    finally:
        process.terminate()
        process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("data")
    parser.add_argument("korvanta")
    parser.add_argument("baseline")
    args = parser.parse_args()
    config = tempfile.mkdtemp(prefix="korvanta-bench-")
    env = dict(os.environ, XDG_CONFIG_HOME=config)
    env.pop("QT_QPA_PLATFORM", None)
    try:
        program, baseline = [], []
        for _ in range(args.runs):  # interleaved, so both see the same machine
            baseline.append(start_time([os.path.abspath(args.baseline)], None, 1, env))
            program.append(start_time([os.path.abspath(args.korvanta)], args.data, 2, env))
    finally:
        shutil.rmtree(config, ignore_errors=True)
    p, b = statistics.median(program), statistics.median(baseline)
    print("cold start, median of %d: Korvanta %.0f ms, minimal Qt program %.0f ms, ratio %.2f"
          % (args.runs, p, b, p / b))


if __name__ == "__main__":
    main()
