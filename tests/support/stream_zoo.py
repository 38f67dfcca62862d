#!/usr/bin/env python3
"""The stream zoo: one loopback server with every shape of stream the tests meet, made
with ffmpeg at start (kept in --media and reused by later runs).

Command line:
    stream_zoo.py [--port N] [--media DIR] [--root DIR] [--segments N] [--heavy [SET,...]] [--make-only]

    --port N      listen on 127.0.0.1:N (default 0: a free port). A port that is taken
                  ends the server with exit status 3 and "ERROR port N is busy".
    --media DIR   folder of the generated media (default: a fresh temporary folder)
    --root DIR    folder served under /files/ (default: none)
    --segments N  length of the main material in one-second segments (default 120)
    --heavy       also make and serve the HD sets, for benchmarks (made once): hd5 at
                  5 Mbit/s, 11 minutes without a wrap (410 MB), and hd8 at 8 Mbit/s, two
                  minutes that repeat (120 MB); both 1280x720, noise so the rate is spent;
                  fhd6 at 6 Mbit/s, 1920x1080, two minutes that repeat (90 MB). Names
                  after it make only those sets.
    --make-only   make the media and end

Prints, once listening: "PORT n", "TLS_PORT n" (certificate from the test CA),
"UNTRUSTED_PORT n" (self-signed), "CA path" (the test CA to trust), then "READY".
It ends when its standard input closes, when its parent dies, or on SIGTERM/SIGKILL.

Addresses on every port (http://127.0.0.1:PORT):
  HLS material      /live.m3u8 /vod.m3u8 /seg/N.ts: the main material, a four-segment
                    live window moving on a segment a second; /hls/SET/live.m3u8 and
                    /hls/SET/seg/N.ts for SET in v144 v240 v360 hevc audio
  /control?...      how /live.m3u8 /vod.m3u8 /seg/ answer from now on: mode=normal|404|drop,
                    delay=S (seconds before answering), rate=B (bytes a second)
  /zoo/master.m3u8  master playlist, three H.264/AAC variants; /zoo/hevc.m3u8 HEVC variants
  /zoo/stream.ts    bare MPEG-TS, endless, at the material's pace; /zoo/chunked.ts the
                    same with chunked transfer encoding
  /zoo/audio.m3u8   audio-only HLS (AAC); /zoo/radio.mp3 endless MP3
  /zoo/redirect     302 -> 301 -> 200 ending on the TLS port; /zoo/loop redirects to itself
  /zoo/status/N     answers status N with an HTML body
  /zoo/recover.m3u8?key=K  503 for five seconds from the first request with key K, then live
  /zoo/slow.m3u8    the live playlist after six seconds
  /zoo/capped.m3u8  live, segments sent at half the material's bit rate
  /zoo/flaky.m3u8   live, every fourth segment answers 404
  /zoo/frozen.m3u8  live, but the window stops moving ten seconds after the first request
  /zoo/ad.m3u8      live with a discontinuity (an inserted clip of other material)
  /zoo/page.html    an HTML page with status 200
  /zoo/agent.m3u8   live only for the User-Agent "KorvantaZoo/1.0", 403 otherwise
  /zoo/guarded.m3u8 live only for that User-Agent together with the Referer
                    "http://zoo.korvanta.test/", 403 otherwise
  Clock material    SET clock (/hls/clock/...): every picture carries its frame number
                    within the material, 25 a second, as CLOCK_BITS blocks along the top
                    (bit k at x = 20k, white = 1; decode with clock_frame) and as text
  /zoo/film.mp4     a film: the clock material whole (CLOCK_SEGMENTS seconds) as one MP4,
                    answering byte ranges as a file server does; /hls/clock/vod.m3u8 the
                    same as HLS with its end listed
  /zoo/tracks-a.mkv 20 s with two sound tracks (deu 440 Hz, eng 880 Hz) and two subtitle
  /zoo/tracks-b.mkv tracks (eng, fra); -b has them in other orders and spellings (sound:
                    eng, ger; subtitles: fre, eng)
  /archive/...      a catch-up channel and its archive, of the clock material aligned to
                    the wall clock (segment N is second N since 1970): a request without a
                    time is the live channel (*.m3u8 HLS, *.ts or mpegts endless MPEG-TS);
                    one that names a time (ten digits, YYYY-MM-DD:HH-MM or yyyyMMddHHmmss,
                    UTC) plays from that second, ARCHIVE_SEGMENTS long; /timeshift/... the
                    same. /archive/log lists every such request but segments, in order.
  /guide/CASE?start=S  programme guides of guide_gen.py's cases (plain.xml, gzip.xml.gz,
                    double.xml.gz, truncated.xml.gz, early.xml, zones.xml, nostop.xml,
                    overlap.xml, unknown.xml, bigdesc.xml, bomb.xml, external.xml,
                    page.html, other.xml), their programmes from S (seconds since 1970);
                    with an ETag, and 304 to a request that names it
  Checker stand-ins: /ok* /master.m3u8 /variant/low.m3u8 /master-dead.m3u8
  /master-local.m3u8 /status/N /slow?ms=N /redirect/N /loop /page.html /stream.ts /octet
  /text-playlist /empty /endless /files/PATH; /stats (requests in flight, most at once,
  hits per path) and /reset.
"""

