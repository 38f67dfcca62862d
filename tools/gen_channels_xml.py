#!/usr/bin/env python3
"""Writes the English channel catalogue (Channels.xml) from the channel list.

Usage: gen_channels_xml.py <channels.tsv> <Channels.xml>

The list is UTF-8, tab-separated, with the header
section, position, name, url, country, description; rows in section order, each
section numbered 1..22 and its positions 0, 1, 2, ... without gaps. A malformed list
is rejected with a message naming the row, and nothing is written.
"""
import os
import sys
from xml.sax.saxutils import quoteattr

SECTION_ELEMENT_NAMES = [
    "Music", "Games", "Movies", "News", "Entertainment", "Lifestyle", "Shopping", "Kids",
    "Sport", "Other", "USA", "Russia", "Germany", "France", "UK", "Italy", "Spain",
    "Canada", "Japan", "India", "Netherlands", "Argentina",
]
HEADER = ["section", "position", "name", "url", "country", "description"]
MAX_NAME_LENGTH = 999
MAX_DESCRIPTION_LENGTH = 4999


class ListError(Exception):
    pass


def parse_number(text, what, row):
    if not text.isdigit():
        raise ListError(f"row {row}: {what} {text!r} is not a number")
    return int(text)


def read_sections(path):
    """Returns one list of (name, description) per section, in position order."""
    with open(path, encoding="utf-8", newline="") as source:
        text = source.read()
    lines = text[:-1].split("\n") if text.endswith("\n") else text.split("\n")
    lines = [line[:-1] if line.endswith("\r") else line for line in lines]
    if not lines or lines[0].split("\t") != HEADER:
        raise ListError("row 1: the header must be " + "\t".join(HEADER))
    sections = [[] for _ in SECTION_ELEMENT_NAMES]
    for row, line in enumerate(lines[1:], start=2):
        fields = line.split("\t")
        if len(fields) != len(HEADER):
            raise ListError(f"row {row}: {len(fields)} columns, expected {len(HEADER)}")
        section = parse_number(fields[0], "section", row)
        position = parse_number(fields[1], "position", row)
        name, description = fields[2], fields[5]
        if not 1 <= section <= len(SECTION_ELEMENT_NAMES):
            raise ListError(f"row {row}: section {section} is outside 1..{len(SECTION_ELEMENT_NAMES)}")
        if any(sections[section:]):
            raise ListError(f"row {row}: section {section} comes after a later section")
        if position != len(sections[section - 1]):
            raise ListError(f"row {row}: section {section} position {position}, "
                            f"expected {len(sections[section - 1])}")
        if not name.strip():
            raise ListError(f"row {row}: the name is empty")
        if any(ord(c) < 32 for c in name + description):
            raise ListError(f"row {row}: control character in the name or description")
        if len(name) > MAX_NAME_LENGTH or len(description) > MAX_DESCRIPTION_LENGTH:
            raise ListError(f"row {row}: name or description too long")
        sections[section - 1].append((name, description))
    for number, channels in enumerate(sections, start=1):
        if not channels:
            raise ListError(f"section {number} ({SECTION_ELEMENT_NAMES[number - 1]}) has no rows")
    return sections


def catalogue_text(sections):
    lines = ['<?xml version="1.0" encoding="UTF-8" ?>', "<Channels>"]
    for element, channels in zip(SECTION_ELEMENT_NAMES, sections):
        lines.append(f"    <{element}>")
        for name, description in channels:
            lines.append(f"        <Channel name={quoteattr(name)}"
                         f" description={quoteattr(description)} />")
        lines.append(f"    </{element}>")
    lines.append("</Channels>")
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) != 3:
        print(f"usage: {argv[0]} <channels.tsv> <Channels.xml>", file=sys.stderr)
        return 2
    source, target = argv[1], argv[2]
    try:
        sections = read_sections(source)
    except (ListError, UnicodeDecodeError) as error:
        print(f"{source}: {error}", file=sys.stderr)
        return 1
    temporary = target + ".tmp"
    with open(temporary, "w", encoding="utf-8", newline="\n") as out:
        out.write(catalogue_text(sections))
    os.replace(temporary, target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
