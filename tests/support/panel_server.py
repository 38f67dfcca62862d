#!/usr/bin/env python3
"""A provider's panel on the loopback: player_api.php, xmltv.php, get.php and the /live/,
/movie/, /series/ and /timeshift/ stream paths, as the panel API's public documentation
describes them, serving media made with ffmpeg (kept in --media and reused by later runs),
and the films' and series' posters under /images/.

Command line:
    panel_server.py [--port N] [--media DIR] [--bulk LIVE,FILMS,SERIES] [--guide-delay S]

Prints "PORT n" and then "READY" once listening; ends when its standard input closes.
Every password is "secret". The user name picks what the panel is like:
  viewer    an active account, expiring in 30 days, 0 of 2 connections in use, with two
            live categories (three channels, one with an archive of 3 days), two film
            categories (three films) and a series category (two series of two seasons)
  expiring  as viewer, expiring in three days
  expired, disabled, banned   the account in that state
  full      every connection in use (1 of 1)
  html      answers an HTML page
  huge      declares an answer of 65 MiB
  many      the live streams' list holds 200,001 entries
  slow      answers after 30 seconds
  drop      closes the connection without an answer
  hostile   lists of wrong types, missing fields, huge strings and deep nesting
  bulk      as viewer, with the counts given by --bulk
A wrong password gets {"user_info": {"auth": 0}}. xmltv.php answers after --guide-delay
seconds (default 0). get.php answers the account's live channels and films as an M3U
playlist whose addresses hold the password, as panels give it. GET /log answers the
requests so far (path and query, in order) as a JSON list; GET /log?clear=1 empties it.
"""

import argparse
import base64
import json
import os
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

PASSWORD = "secret"
DAY = 24 * 60 * 60
# The panel keeps its clock in a zone of its own (and its archive addresses in it).
ZONE_NAME = "Asia/Kolkata"
ZONE_OFFSET = 5 * 3600 + 30 * 60
MiB = 1024 * 1024


def make_media(folder):
    os.makedirs(folder, exist_ok=True)
    made = {"ts": os.path.join(folder, "panel-live.ts"), "mp4": os.path.join(folder, "panel-film.mp4"),
            "film-poster": os.path.join(folder, "panel-film-poster.png"),
            "series-poster": os.path.join(folder, "panel-series-poster.png")}
    source = ["-f", "lavfi", "-i", "testsrc=size=320x180:rate=25", "-f", "lavfi", "-i",
              "sine=frequency=550:sample_rate=44100", "-t", "30", "-c:v", "libx264", "-preset", "ultrafast",
              "-g", "25", "-c:a", "aac", "-b:a", "64k"]
    posters = {"film-poster": "testsrc2=size=200x300", "series-poster": "smptebars=size=200x300"}
    for kind, path in made.items():
        if os.path.exists(path):
            continue
        if kind in posters:
            arguments = ["-f", "lavfi", "-i", posters[kind], "-frames:v", "1", "-f", "image2", "-c:v", "png"]
        else:
            arguments = source + (["-f", "mpegts"] if kind == "ts" else ["-f", "mp4", "-movflags", "+faststart"])
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-nostdin"] + arguments + [path + ".%d.part" % os.getpid()],
                       check=True)
        os.replace(path + ".%d.part" % os.getpid(), path)
    return made


def catalogue(live, films, series):
    """The lists of an account of that many entries."""
    return {
        "get_live_categories": [{"category_id": "1", "category_name": "News", "parent_id": 0},
                                {"category_id": "2", "category_name": "Sport", "parent_id": 0}],
        "get_live_streams": [{"num": k + 1, "name": "Channel %d" % (k + 1), "stream_type": "live",
                              "stream_id": 100 + k, "stream_icon": "", "epg_channel_id": "ch%d.panel" % (k + 1),
                              "category_id": str(2 - k % 2), "tv_archive": 1 if k == 0 else 0,
                              "tv_archive_duration": 3 if k == 0 else 0} for k in range(live)],
        "get_vod_categories": [{"category_id": "10", "category_name": "Drama"},
                               {"category_id": "11", "category_name": "Comedy"}],
        "get_vod_streams": [{"num": k + 1, "name": "Film %d" % (k + 1), "stream_type": "movie",
                             "stream_id": 500 + k, "stream_icon": "", "rating": "7.%d" % (k % 10),
                             "category_id": "10" if k % 2 == 0 else "11", "container_extension": "mp4"}
                            for k in range(films)],
        "get_series_categories": [{"category_id": "20", "category_name": "Crime"}],
        "get_series": [{"num": k + 1, "name": "Show %d" % (k + 1), "series_id": 900 + k, "cover": "",
                        "plot": "A plot of show %d." % (k + 1), "category_id": "20"} for k in range(series)],
    }