import argparse
import datetime
import errno
import hashlib
import json
import os
import re
import shutil
import signal
import ssl
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

import guide_gen

SEGMENT_SECONDS = 1
LIVE_WINDOW = 4
VOD_SEGMENTS = 3
SHORT_SEGMENTS = 20
RATE = 25
RECOVER_SECONDS = 5
SLOW_SECONDS = 6
FREEZE_SECONDS = 10
FLAKY_EVERY = 4
CAP_SHARE = 0.5
CLOCK_SEGMENTS = 300
CLOCK_BITS = 16
CLOCK_BLOCK = 20
ARCHIVE_SEGMENTS = 120
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
ZOO_AGENT = "KorvantaZoo/1.0"
ZOO_REFERRER = "http://zoo.korvanta.test/"
EXIT_PORT_BUSY = 3
MPEG_PLAYLIST = "application/vnd.apple.mpegurl"

# name: (size, video codec or None, segments)
SETS = {
    "main": ("320x240", "libx264", None),
    "v144": ("256x144", "libx264", SHORT_SEGMENTS),
    "v240": ("320x240", "libx264", SHORT_SEGMENTS),
    "v360": ("640x360", "libx264", SHORT_SEGMENTS),
    "hevc": ("320x240", "libx265", SHORT_SEGMENTS),
    "audio": (None, None, SHORT_SEGMENTS),
    "clock": ("320x240", "libx264", CLOCK_SEGMENTS),
}
HEAVY_SETS = {"hd5": ("1280x720", "libx264", 660), "hd8": ("1280x720", "libx264", 120),
              "fhd6": ("1920x1080", "libx264", 120)}
HEAVY_RATES = {"hd5": "5M", "hd8": "8M", "fhd6": "6M"}
# name: (sound languages with their tones, subtitle languages)
TRACK_FILES = {
    "tracks-a": ([("deu", 440), ("eng", 880)], ["eng", "fra"]),
    "tracks-b": ([("eng", 880), ("ger", 440)], ["fre", "eng"]),
}
VARIANTS = [("v144", 200000, "256x144"), ("v240", 400000, "320x240"), ("v360", 900000, "640x360")]


def clock_filter():
    """The frame number burned in: a black bar with a white block per set bit, and text."""
    boxes = ["drawbox=x=0:y=0:w=iw:h=%d:color=black:t=fill" % CLOCK_BLOCK]
    for bit in range(CLOCK_BITS):
        boxes.append("drawbox=x=%d:y=0:w=%d:h=%d:color=white:t=fill:enable='eq(mod(floor(n/%d),2),1)'" %
                     (bit * CLOCK_BLOCK, CLOCK_BLOCK, CLOCK_BLOCK, 2 ** bit))
    text = ("drawtext=fontfile=%s:fontsize=40:fontcolor=white:box=1:boxcolor=black:x=10:y=%d:"
            "text='%%{eif\\:n/%d\\:d}.%%{eif\\:mod(n,%d)\\:d\\:2}'" % (FONT, CLOCK_BLOCK + 10, RATE, RATE))
    return ",".join(boxes + [text])


