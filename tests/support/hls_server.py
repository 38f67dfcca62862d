#!/usr/bin/env python3
"""Local HLS test server: a live-style stream and a short finite one, made with ffmpeg.

Command line:
    hls_server.py [--port N] [--media DIR] [--segments N]

    --port N      listen on 127.0.0.1:N (default 0: a free port). Give the port printed
                  by a previous run to bring a killed server back at the same address.
    --media DIR   folder holding the generated segments; they are made there with ffmpeg
                  when missing and reused otherwise (default: a fresh temporary folder).
    --segments N  length of the generated material in one-second segments (default 120).

Once it listens it prints the port alone on one line of stdout and flushes.

Addresses (all on http://127.0.0.1:PORT):
    /live.m3u8        live playlist: a four-segment window that moves on by one segment
                      a second from the server's start, with no end tag
    /vod.m3u8         finite playlist of the first three segments, with an end tag
    /seg/N.ts         segment N (segment N modulo the material's length)
    /control?...      changes how media requests (playlists and segments) are answered,
                      from then on; answers "ok". Parameters, any combination:
                        mode=normal   answer normally (default)
                        mode=404      answer 404 Not Found
                        mode=drop     close the connection without answering
                        delay=S       wait S seconds before answering (default 0)
                        rate=B        send at most B bytes a second (default 0: no limit)
    Any other address answers 404.

SIGTERM or SIGKILL ends it; SIGKILL is the way to simulate a server dying mid-stream.
Python 3 standard library only, plus the ffmpeg program.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlparse

SEGMENT_SECONDS = 1
LIVE_WINDOW = 4
VOD_SEGMENTS = 3


def make_media(folder, segments):
    """Test pattern with a tone; a key frame starts every segment."""
    if os.path.exists(os.path.join(folder, "seg%03d.ts" % (segments - 1))):
        return
    # Made aside and moved into place whole: servers started together may share the folder.
    parent = os.path.dirname(os.path.abspath(folder))
    os.makedirs(parent, exist_ok=True)
    work = tempfile.mkdtemp(prefix=".hls-", dir=parent)
    rate = 25
    subprocess.run(
        ["ffmpeg", "-loglevel", "error", "-y",
         "-f", "lavfi", "-i", "testsrc=size=320x240:rate=%d" % rate,
         "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100",
         "-t", str(segments * SEGMENT_SECONDS),
         "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
         "-g", str(rate * SEGMENT_SECONDS), "-keyint_min", str(rate * SEGMENT_SECONDS),
         "-sc_threshold", "0",
         "-c:a", "aac", "-b:a", "64k",
         "-f", "hls", "-hls_time", str(SEGMENT_SECONDS), "-hls_list_size", "0",
         "-hls_segment_filename", os.path.join(work, "seg%03d.ts"),
         os.path.join(work, "index.m3u8")],
        check=True)
    try:
        os.rename(work, folder)
    except OSError:
        shutil.rmtree(work, ignore_errors=True)  # another server finished first


class Behaviour:
    def __init__(self):
        self.lock = threading.Lock()
        self.mode = "normal"
        self.delay = 0.0
        self.rate = 0

    def update(self, query):
        with self.lock:
            if "mode" in query:
                self.mode = query["mode"][0]
            if "delay" in query:
                self.delay = float(query["delay"][0])
            if "rate" in query:
                self.rate = int(query["rate"][0])

    def snapshot(self):
        with self.lock:
            return self.mode, self.delay, self.rate


def playlist(first, count, segments, finished):
    lines = ["#EXTM3U", "#EXT-X-VERSION:3",
             "#EXT-X-TARGETDURATION:%d" % SEGMENT_SECONDS,
             "#EXT-X-MEDIA-SEQUENCE:%d" % first]
    for n in range(first, first + count):
        # The material repeats; its time stamps start again where it wraps.
        if n > first and n % segments == 0:
            lines.append("#EXT-X-DISCONTINUITY")
        lines.append("#EXTINF:%d.000000," % SEGMENT_SECONDS)
        lines.append("/seg/%d.ts" % n)
    if finished:
        lines.append("#EXT-X-ENDLIST")
    return ("\n".join(lines) + "\n").encode()


def make_handler(media, segments, behaviour, started):
    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def do_GET(self):
            url = urlparse(self.path)
            if url.path == "/control":
                behaviour.update(parse_qs(url.query))
                self.answer(200, b"ok\n", "text/plain")
                return
            body, kind = self.media(url.path)
            if body is None:
                self.answer(404, b"not found\n", "text/plain")
                return
            mode, delay, rate = behaviour.snapshot()
            if delay > 0:
                time.sleep(delay)
            if mode == "drop":
                self.close_connection = True
                self.connection.close()
                return
            if mode == "404":
                self.answer(404, b"not found\n", "text/plain")
                return
            self.answer(200, body, kind, rate)

        def media(self, path):
            if path == "/live.m3u8":
                newest = int((time.monotonic() - started) / SEGMENT_SECONDS) + LIVE_WINDOW - 1
                first = newest - LIVE_WINDOW + 1
                return playlist(first, LIVE_WINDOW, segments, False), "application/vnd.apple.mpegurl"
            if path == "/vod.m3u8":
                return playlist(0, VOD_SEGMENTS, segments, True), "application/vnd.apple.mpegurl"
            if path.startswith("/seg/") and path.endswith(".ts"):
                try:
                    n = int(path[len("/seg/"):-len(".ts")])
                except ValueError:
                    return None, None
                if n < 0:
                    return None, None
                name = os.path.join(media, "seg%03d.ts" % (n % segments))
                with open(name, "rb") as f:
                    return f.read(), "video/mp2t"
            return None, None

        def answer(self, status, body, kind, rate=0):
            try:
                self.send_response(status)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Cache-Control", "no-cache")
                self.end_headers()
                if rate <= 0:
                    self.wfile.write(body)
                    return
                chunk = max(1, rate // 10)
                for i in range(0, len(body), chunk):
                    self.wfile.write(body[i:i + chunk])
                    self.wfile.flush()
                    time.sleep(0.1)
            except (BrokenPipeError, ConnectionResetError):
                self.close_connection = True

    return Handler


def main():
    parser = argparse.ArgumentParser(description="Local HLS test server")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--media", default=None)
    parser.add_argument("--segments", type=int, default=120)
    args = parser.parse_args()

    temp = None
    media = args.media
    if media is None:
        temp = tempfile.TemporaryDirectory(prefix="hls-")
        media = temp.name
    make_media(media, args.segments)

    behaviour = Behaviour()
    server = ThreadingHTTPServer(
        ("127.0.0.1", args.port),
        make_handler(media, args.segments, behaviour, time.monotonic()))
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
        if temp is not None:
            temp.cleanup()


if __name__ == "__main__":
    sys.exit(main())
