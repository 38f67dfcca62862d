#!/usr/bin/env python3
"""Every case of the stream zoo, opened by Korvanta's player (zoo_probe, one process per
case) and by the mpv command line in the same run; writes the table to docs/streams.md.

usage: bench_zoo.py <zoo_probe> <output.md> [--soak-minutes M]

Time to playing is the time to the first frame after opening (mpv: "playback restart
complete"); the ratio is Korvanta / mpv. With --soak-minutes, the bare MPEG-TS case is
also played that long and the growth of the player's resident memory is reported.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ZOO = os.path.join(HERE, "..", "..", "tests", "support", "stream_zoo.py")
CASES = [
    ("master playlist, three variants", "plain", "/zoo/master.m3u8"),
    ("HEVC variants", "plain", "/zoo/hevc.m3u8"),
    ("bare MPEG-TS", "plain", "/zoo/stream.ts"),
    ("chunked MPEG-TS", "plain", "/zoo/chunked.ts"),
    ("audio-only HLS", "plain", "/zoo/audio.m3u8"),
    ("MP3 radio", "plain", "/zoo/radio.mp3"),
    ("HTTPS, test CA", "tls", "/hls/v240/live.m3u8"),
    ("HTTPS, self-signed", "untrusted", "/hls/v240/live.m3u8"),
    ("redirects 302, 301, to HTTPS", "plain", "/zoo/redirect"),
    ("redirect loop", "plain", "/zoo/loop"),
    ("403", "plain", "/zoo/status/403"),
    ("404", "plain", "/zoo/status/404"),
    ("410", "plain", "/zoo/status/410"),
    ("451", "plain", "/zoo/status/451"),
    ("503 for good", "plain", "/zoo/status/503"),
    ("503, recovers after 5 s", "plain", "/zoo/recover.m3u8?key=%s"),
    ("slow first byte (6 s)", "plain", "/zoo/slow.m3u8"),
    ("bandwidth below bit rate", "plain", "/zoo/capped.m3u8"),
    ("segments 404 now and then", "plain", "/zoo/flaky.m3u8"),
    ("playlist stops advancing", "plain", "/zoo/frozen.m3u8"),
    ("discontinuity (ad insertion)", "plain", "/zoo/ad.m3u8"),
    ("HTML page, status 200", "plain", "/zoo/page.html"),
    ("closed port", "closed", "/live.m3u8"),
    ("unresolvable host", "unresolvable", "/live.m3u8"),
    ("User-Agent required, not given", "plain", "/zoo/agent.m3u8"),
]
REASONS = ["", "not found", "blocked in your region or forbidden", "server error", "no answer",
           "secure connection failed", "not a video stream", "too many redirects", "address not allowed", "connection refused",
           "host not found"]
MPV_LIMIT_S = 20


class Zoo:
    def __init__(self):
        self.process = subprocess.Popen([sys.executable, ZOO, "--media", os.path.join(tempfile.gettempdir(), "korvanta-zoo-media")],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.info = {}
        for line in self.process.stdout:
            words = line.split()
            if words == ["READY"]:
                break
            self.info[words[0]] = words[1]

    def url(self, where, path):
        port = {"plain": "PORT", "tls": "TLS_PORT", "untrusted": "UNTRUSTED_PORT"}.get(where)
        if where == "unresolvable":
            return "http://%s.invalid%s" % ("x" * 64, path)  # a label no resolver is asked for
        if port is None:
            return "http://127.0.0.1:9%s" % path  # nothing listens on port 9 here
        scheme = "http" if where == "plain" else "https"
        return "%s://127.0.0.1:%s%s" % (scheme, self.info[port], path)

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def korvanta(probe, url, ca, watch_ms=0, rss=None):
    process = subprocess.Popen([probe, url, ca, str(watch_ms)], stdout=subprocess.PIPE, text=True)
    if rss is not None:
        rss.append(process.pid)
    out, _ = process.communicate()
    state, reason, ms, _ = out.split()
    return int(state), int(reason), int(ms)


def mpv(url, ca):
    start = time.monotonic()
    process = subprocess.Popen(["mpv", "--no-config", "--ytdl=no", "--vo=null", "--ao=null", "--tls-verify=yes",
                                "--tls-ca-file=" + ca, "--msg-level=all=v", url],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    try:
        deadline = start + MPV_LIMIT_S
        for line in process.stdout:
            if "playback restart complete" in line:
                return "playing", int((time.monotonic() - start) * 1000)
            if time.monotonic() > deadline:
                break
        return "fails", int((time.monotonic() - start) * 1000)
    finally:
        process.kill()
        process.wait()


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def soak(probe, url, ca, minutes):
    pids = []
    process = subprocess.Popen([probe, url, ca, str(int(minutes * 60000))], stdout=subprocess.PIPE, text=True)
    time.sleep(15)  # past start-up and the first cache fill
    before = resident_kib(process.pid)
    peak = before
    deadline = time.monotonic() + minutes * 60 - 15
    while time.monotonic() < deadline and process.poll() is None:
        peak = max(peak, resident_kib(process.pid))
        time.sleep(10)
    after = resident_kib(process.pid) if process.poll() is None else peak
    process.kill()
    process.wait()
    return before, peak, after


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("probe")
    parser.add_argument("output")
    parser.add_argument("--soak-minutes", type=float, default=0)
    args = parser.parse_args()
    zoo = Zoo()
    ca = zoo.info["CA"]
    rows = []
    try:
        for n, (name, where, path) in enumerate(CASES):
            url = zoo.url(where, path.replace("%s", "k%d-%d" % (n, time.time())))
            state, reason, ms = korvanta(args.probe, url, ca)
            url = zoo.url(where, path.replace("%s", "m%d-%d" % (n, time.time())))
            mpv_outcome, mpv_ms = mpv(url, ca)
            outcome = "playing" if state == 3 else "unavailable" + (": " + REASONS[reason] if reason else "")
            ratio = "%.2f" % (ms / mpv_ms) if state == 3 and mpv_outcome == "playing" and mpv_ms > 0 else "–"
            rows.append((name, outcome, ms, mpv_outcome, mpv_ms, ratio))
            print("%-34s %-45s %6d ms  mpv %-8s %6d ms  %s" % rows[-1], flush=True)
        soak_line = ""
        if args.soak_minutes > 0:
            before, peak, after = soak(args.probe, zoo.url("plain", "/zoo/stream.ts"), ca, args.soak_minutes)
            soak_line = ("\nBare MPEG-TS played for %g minutes: resident memory %d KiB after 15 s, %d KiB at "
                         "the end, %d KiB at most (growth %d KiB; bound 32 MiB).\n"
                         % (args.soak_minutes, before, after, peak, after - before))
            print(soak_line.strip())
    finally:
        zoo.close()
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("# Streams as they are in the wild: measured\n\n")
        f.write("Produced by `bench/zoo/bench_zoo.py` (the stream zoo on 127.0.0.1, every case opened by "
                "Korvanta's player and by the mpv command line one after the other in the same run, "
                "on a machine shared with other work). Time is from the request to playing or to "
                "unavailable; the ratio is Korvanta / mpv where both play.\n\n")
        f.write("| case | Korvanta | time | mpv command line | time | ratio |\n|---|---|---|---|---|---|\n")
        for name, outcome, ms, mpv_outcome, mpv_ms, ratio in rows:
            f.write("| %s | %s | %.1f s | %s | %.1f s | %s |\n" % (name, outcome, ms / 1000, mpv_outcome, mpv_ms / 1000, ratio))
        f.write(soak_line)


if __name__ == "__main__":
    main()
