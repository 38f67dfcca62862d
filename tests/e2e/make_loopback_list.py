#!/usr/bin/env python3
"""Writes a copy of the channel list whose addresses all point at the local test server.

usage: make_loopback_list.py <channels.tsv> <out.tsv> <port>

Every distinct address becomes http://127.0.0.1:<port>/live.m3u8?channel=<n>, the live
stream of tests/support/stream_zoo.py; names, sections, descriptions and the slots that
share an address stay as they are, so the program looks as it does with the real list.
"""
import sys


def main():
    source, target, port = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    out = [lines[0]]
    numbers = {}
    for line in lines[1:]:
        cols = line.split("\t")
        n = numbers.setdefault(cols[3], len(numbers))
        cols[3] = f"http://127.0.0.1:{port}/live.m3u8?channel={n}"
        out.append("\t".join(cols))
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