def hostile():
    deep = []
    for _ in range(900):
        deep = [deep]
    return {
        "get_live_categories": {"not": "a list"},
        "get_live_streams": [1, "two", None, {"stream_id": {"x": 1}, "name": ["n"]},
                             {"stream_id": 7, "name": "x" * 100000, "num": "NaN", "tv_archive": "1",
                              "tv_archive_duration": -5}, deep],
        "get_vod_categories": [{"category_id": None}],
        "get_vod_streams": "films",
        "get_series_categories": None,
        "get_series": [{"series_id": 1e300, "name": True}],
    }


def user_info(user):
    now = int(time.time())
    states = {"expired": "Expired", "disabled": "Disabled", "banned": "Banned"}
    expiry = now + (3 if user == "expiring" else 30) * DAY
    return {"user_info": {"username": user, "password": PASSWORD, "auth": 1, "status": states.get(user, "Active"),
                          "exp_date": str(expiry), "is_trial": "0",
                          "active_cons": "1" if user == "full" else "0",
                          "max_connections": "1" if user == "full" else "2"},
            "server_info": {"url": "127.0.0.1", "timestamp_now": now, "timezone": ZONE_NAME,
                            "time_now": time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(now + ZONE_OFFSET))}}


def guide(count):
    now = int(time.time()) // 3600 * 3600
    stamp = lambda t: time.strftime("%Y%m%d%H%M%S +0000", time.gmtime(t))
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<tv>"]
    for k in range(1, count + 1):
        lines.append('<channel id="ch%d.panel"><display-name>Channel %d</display-name></channel>' % (k, k))
    for k in range(1, count + 1):
        for hour in range(-6, 6):
            start = now + hour * 3600
            lines.append('<programme start="%s" stop="%s" channel="ch%d.panel"><title>Show %d at %d</title>'
                         "</programme>" % (stamp(start), stamp(start + 3600), k, k, hour))
    lines.append("</tv>")
    return "\n".join(lines).encode()


def playlist(lists, origin, user):
    """get.php's M3U: the live channels and the films, the login in every address."""
    lines = ["#EXTM3U"]
    groups = {c["category_id"]: c["category_name"] for c in lists["get_live_categories"] + lists["get_vod_categories"]}
    for kind, streams, extension in (("live", lists["get_live_streams"], lambda s: "ts"),
                                     ("movie", lists["get_vod_streams"], lambda s: s["container_extension"])):
        for stream in streams:
            lines.append('#EXTINF:-1 tvg-id="%s" tvg-name="%s" group-title="%s",%s'
                         % (stream.get("epg_channel_id", ""), stream["name"], groups.get(stream["category_id"], ""),
                            stream["name"]))
            lines.append("%s/%s/%s/%s/%s.%s" % (origin, kind, user, PASSWORD, stream["stream_id"], extension(stream)))
    return ("\n".join(lines) + "\n").encode()


