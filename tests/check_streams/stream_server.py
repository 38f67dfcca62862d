#!/usr/bin/env python3
"""Loopback HTTP server standing in for stream hosts in the korvanta-check-streams tests.

Prints "PORT <n>" (and "TLS_PORT <n>" with --cert/--key) once listening. Counts requests
in flight so a test can read the highest concurrency seen at /stats.
"""
import argparse
import json
import os
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

MEDIA_PLAYLIST = b"#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\nseg0.ts\n"
TS_PACKETS = (b"\x47" + b"\x00" * 187) * 16

lock = threading.Lock()
state = {"inflight": 0, "max": 0, "hits": {}}


def master(variant):
    return ("#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000\n%s\n" % variant).encode()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    root = "."

    def log_message(self, *args):
        pass

    def reply(self, code, body=b"", content_type="application/vnd.apple.mpegurl", headers=()):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def redirect(self, location):
        self.reply(302, b"", "text/plain", [("Location", location)])

    def do_GET(self):
        url = urlsplit(self.path)
        if url.path == "/stats":
            with lock:
                body = json.dumps(state).encode()
            return self.reply(200, body, "application/json")
        if url.path == "/reset":
            with lock:
                state.update(inflight=0, max=0, hits={})
            return self.reply(200, b"{}", "application/json")
        with lock:
            state["inflight"] += 1
            state["max"] = max(state["max"], state["inflight"])
            state["hits"][self.path] = state["hits"].get(self.path, 0) + 1
        try:
            self.route(url.path, parse_qs(url.query))
        except (BrokenPipeError, ConnectionResetError):
            pass
        finally:
            with lock:
                state["inflight"] -= 1

    def route(self, path, query):
        if path.startswith("/ok"):
            return self.reply(200, MEDIA_PLAYLIST)
        if path == "/master.m3u8":
            return self.reply(200, master("variant/low.m3u8"))
        if path == "/variant/low.m3u8":
            return self.reply(200, MEDIA_PLAYLIST)
        if path == "/master-dead.m3u8":
            return self.reply(200, master("gone/low.m3u8"))
        if path == "/master-local.m3u8":
            return self.reply(200, master("file:///etc/hostname"))
        if path.startswith("/status/"):
            return self.reply(int(path.split("/")[2]), b"<html>error</html>", "text/html")
        if path == "/slow":
            time.sleep(int(query.get("ms", ["3000"])[0]) / 1000.0)
            return self.reply(200, MEDIA_PLAYLIST)
        if path.startswith("/redirect/"):
            left = int(path.split("/")[2])
            return self.redirect("/redirect/%d" % (left - 1) if left > 0 else "/ok.m3u8")
        if path == "/loop":
            return self.redirect("/loop")
        if path == "/page.html":
            return self.reply(200, b"<!DOCTYPE html><html><body>Moved</body></html>", "text/html")
        if path == "/stream.ts":
            return self.reply(200, TS_PACKETS, "video/mp2t")
        if path == "/octet":
            return self.reply(200, TS_PACKETS, "application/octet-stream")
        if path == "/text-playlist":
            return self.reply(200, b"\xef\xbb\xbf" + MEDIA_PLAYLIST, "text/plain")
        if path == "/empty":
            return self.reply(200, b"", "video/mp2t")
        if path == "/endless":
            return self.endless()
        if path.startswith("/files/"):
            return self.file(path[len("/files/"):])
        return self.reply(404, b"not here", "text/plain")

    def endless(self):
        # A live radio: no length, data until the listener hangs up.
        self.send_response(200)
        self.send_header("Content-Type", "audio/mpeg")
        self.end_headers()
        frame = b"\xff\xfb\x90\x00" + b"\x00" * 413
        for _ in range(1200):
            self.wfile.write(frame)
            self.wfile.flush()
            time.sleep(0.05)

    def file(self, relative):
        full = os.path.realpath(os.path.join(self.root, relative))
        if not full.startswith(os.path.realpath(self.root) + os.sep) or not os.path.isfile(full):
            return self.reply(404, b"not here", "text/plain")
        types = {".m3u8": "application/vnd.apple.mpegurl", ".ts": "video/mp2t"}
        with open(full, "rb") as f:
            body = f.read()
        self.reply(200, body, types.get(os.path.splitext(full)[1], "application/octet-stream"))


def serve(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=".")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    Handler.root = args.root
    ThreadingHTTPServer.daemon_threads = True
    ThreadingHTTPServer.request_queue_size = 128

    plain = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    serve(plain)
    print("PORT %d" % plain.server_address[1], flush=True)
    if args.cert:
        secure = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        secure.socket = context.wrap_socket(secure.socket, server_side=True)
        serve(secure)
        print("TLS_PORT %d" % secure.server_address[1], flush=True)
    print("READY", flush=True)
    # Ends when the test closes our standard input.
    sys.stdin.read()


if __name__ == "__main__":
    main()