def clock_frame(luma_at):
    """The frame number a clock picture carries; luma_at(x, y) reads the picture."""
    return sum(1 << bit for bit in range(CLOCK_BITS)
               if luma_at(bit * CLOCK_BLOCK + CLOCK_BLOCK // 2, CLOCK_BLOCK // 2) > 128)


def run_ffmpeg(args):
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-nostdin"] + args, check=True,
                   stdout=subprocess.DEVNULL)


def make_set(folder, name, segments):
    size, codec, _ = SETS.get(name) or HEAVY_SETS[name]
    target = os.path.join(folder, name)
    if os.path.exists(os.path.join(target, "seg%03d.ts" % (segments - 1))):
        return
    # Made aside and moved into place whole: servers started together share the folder.
    os.makedirs(folder, exist_ok=True)
    work = tempfile.mkdtemp(prefix=".%s-" % name, dir=folder)
    source = ["-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100"]
    video = []
    if codec:
        source = ["-f", "lavfi", "-i", "testsrc=size=%s:rate=%d" % (size, RATE)] + source
        gop = str(RATE * SEGMENT_SECONDS)
        video = (["-vf", clock_filter()] if name == "clock" else []) + \
            ["-c:v", codec, "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", gop,
                 "-keyint_min", gop, "-sc_threshold", "0"]
        if name in HEAVY_SETS:  # noise, so that the bit rate is spent, and held constant
            rate = HEAVY_RATES[name]
            video = ["-vf", "noise=alls=30:allf=t"] + video + \
                ["-b:v", rate, "-maxrate", rate, "-bufsize", rate, "-x264-params", "nal-hrd=cbr"]
        if codec == "libx265":
            video += ["-x265-params", "log-level=none:keyint=%s:min-keyint=%s" % (gop, gop),
                      "-tag:v", "hvc1"]
    run_ffmpeg(source + ["-t", str(segments * SEGMENT_SECONDS)] + video +
               ["-c:a", "aac", "-b:a", "64k", "-f", "hls", "-hls_time", str(SEGMENT_SECONDS),
                "-hls_list_size", "0", "-hls_segment_filename", os.path.join(work, "seg%03d.ts"),
                os.path.join(work, "index.m3u8")])
    try:
        os.rename(work, target)
    except OSError:
        shutil.rmtree(work, ignore_errors=True)  # another server finished first


def make_mp3(folder):
    target = os.path.join(folder, "radio.mp3")
    if os.path.exists(target):
        return
    work = target + ".%d" % os.getpid()
    run_ffmpeg(["-f", "lavfi", "-i", "sine=frequency=330:sample_rate=44100",
                "-t", str(SHORT_SEGMENTS), "-c:a", "libmp3lame", "-b:a", "128k", "-f", "mp3", work])
    os.replace(work, target)


def make_track_files(folder):
    for name, (sounds, subtitles) in TRACK_FILES.items():
        target = os.path.join(folder, name + ".mkv")
        if os.path.exists(target):
            continue
        work = target + ".%d.mkv" % os.getpid()
        inputs = ["-f", "lavfi", "-i", "testsrc=size=320x240:rate=%d" % RATE]
        maps, tags = ["-map", "0:v"], []
        for n, (language, tone) in enumerate(sounds):
            inputs += ["-f", "lavfi", "-i", "sine=frequency=%d:sample_rate=44100" % tone]
            maps += ["-map", "%d:a" % (n + 1)]
            tags += ["-metadata:s:a:%d" % n, "language=" + language]
        for n, language in enumerate(subtitles):
            srt = os.path.join(folder, "%s-%s.srt" % (name, language))
            with open(srt, "w") as f:
                f.write("".join("%d\n00:00:%02d,000 --> 00:00:%02d,900\n%s %d\n\n" % (s + 1, s, s, language, s)
                                for s in range(SHORT_SEGMENTS)))
            inputs += ["-i", srt]
            maps += ["-map", "%d:s" % (len(sounds) + n + 1)]
            tags += ["-metadata:s:s:%d" % n, "language=" + language]
        run_ffmpeg(inputs + maps + tags + ["-t", str(SHORT_SEGMENTS), "-c:v", "libx264", "-preset", "ultrafast",
                                           "-c:a", "aac", "-c:s", "srt", work])
        os.replace(work, target)


def make_certificates(folder):
    """A test CA, a certificate for 127.0.0.1 signed by it, and a self-signed one."""
    files = {n: os.path.join(folder, n) for n in
             ("ca.pem", "ca.key", "server.pem", "server.key", "server.csr", "self.pem", "self.key", "ext")}
    with open(files["ext"], "w") as f:
        f.write("subjectAltName=IP:127.0.0.1\n")

    def openssl(*args):
        subprocess.run(["openssl"] + list(args), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    key = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2"]
    openssl("req", "-x509", *key, "-subj", "/CN=Korvanta Zoo CA",
            "-keyout", files["ca.key"], "-out", files["ca.pem"])
    openssl("req", *key, "-subj", "/CN=127.0.0.1", "-keyout", files["server.key"],
            "-out", files["server.csr"])
    openssl("x509", "-req", "-in", files["server.csr"], "-CA", files["ca.pem"], "-CAkey",
            files["ca.key"], "-CAcreateserial", "-days", "2", "-extfile", files["ext"],
            "-out", files["server.pem"])
    openssl("req", "-x509", *key, "-subj", "/CN=127.0.0.1", "-addext",
            "subjectAltName=IP:127.0.0.1", "-keyout", files["self.key"], "-out", files["self.pem"])
    return files


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


class Zoo:
    """State shared by all ports."""

    def __init__(self, media, root, segments):
        self.media = media
        self.root = root
        self.segments = segments
        self.started = time.monotonic()
        self.behaviour = Behaviour()
        self.lock = threading.Lock()
        self.stats = {"inflight": 0, "max": 0, "hits": {}}
        self.first_seen = {}
        self.archive_log = []
        self.tls_port = 0

    def set_length(self, name):
        return (SETS.get(name) or HEAVY_SETS[name])[2] or self.segments

    def segment(self, name, n):
        with open(os.path.join(self.media, name, "seg%03d.ts" % (n % self.set_length(name))), "rb") as f:
            return f.read()

    def newest(self, now=None):
        now = time.monotonic() if now is None else now
        return int((now - self.started) / SEGMENT_SECONDS) + LIVE_WINDOW - 1

    def since_first(self, key):
        with self.lock:
            first = self.first_seen.setdefault(key, time.monotonic())
        return time.monotonic() - first


def playlist(prefix, first, count, length, finished=False, extra=None):
    lines = ["#EXTM3U", "#EXT-X-VERSION:3", "#EXT-X-TARGETDURATION:%d" % SEGMENT_SECONDS,
             "#EXT-X-MEDIA-SEQUENCE:%d" % first]
    for n in range(first, first + count):
        # The material repeats; its time stamps start again where it wraps.
        if n > first and n % length == 0:
            lines.append("#EXT-X-DISCONTINUITY")
        lines += (extra(n) if extra else []) + ["#EXTINF:%d.000000," % SEGMENT_SECONDS,
                                                "%s/seg/%d.ts" % (prefix, n)]
    if finished:
        lines.append("#EXT-X-ENDLIST")
    return ("\n".join(lines) + "\n").encode()


def master(variants):
    lines = ["#EXTM3U"]
    for path, bandwidth, resolution, codecs in variants:
        lines.append("#EXT-X-STREAM-INF:BANDWIDTH=%d,RESOLUTION=%s,CODECS=\"%s\"" %
                     (bandwidth, resolution, codecs))
        lines.append(path)
    return ("\n".join(lines) + "\n").encode()


def asked_time(request):
    """The second an archive request names (UTC), or None for the live channel."""
    for pattern, form in ((r"(?<!\d)(\d{10})(?!\d)", None), (r"(\d{4}-\d\d-\d\d:\d\d-\d\d)", "%Y-%m-%d:%H-%M"),
                          (r"(?<!\d)(\d{14})(?!\d)", "%Y%m%d%H%M%S")):
        found = re.search(pattern, request)
        if found:
            if form is None:
                return int(found.group(1))
            moment = datetime.datetime.strptime(found.group(1), form).replace(tzinfo=datetime.timezone.utc)
            return int(moment.timestamp())
    return None


CHECKER_PLAYLIST = b"#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\nseg0.ts\n"
TS_PACKETS = (b"\x47" + b"\x00" * 187) * 16


def checker_master(variant):
    return ("#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000\n%s\n" % variant).encode()


def make_film(folder):
    """The clock material as one MP4 with its index in front, as films are served."""
    target = os.path.join(folder, "film.mp4")
    if os.path.exists(target):
        return
    work = target + ".%d.mp4" % os.getpid()
    run_ffmpeg(["-i", os.path.join(folder, "clock", "index.m3u8"), "-c", "copy", "-bsf:a", "aac_adtstoasc",
                "-movflags", "+faststart", work])
    os.replace(work, target)


def byte_range(header, size):
    """(first, last) of a "bytes=first-[last]" header within size, or None for the whole."""
    if not header or not header.startswith("bytes="):
        return None
    first, _, last = header[len("bytes="):].split(",")[0].partition("-")
    if not first:
        return max(0, size - int(last)), size - 1
    return int(first), min(size - 1, int(last)) if last else size - 1


def make_handler(zoo):
    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"
        # Headers and body go out in two writes; with Nagle's algorithm the body then
        # waits for the client's delayed acknowledgement (40 ms) on a kept connection,
        # which no real server makes its clients wait.
        disable_nagle_algorithm = True

        def log_message(self, *args):
            pass

        def reply(self, code, body=b"", kind="text/plain", headers=(), rate=0):
            self.send_response(code)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-cache")
            for name, value in headers:
                self.send_header(name, value)
            self.end_headers()
            if rate <= 0:
                self.wfile.write(body)
                return
            chunk = max(1, rate // 10)
            for i in range(0, len(body), chunk):
                self.wfile.write(body[i:i + chunk])
                self.wfile.flush()
                time.sleep(0.1)

        def redirect(self, code, location):
            self.reply(code, b"", "text/plain", [("Location", location)])

        def do_GET(self):
            url = urlsplit(self.path)
            query = parse_qs(url.query)
            if url.path == "/stats":
                with zoo.lock:
                    body = json.dumps(zoo.stats).encode()
                return self.reply(200, body, "application/json")
            if url.path == "/reset":
                with zoo.lock:
                    zoo.stats.update(inflight=0, max=0, hits={})
                    zoo.archive_log.clear()
                return self.reply(200, b"{}", "application/json")
            if url.path == "/control":
                zoo.behaviour.update(query)
                return self.reply(200, b"ok\n")
            with zoo.lock:
                zoo.stats["inflight"] += 1
                zoo.stats["max"] = max(zoo.stats["max"], zoo.stats["inflight"])
                zoo.stats["hits"][self.path] = zoo.stats["hits"].get(self.path, 0) + 1
            try:
                self.route(url.path, query)
            except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
                self.close_connection = True
            finally:
                with zoo.lock:
                    zoo.stats["inflight"] -= 1

        def route(self, path, query):
            if path in ("/live.m3u8", "/vod.m3u8") or path.startswith("/seg/"):
                return self.steered(path)
            if path.startswith("/hls/"):
                return self.material(path)
            if path.startswith("/zoo/"):
                return self.zoo_case(path[len("/zoo/"):], query)
            if path.startswith("/archive/") or path.startswith("/timeshift/"):
                return self.archive(path)
            if path.startswith("/guide/"):
                return self.guide(path[len("/guide/"):], query)
            return self.checker(path, query)

        # The main material, answered as /control says.
        def steered(self, path):
            if path == "/live.m3u8":
                newest = zoo.newest()
                body, kind = playlist("", newest - LIVE_WINDOW + 1, LIVE_WINDOW, zoo.segments), MPEG_PLAYLIST
            elif path == "/vod.m3u8":
                body, kind = playlist("", 0, VOD_SEGMENTS, zoo.segments, True), MPEG_PLAYLIST
            else:
                n = self.number(path, "/seg/")
                if n is None:
                    return self.reply(404, b"not found\n")
                body, kind = zoo.segment("main", n), "video/mp2t"
            mode, delay, rate = zoo.behaviour.snapshot()
            if delay > 0:
                time.sleep(delay)
            if mode == "drop":
                self.close_connection = True
                self.connection.close()
                return None
            if mode == "404":
                return self.reply(404, b"not found\n")
            return self.reply(200, body, kind, rate=rate)

        @staticmethod
        def number(path, prefix):
            if not path.startswith(prefix) or not path.endswith(".ts"):
                return None
            try:
                n = int(path[len(prefix):-len(".ts")])
            except ValueError:
                return None
            return n if n >= 0 else None

        def live(self, name, prefix, newest=None, extra=None):
            newest = zoo.newest() if newest is None else newest
            body = playlist(prefix, newest - LIVE_WINDOW + 1, LIVE_WINDOW, zoo.set_length(name),
                            extra=extra)
            return self.reply(200, body, MPEG_PLAYLIST)

        # As a file server: the whole, or the range asked for.
        def film(self):
            with open(os.path.join(zoo.media, "film.mp4"), "rb") as f:
                body = f.read()
            asked = byte_range(self.headers.get("Range"), len(body))
            if asked is None:
                return self.reply(200, body, "video/mp4", [("Accept-Ranges", "bytes")])
            first, last = asked
            return self.reply(206, body[first:last + 1], "video/mp4",
                              [("Accept-Ranges", "bytes"), ("Content-Range", "bytes %d-%d/%d" % (first, last, len(body)))])

        def material(self, path):
            parts = path.split("/")  # "", "hls", SET, rest...
            if len(parts) < 4 or (parts[2] not in SETS and parts[2] not in HEAVY_SETS):
                return self.reply(404, b"not found\n")
            name, rest = parts[2], "/" + "/".join(parts[3:])
            if rest == "/live.m3u8":
                return self.live(name, "/hls/" + name)
            if rest == "/vod.m3u8" and name == "clock":
                return self.reply(200, playlist("/hls/clock", 0, CLOCK_SEGMENTS, CLOCK_SEGMENTS, True), MPEG_PLAYLIST)
            n = self.number(rest, "/seg/")
            if n is None:
                return self.reply(404, b"not found\n")
            return self.reply(200, zoo.segment(name, n), "video/mp2t")

        def zoo_case(self, case, query):
            if case == "master.m3u8":
                return self.reply(200, master([("/hls/%s/live.m3u8" % name, bandwidth, size,
                                                "avc1.42c01e,mp4a.40.2")
                                               for name, bandwidth, size in VARIANTS]), MPEG_PLAYLIST)
            if case == "hevc.m3u8":
                return self.reply(200, master([("/hls/hevc/live.m3u8", 300000, "320x240",
                                                "hvc1.1.6.L63.90,mp4a.40.2")]), MPEG_PLAYLIST)
            if case == "audio.m3u8":
                return self.live("audio", "/hls/audio")
            if case in ("stream.ts", "chunked.ts"):
                return self.endless_ts(case == "chunked.ts")
            if case == "radio.mp3":
                return self.endless_mp3()
            if case == "redirect":
                return self.redirect(302, "/zoo/redirect-2")
            if case == "redirect-2":
                return self.redirect(301, "https://127.0.0.1:%d/hls/v240/live.m3u8" % zoo.tls_port)
            if case == "loop":
                return self.redirect(302, "/zoo/loop")
            if case.startswith("status/"):
                return self.reply(int(case.split("/")[1]), b"<html><body>No.</body></html>", "text/html")
            if case == "recover.m3u8":
                if zoo.since_first(query.get("key", [""])[0]) < RECOVER_SECONDS:
                    return self.reply(503, b"<html><body>Busy.</body></html>", "text/html")
                return self.live("main", "")
            if case == "slow.m3u8":
                time.sleep(SLOW_SECONDS)
                return self.live("main", "")
            if case == "capped.m3u8":
                return self.live("v360", "/zoo/capped")
            if case.startswith("capped/seg/"):
                body = zoo.segment("v360", self.number(case, "capped/seg/") or 0)
                return self.reply(200, body, "video/mp2t", rate=int(len(body) * CAP_SHARE / SEGMENT_SECONDS))
            if case == "flaky.m3u8":
                return self.live("main", "/zoo/flaky")
            if case.startswith("flaky/seg/"):
                n = self.number(case, "flaky/seg/") or 0
                if n % FLAKY_EVERY == FLAKY_EVERY - 1:
                    return self.reply(404, b"not found\n")
                return self.reply(200, zoo.segment("main", n), "video/mp2t")
            if case == "frozen.m3u8":
                frozen_at = zoo.newest() - int(zoo.since_first("frozen") - FREEZE_SECONDS)
                return self.live("main", "", newest=min(zoo.newest(), max(frozen_at, LIVE_WINDOW)))
            if case == "ad.m3u8":
                return self.live("main", "", extra=self.ad_break)
            if case.startswith("ad/seg/"):
                return self.reply(200, zoo.segment("v240", self.number(case, "ad/seg/") or 0), "video/mp2t")
            if case == "page.html":
                return self.reply(200, b"<!DOCTYPE html><html><body>Channel page</body></html>", "text/html")
            if case == "film.mp4":
                return self.film()
            if case[:-len(".mkv")] in TRACK_FILES and case.endswith(".mkv"):
                with open(os.path.join(zoo.media, case), "rb") as f:
                    return self.reply(200, f.read(), "video/x-matroska")
            if case in ("agent.m3u8", "guarded.m3u8"):
                agent_ok = self.headers.get("User-Agent") == ZOO_AGENT
                referrer_ok = case == "agent.m3u8" or self.headers.get("Referer") == ZOO_REFERRER
                if not (agent_ok and referrer_ok):
                    return self.reply(403, b"<html><body>Wrong player.</body></html>", "text/html")
                return self.live("main", "")
            return self.reply(404, b"not here\n")

        def guide(self, case, query):
            if case not in guide_gen.CASES:
                return self.reply(404, b"not here\n")
            start = int(query.get("start", [str(int(time.time()))])[0])
            body = guide_gen.case(case, start)
            etag = '"%s"' % hashlib.sha1(body).hexdigest()[:16]
            if self.headers.get("If-None-Match") == etag:
                return self.reply(304, b"", headers=[("ETag", etag)])
            kinds = {".gz": "application/gzip", ".html": "text/html"}
            return self.reply(200, body, kinds.get(os.path.splitext(case)[1], "application/xml"), [("ETag", etag)])

        @staticmethod
        def ad_break(n):
            # Every fifth segment is an inserted clip of other material, fenced by
            # discontinuities; the main material resumes after it.
            if n % 5 == 0:
                return ["#EXT-X-DISCONTINUITY", "#EXTINF:1.000000,", "/zoo/ad/seg/%d.ts" % n,
                        "#EXT-X-DISCONTINUITY"]
            return []

        def stream_headers(self, kind, chunked):
            self.send_response(200)
            self.send_header("Content-Type", kind)
            if chunked:
                self.send_header("Transfer-Encoding", "chunked")
            else:
                self.close_connection = True  # the end of the body is the end of the connection
            self.end_headers()

        def write_piece(self, data, chunked):
            if chunked:
                data = b"%x\r\n%s\r\n" % (len(data), data)
            self.wfile.write(data)
            self.wfile.flush()

        def archive(self, path):
            if path == "/archive/log":
                with zoo.lock:
                    body = json.dumps(zoo.archive_log).encode()
                return self.reply(200, body, "application/json")
            n = self.number(path, "/archive/seg/")
            if n is not None:
                return self.reply(200, zoo.segment("clock", n), "video/mp2t")
            with zoo.lock:
                zoo.archive_log.append(self.path)
            asked = asked_time(self.path)
            if path.endswith(".m3u8"):
                if asked is None:
                    newest = int(time.time())
                    body = playlist("/archive", newest - LIVE_WINDOW + 1, LIVE_WINDOW, CLOCK_SEGMENTS)
                else:
                    body = playlist("/archive", asked, ARCHIVE_SEGMENTS, CLOCK_SEGMENTS, finished=True)
                return self.reply(200, body, MPEG_PLAYLIST)
            if path.endswith(".ts") or path.endswith("/mpegts"):
                return self.endless_ts(False, "clock", int(time.time()) if asked is None else asked)
            return self.reply(404, b"not here\n")

        def endless_ts(self, chunked, name="main", first=0):
            """A set's segments one after another at their own pace, two ahead."""
            self.stream_headers("video/mp2t", chunked)
            start = time.monotonic()
            n = 0
            while True:
                self.write_piece(zoo.segment(name, first + n), chunked)
                n += 1
                wait = start + (n - 2) * SEGMENT_SECONDS - time.monotonic()
                if wait > 0:
                    time.sleep(wait)

        def endless_mp3(self):
            with open(os.path.join(zoo.media, "radio.mp3"), "rb") as f:
                body = f.read()
            per_second = len(body) // SHORT_SEGMENTS
            self.stream_headers("audio/mpeg", False)
            start = time.monotonic()
            sent = 0
            while True:
                offset = sent % len(body)
                self.write_piece(body[offset:offset + per_second], False)
                sent += per_second
                wait = start + sent / per_second - 2 - time.monotonic()
                if wait > 0:
                    time.sleep(wait)

        # Stand-ins for stream hosts in the checker's tests.
        def checker(self, path, query):
            if path.startswith("/ok"):
                return self.reply(200, CHECKER_PLAYLIST, MPEG_PLAYLIST)
            if path == "/master.m3u8":
                return self.reply(200, checker_master("variant/low.m3u8"), MPEG_PLAYLIST)
            if path == "/variant/low.m3u8":
                return self.reply(200, CHECKER_PLAYLIST, MPEG_PLAYLIST)
            if path == "/master-dead.m3u8":
                return self.reply(200, checker_master("gone/low.m3u8"), MPEG_PLAYLIST)
            if path == "/master-local.m3u8":
                return self.reply(200, checker_master("file:///etc/hostname"), MPEG_PLAYLIST)
            if path.startswith("/status/"):
                return self.reply(int(path.split("/")[2]), b"<html>error</html>", "text/html")
            if path == "/slow":
                time.sleep(int(query.get("ms", ["3000"])[0]) / 1000.0)
                return self.reply(200, CHECKER_PLAYLIST, MPEG_PLAYLIST)
            if path.startswith("/redirect/"):
                left = int(path.split("/")[2])
                return self.redirect(302, "/redirect/%d" % (left - 1) if left > 0 else "/ok.m3u8")
            if path == "/loop":
                return self.redirect(302, "/loop")
            if path == "/page.html":
                return self.reply(200, b"<!DOCTYPE html><html><body>Moved</body></html>", "text/html")
            if path == "/stream.ts":
                return self.reply(200, TS_PACKETS, "video/mp2t")
            if path == "/octet":
                return self.reply(200, TS_PACKETS, "application/octet-stream")
            if path == "/text-playlist":
                return self.reply(200, b"\xef\xbb\xbf" + CHECKER_PLAYLIST, "text/plain")
            if path == "/empty":
                return self.reply(200, b"", "video/mp2t")
            if path == "/endless":
                return self.endless_frames()
            if path.startswith("/files/") and zoo.root:
                return self.file(path[len("/files/"):])
            return self.reply(404, b"not here")

        def endless_frames(self):
            self.stream_headers("audio/mpeg", False)
            frame = b"\xff\xfb\x90\x00" + b"\x00" * 413
            for _ in range(1200):
                self.write_piece(frame, False)
                time.sleep(0.05)

        def file(self, relative):
            full = os.path.realpath(os.path.join(zoo.root, relative))
            if not full.startswith(os.path.realpath(zoo.root) + os.sep) or not os.path.isfile(full):
                return self.reply(404, b"not here")
            types = {".m3u8": MPEG_PLAYLIST, ".ts": "video/mp2t"}
            with open(full, "rb") as f:
                body = f.read()
            return self.reply(200, body, types.get(os.path.splitext(full)[1], "application/octet-stream"))

    return Handler


class Server(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 128


def listen(zoo, port, cert=None, key=None):
    server = Server(("127.0.0.1", port), make_handler(zoo))
    if cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def watch_parent(cleanup):
    """Ends the server when whoever started it is gone, however it ended."""
    parent = os.getppid()

    def end(*_):
        cleanup()
        os._exit(0)

    def stdin_closed():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        except (OSError, ValueError):
            pass
        end()

    signal.signal(signal.SIGTERM, end)
    threading.Thread(target=stdin_closed, daemon=True).start()
    while os.getppid() == parent:
        time.sleep(0.5)
    end()


def main():
    parser = argparse.ArgumentParser(description="The stream zoo: loopback test streams")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--media", default=None)
    parser.add_argument("--root", default=None)
    parser.add_argument("--segments", type=int, default=120)
    parser.add_argument("--heavy", nargs="?", const=",".join(HEAVY_SETS), default="")
    parser.add_argument("--make-only", action="store_true")
    args = parser.parse_args()

    temp = tempfile.TemporaryDirectory(prefix="zoo-")
    media = args.media or os.path.join(temp.name, "media")
    for name in SETS:
        make_set(media, name, SETS[name][2] or args.segments)
    for name in filter(None, args.heavy.split(",")):
        make_set(media, name, HEAVY_SETS[name][2])
    make_mp3(media)
    make_track_files(media)
    make_film(media)
    if args.make_only:
        return 0
    certificates = make_certificates(temp.name)

    zoo = Zoo(media, args.root, args.segments)
    try:
        plain = listen(zoo, args.port)
    except OSError as error:
        if error.errno == errno.EADDRINUSE:
            print("ERROR port %d is busy" % args.port, file=sys.stderr, flush=True)
            return EXIT_PORT_BUSY
        raise
    trusted = listen(zoo, 0, certificates["server.pem"], certificates["server.key"])
    untrusted = listen(zoo, 0, certificates["self.pem"], certificates["self.key"])
    zoo.tls_port = trusted.server_address[1]
    print("PORT %d" % plain.server_address[1])
    print("TLS_PORT %d" % zoo.tls_port)
    print("UNTRUSTED_PORT %d" % untrusted.server_address[1])
    print("CA %s" % certificates["ca.pem"])
    print("READY", flush=True)
    watch_parent(temp.cleanup)
    return 0


if __name__ == "__main__":
    sys.exit(main())