class Panel:
    def __init__(self, media, bulk, guide_delay):
        self.media = media
        self.guide_delay = guide_delay
        self.lists = {"viewer": catalogue(3, 3, 2), "bulk": catalogue(*bulk), "hostile": hostile()}
        self.lists["expiring"] = self.lists["viewer"]
        self.log = []
        self.lock = threading.Lock()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body, kind="application/json"):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def json(self, value):
        self.answer(200, json.dumps(value).encode())

    def file(self, path, kind):
        """The file, or the byte range asked, as a file server answers."""
        with open(path, "rb") as media:
            body = media.read()
        asked = self.headers.get("Range", "")
        if not asked.startswith("bytes="):
            self.send_response(200)
            self.send_header("Accept-Ranges", "bytes")
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        first, _, last = asked[len("bytes="):].partition("-")
        first = int(first or 0)
        last = min(int(last) if last else len(body) - 1, len(body) - 1)
        self.send_response(206)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Range", "bytes %d-%d/%d" % (first, last, len(body)))
        self.send_header("Content-Length", str(last - first + 1))
        self.end_headers()
        self.wfile.write(body[first:last + 1])

    def do_GET(self):
        panel = self.server.panel
        url = urlsplit(self.path)
        query = {k: v[0] for k, v in parse_qs(url.query).items()}
        if url.path == "/log":
            with panel.lock:
                asked = list(panel.log)
                if "clear" in query:
                    panel.log.clear()
            return self.json(asked)
        with panel.lock:
            panel.log.append(self.path)
        try:
            if url.path in ("/player_api.php", "/xmltv.php", "/get.php"):
                return self.api(panel, url.path, query)
            if url.path.startswith("/images/"):
                return self.poster(panel, url.path)
            return self.stream(panel, url.path)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def api(self, panel, path, query):
        user = query.get("username", "")
        if user == "slow":
            time.sleep(30)
        if user == "drop":
            self.close_connection = True
            self.connection.shutdown(2)
            return None
        if user == "html":
            return self.answer(200, b"<html><body>Welcome</body></html>", "text/html")
        if user == "huge":
            self.send_response(200)
            self.send_header("Content-Length", str(65 * MiB))
            self.end_headers()
            for _ in range(65):
                self.wfile.write(b" " * MiB)
            return None
        if query.get("password") != PASSWORD:
            return self.json({"user_info": {"auth": 0}})
        lists = panel.lists.get(user, panel.lists["viewer"])
        if path == "/xmltv.php":
            time.sleep(panel.guide_delay)
            return self.answer(200, guide(len(lists["get_live_streams"])), "application/xml")
        if path == "/get.php":
            return self.answer(200, playlist(lists, self.origin(), user), "audio/x-mpegurl")
        action = query.get("action")
        if action is None:
            return self.json(user_info(user))
        if user == "many" and action == "get_live_streams":
            return self.answer(200, b"[" + b",".join([b'{"stream_id":1}'] * 200001) + b"]")
        if action in lists:
            return self.json(lists[action])
        if action == "get_vod_info":
            vod = query.get("vod_id", "")
            return self.json({"info": {"movie_image": "%s/images/film-%s.png" % (self.origin(), vod),
                                       "releasedate": "2021-05-01", "rating": "7.5",
                                       "genre": "Drama", "plot": "The plot of film %s." % vod, "cast": "A. Actor",
                                       "duration_secs": 5400},
                              "movie_data": {"stream_id": vod, "container_extension": "mp4"}})
        if action == "get_series_info":
            series = query.get("series_id", "")
            episodes = {str(season): [{"id": "%s%d%d" % (series, season, k), "episode_num": k,
                                       "title": "Part %d" % k, "container_extension": "mp4", "season": season}
                                      for k in (1, 2)] for season in (1, 2)}
            return self.json({"info": {"name": "Show", "plot": "The plot of series %s." % series, "genre": "Crime",
                                       "releaseDate": "2019-01-01", "rating": "8",
                                       "cover": "%s/images/series-%s.png" % (self.origin(), series)},
                              "seasons": [], "episodes": episodes})
        if action == "get_short_epg":
            now = int(time.time())
            code = lambda text: base64.b64encode(text.encode()).decode()
            return self.json({"epg_listings": [
                {"title": code("Now Showing"), "start_timestamp": str(now - 600), "stop_timestamp": str(now + 3000)},
                {"title": code("Up Next"), "start_timestamp": str(now + 3000), "stop_timestamp": str(now + 6600)}]})
        return self.json([])

    def origin(self):
        return "http://" + self.headers.get("Host", "127.0.0.1")

    def poster(self, panel, path):
        kind = path[len("/images/"):].partition("-")[0]
        if kind not in ("film", "series"):
            return self.answer(404, b"", "text/plain")
        return self.file(panel.media[kind + "-poster"], "image/png")

    def stream(self, panel, path):
        parts = path.strip("/").split("/")
        if len(parts) < 4 or parts[0] not in ("live", "movie", "series", "timeshift") or parts[2] != PASSWORD:
            return self.answer(403 if len(parts) >= 4 else 404, b"", "text/plain")
        if parts[0] in ("live", "timeshift"):
            return self.file(panel.media["ts"], "video/mp2t")
        return self.file(panel.media["mp4"], "video/mp4")


def main():
    parser = argparse.ArgumentParser(description="A provider's panel on the loopback")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--media", default=None)
    parser.add_argument("--bulk", default="3,3,2")
    parser.add_argument("--guide-delay", type=float, default=0)
    args = parser.parse_args()
    temp = tempfile.TemporaryDirectory(prefix="panel-")
    media = make_media(args.media or temp.name)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.panel = Panel(media, [int(n) for n in args.bulk.split(",")], args.guide_delay)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print("PORT %d" % server.server_address[1])
    print("READY", flush=True)
    while sys.stdin.buffer.read(4096):
        pass
    server.shutdown()
    temp.cleanup()
    return 0


if __name__ == "__main__":
    sys.exit(main())
