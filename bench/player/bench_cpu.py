#!/usr/bin/env python3
"""CPU and resident memory while watching: the player host (bench_watch, the main
window's video path in a window of the given size) against the mpv command line in a
window of the same size, both playing the stream zoo's live HLS stream on loopback under
the X server of $DISPLAY. Runs are interleaved so both see the same machine; each is
measured over SECONDS after a warm-up, in clock ticks of user and system time of the whole
process (/proc/PID/stat), with its resident set size at the end. With --recording, the host
also watching while it records the zoo's MPEG-TS stream in the background, against
watching alone plus recording alone. Then the at-rest check: the host and, when given, the
real program with nothing playing, which must take 0 ticks.

--mpv-arg ARG (repeatable) passes ARG to the command line, for instance --vo=gpu and
--gpu-sw=yes where it would pick another video output over a software renderer.
With --heavy SET, both play the zoo's HD set of that name instead (fhd6: 1920x1080 at
6 Mbit/s), made once into --media DIR and kept there.

usage: bench_cpu.py [--runs N] [--seconds S] [--size WxH] [--recording]
                    [--heavy SET --media DIR] [--program BIN --data DIR] <stream_zoo.py> <bench_watch>
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

WARM_UP_SECONDS = 4


def ticks(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime and stime, fields 14 and 15


def resident_mib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def measure(args, seconds, cwd=None, env=None):
    """Ticks over seconds after the warm-up, and the resident size at the end."""
    process = subprocess.Popen(args, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(WARM_UP_SECONDS)
        if process.poll() is not None:
            raise RuntimeError("%s ended early" % args[0])
        before = ticks(process.pid)
        time.sleep(seconds)
        return ticks(process.pid) - before, resident_mib(process.pid)
    finally:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def start_zoo(script, options):
    zoo = subprocess.Popen([sys.executable, script] + options, stdin=subprocess.PIPE,
                           stdout=subprocess.PIPE, text=True)
    port = None
    for line in zoo.stdout:
        if line.startswith("PORT "):
            port = int(line.split()[1])
        if line.startswith("READY"):
            # Whatever it prints later must not fill the pipe and stall it.
            threading.Thread(target=zoo.stdout.read, daemon=True).start()
            return zoo, "http://127.0.0.1:%d" % port
    raise RuntimeError("the stream zoo did not start")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--size", default="640x360")
    parser.add_argument("--recording", action="store_true",
                        help="also watching while recording in the background")
    parser.add_argument("--heavy", help="the zoo's HD set to play")
    parser.add_argument("--mpv-arg", action="append", default=[], help="an option for the command line")
    parser.add_argument("--media", help="the zoo's media folder, kept between runs")
    parser.add_argument("--program", help="the real program, for the at-rest check")
    parser.add_argument("--data", help="its data folder (working directory)")
    parser.add_argument("zoo")
    parser.add_argument("host")
    args = parser.parse_args()
    width, height = args.size.split("x")
    host = os.path.abspath(args.host)
    config = tempfile.mkdtemp(prefix="korvanta-bench-")
    env = dict(os.environ, XDG_CONFIG_HOME=config)
    env.pop("QT_QPA_PLATFORM", None)
    options = (["--heavy", args.heavy] if args.heavy else []) + (["--media", args.media] if args.media else [])
    zoo, server = start_zoo(args.zoo, options)
    url = server + ("/hls/%s/live.m3u8" % args.heavy if args.heavy else "/live.m3u8")
    recorded = server + "/zoo/stream.ts"
    try:
        own, mpv, both, alone = [], [], [], []
        for _ in range(args.runs):
            own.append(measure([host, width, height, url], args.seconds, env=env))
            mpv.append(measure(["mpv", "--no-config", "--geometry=%sx%s" % (width, height),
                                "--audio-fallback-to-null=yes"] + args.mpv_arg + [url], args.seconds, env=env))
            if args.recording:
                both.append(measure([host, width, height, url, "--record", recorded], args.seconds, env=env))
                alone.append(measure([host, width, height, "", "--record", recorded], args.seconds, env=env))
        rest = [("player host", measure([host, width, height], args.seconds, env=env)[0])]
        if args.program:
            rest.append(("program", measure([os.path.abspath(args.program)], args.seconds,
                                            cwd=args.data, env=env)[0]))
    finally:
        zoo.stdin.close()
        zoo.wait()
        shutil.rmtree(config, ignore_errors=True)

    own_ticks = statistics.median(t for t, _ in own)
    mpv_ticks = statistics.median(t for t, _ in mpv)
    own_mib = statistics.median(m for _, m in own)
    mpv_mib = statistics.median(m for _, m in mpv)
    print("CPU watching %s for %g s, median of %d: Korvanta %d ticks, mpv %d ticks, ratio %.2f"
          % (args.size, args.seconds, args.runs, own_ticks, mpv_ticks, own_ticks / mpv_ticks))
    print("resident while playing: Korvanta %.0f MiB, mpv %.0f MiB, ratio %.2f"
          % (own_mib, mpv_mib, own_mib / mpv_mib))
    if args.recording:
        both_ticks = statistics.median(t for t, _ in both)
        alone_ticks = statistics.median(t for t, _ in alone)
        print("watching while recording in the background: %d ticks, watching alone plus recording alone "
              "%d + %d, ratio %.2f (aim: at most 1)"
              % (both_ticks, own_ticks, alone_ticks, both_ticks / (own_ticks + alone_ticks)))
    for name, spent in rest:
        print("at rest, %s: %d ticks in %g s%s" % (name, spent, args.seconds,
                                                   "" if spent == 0 else "  (NOT AT REST)"))


if __name__ == "__main__":
    main()
