#!/usr/bin/env python3
"""Cold start: Korvanta until its main window and its filled channel window are both on
screen, next to a minimal Qt widget program until its window is on screen, each started
and watched the same way in the same run.

X11 (default): under the X server of $DISPLAY; a window counts once xdotool sees it visible.
Wayland (--wayland): under a headless compositor the script starts and ends; a window counts
once its top-level surface has been committed with a buffer, as the client's own protocol
log (WAYLAND_DEBUG=client) reports it. xdotool cannot see Wayland windows.

usage: bench_startup.py [--runs N] [--wayland] <korvanta data folder> <korvanta binary> <bench_minimal_qt>
Reports the medians in milliseconds and their ratio.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import tempfile
import time

TIMEOUT_S = 30


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
            if time.monotonic() - began > TIMEOUT_S:
                raise RuntimeError("no window from %s" % args[0])
            time.sleep(0.005)
        return (time.monotonic() - began) * 1000
    finally:
        process.terminate()
        process.wait()


GET_XDG_SURFACE = re.compile(r"get_xdg_surface\(new id xdg_surface@(\d+), wl_surface@(\d+)\)")
GET_TOPLEVEL = re.compile(r"-> xdg_surface@(\d+)\.get_toplevel\(")
ATTACH = re.compile(r"-> wl_surface@(\d+)\.attach\(wl_buffer@")
COMMIT = re.compile(r"-> wl_surface@(\d+)\.commit\(\)")


def wayland_start_time(args, cwd, windows, env):
    """Until `windows` top-level surfaces have been committed with a buffer."""
    began = time.monotonic()
    process = subprocess.Popen(args, cwd=cwd, env=dict(env, WAYLAND_DEBUG="client"),
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    xdg_to_surface, toplevels, attached, shown = {}, set(), set(), set()
    try:
        for line in process.stderr:
            if time.monotonic() - began > TIMEOUT_S:
                break
            if m := GET_XDG_SURFACE.search(line):
                xdg_to_surface[m.group(1)] = m.group(2)
            elif m := GET_TOPLEVEL.search(line):
                toplevels.add(xdg_to_surface.get(m.group(1)))
            elif m := ATTACH.search(line):
                attached.add(m.group(1))
            elif (m := COMMIT.search(line)) and m.group(1) in attached and m.group(1) in toplevels:
                shown.add(m.group(1))
                if len(shown) >= windows:
                    return (time.monotonic() - began) * 1000
        raise RuntimeError("no window from %s" % args[0])
    finally:
        process.terminate()
        process.stderr.close()
        process.wait()


def start_compositor(runtime, socket):
    log = open(os.path.join(runtime, "weston.log"), "w")
    compositor = subprocess.Popen(
        ["weston", "--backend=headless-backend.so", "--use-gl", "--socket=" + socket, "--idle-time=0"],
        env=dict(os.environ, XDG_RUNTIME_DIR=runtime), stdout=log, stderr=subprocess.STDOUT)
    deadline = time.monotonic() + TIMEOUT_S
    while not os.path.exists(os.path.join(runtime, socket)):
        if compositor.poll() is not None or time.monotonic() > deadline:
            compositor.kill()
            raise RuntimeError("the compositor did not come up, see " + log.name)
        time.sleep(0.05)
    return compositor


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--wayland", action="store_true")
    parser.add_argument("--cache", help="the cache folder, e.g. one holding a stored programme guide")
    parser.add_argument("--config", help="a configuration folder copied for every run, e.g. one naming playlists")
    parser.add_argument("data")
    parser.add_argument("korvanta")
    parser.add_argument("baseline")
    args = parser.parse_args()
    config = tempfile.mkdtemp(prefix="korvanta-bench-")
    if args.config:
        shutil.copytree(args.config, config, dirs_exist_ok=True)
    env = dict(os.environ, XDG_CONFIG_HOME=config)
    if args.cache:
        env["XDG_CACHE_HOME"] = os.path.abspath(args.cache)
    env.pop("QT_QPA_PLATFORM", None)
    measure, compositor = start_time, None
    if args.wayland:
        runtime = tempfile.mkdtemp(prefix="korvanta-wayland-")  # 0700, as the runtime folder must be
        socket = "korvanta-bench-%d" % os.getpid()
        compositor = start_compositor(runtime, socket)
        env = dict(env, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=socket, QT_QPA_PLATFORM="wayland")
        env.pop("DISPLAY", None)
        measure = wayland_start_time
    try:
        program, baseline = [], []
        for _ in range(args.runs):  # interleaved, so both see the same machine
            baseline.append(measure([os.path.abspath(args.baseline)], None, 1, env))
            program.append(measure([os.path.abspath(args.korvanta)], args.data, 2, env))
    finally:
        if compositor is not None:
            compositor.terminate()
            compositor.wait()
            shutil.rmtree(runtime, ignore_errors=True)
        shutil.rmtree(config, ignore_errors=True)
    p, b = statistics.median(program), statistics.median(baseline)
    print("cold start (%s), median of %d: Korvanta %.0f ms, minimal Qt program %.0f ms, ratio %.2f"
          % ("Wayland" if args.wayland else "X11", args.runs, p, b, p / b))


if __name__ == "__main__":
    main()
