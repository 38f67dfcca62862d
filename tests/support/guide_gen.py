#!/usr/bin/env python3
"""Programme guides in the XMLTV format, for the tests (the stream zoo serves its cases)
and the guide benchmark.

As a module: case(name, start) gives the bytes of one case; CASES names them.
As a command:
    guide_gen.py case NAME START            one case to standard output
    guide_gen.py big OUT.xml.gz START [--channels N] [--programmes N]
                                            a large gzip guide written as it is made

The small cases hold three channels, one.example ("Channel One HD"), two.example
("Two") and three.example ("Three"), each with four half-hour programmes from START
(seconds since 1970, UTC) on, titled "One 1" ... "Three 4".
"""

import gzip
import random
import sys
import time
import zlib
from xml.sax.saxutils import escape, quoteattr

HALF_HOUR = 1800
CHANNELS = [("one.example", ["Channel One HD", "Channel One"]), ("two.example", ["Two"]),
            ("three.example", ["Three"])]
PROGRAMMES = 4
BIG_DESCRIPTION = 5 * 1024 * 1024
HEADER = '<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE tv SYSTEM "xmltv.dtd">\n'


def stamp(seconds, zone_minutes=0, with_zone=True, zone_name=None):
    """XMLTV time of an instant, written in the given zone (by its name when given)."""
    text = time.strftime("%Y%m%d%H%M%S", time.gmtime(seconds + zone_minutes * 60))
    if zone_name:
        return "%s %s" % (text, zone_name)
    if not with_zone:
        return text
    sign = "-" if zone_minutes < 0 else "+"
    return "%s %s%02d%02d" % (text, sign, abs(zone_minutes) // 60, abs(zone_minutes) % 60)


def channel_xml(cid, names, icon=True):
    out = "  <channel id=%s>\n" % quoteattr(cid)
    out += "".join("    <display-name>%s</display-name>\n" % escape(n) for n in names)
    if icon:
        out += '    <icon src="http://logos.example/%s.png"/>\n' % cid
    return out + "  </channel>\n"


def programme_xml(cid, start, stop, title, zone=0, with_zone=True, description="", other_titles=(),
                  zone_name=None):
    attrs = 'start="%s"' % stamp(start, zone, with_zone, zone_name)
    if stop is not None:
        attrs += ' stop="%s"' % stamp(stop, zone, with_zone, zone_name)
    out = "  <programme %s channel=%s>\n" % (attrs, quoteattr(cid))
    for lang, other in other_titles:
        out += '    <title lang="%s">%s</title>\n' % (lang, escape(other))
    out += '    <title lang="en">%s</title>\n' % escape(title)
    out += '    <sub-title lang="en">Part of %s</sub-title>\n' % escape(title)
    out += '    <desc lang="en">%s</desc>\n' % escape(description or "About " + title)
    out += '    <category lang="en">News</category>\n'
    out += '    <episode-num system="xmltv_ns">0.%d.0/1</episode-num>\n' % (int(title.split()[-1]) - 1)
    return out + "  </programme>\n"


# Zones by name, as the format's own example writes them: one.example in British summer
# time, two.example in a zone no table knows (read as UTC), three.example in New York's.
NAMED_ZONES = [(60, "BST"), (0, "XYZ"), (-300, "EST")]


def small_guide(start, early=False, zones=False, stops=True, overlap=False, ghost=False, big_description=False,
                named_zones=False):
    channels = "".join(channel_xml(cid, names) for cid, names in CHANNELS)
    programmes = ""
    for index, (cid, names) in enumerate(CHANNELS):
        label = names[-1].split()[-1]
        for n in range(PROGRAMMES):
            begin = start + n * HALF_HOUR
            if overlap and n == 1:
                begin -= HALF_HOUR // 3  # starts ten minutes before the first one ends
            zone = [60, 0, -330][index] if zones else 0
            zone_name = None
            if named_zones:
                zone, zone_name = NAMED_ZONES[index]
            programmes += programme_xml(
                cid, begin, begin + HALF_HOUR if stops else None, "%s %d" % (label, n + 1), zone,
                with_zone=not (zones and index == 1),
                description="x" * BIG_DESCRIPTION if big_description and n == 0 else "",
                other_titles=[("de", "Eins %d" % (n + 1))] if index == 0 else (), zone_name=zone_name)
    if ghost:
        programmes += programme_xml("ghost.example", start, start + HALF_HOUR, "Ghost 1")
    body = programmes + channels if early else channels + programmes
    return (HEADER + '<tv generator-info-name="korvanta-tests">\n' + body + "</tv>\n").encode()


BOMB = (b'<?xml version="1.0"?>\n<!DOCTYPE tv [\n <!ENTITY a "aaaaaaaaaa">\n'
        b' <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">\n <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">\n'
        b' <!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">\n]>\n'
        b'<tv><channel id="one.example"><display-name>&d;</display-name></channel></tv>\n')
EXTERNAL = (b'<?xml version="1.0"?>\n<!DOCTYPE tv [\n <!ENTITY secret SYSTEM "file:///etc/passwd">\n]>\n'
            b'<tv><channel id="one.example"><display-name>&secret;</display-name></channel></tv>\n')
PAGE = b"<!DOCTYPE html>\n<html><head><title>Guide</title></head><body>Sign in</body></html>\n"
OTHER = b'<?xml version="1.0"?>\n<rss version="2.0"><channel><title>News</title></channel></rss>\n'


def truncated(data):
    """gzip that stops after the first half of the document (flushed there, so that half
    can be read) and a few bytes of the rest."""
    packer = zlib.compressobj(wbits=31)
    half = packer.compress(data[:len(data) // 2]) + packer.flush(zlib.Z_FULL_FLUSH)
    rest = packer.compress(data[len(data) // 2:]) + packer.flush()
    return half + rest[:len(rest) // 2]


DAMAGED_LINE = 15001


def damaged_late(start):
    """The small guide, then programmes of three.example, which the tests do not watch, up
    to a bare ampersand in a title of one.example on line DAMAGED_LINE."""
    body = small_guide(start).decode()[:-len("</tv>\n")]
    at = start + PROGRAMMES * HALF_HOUR
    while body.count("\n") < DAMAGED_LINE - 10:
        body += programme_xml("three.example", at, at + HALF_HOUR, "Three %d" % (PROGRAMMES + 1))
        at += HALF_HOUR
    body += "\n" * (DAMAGED_LINE - 2 - body.count("\n"))
    end = start + (PROGRAMMES + 1) * HALF_HOUR
    body += '  <programme start="%s" stop="%s" channel="one.example">\n' % (stamp(end - HALF_HOUR), stamp(end))
    return (body + '    <title lang="en">One 5 & More</title>\n  </programme>\n</tv>\n').encode()


CASES = {
    "plain.xml": lambda s: small_guide(s),
    "gzip.xml.gz": lambda s: gzip.compress(small_guide(s), mtime=0),
    "double.xml.gz": lambda s: gzip.compress(gzip.compress(small_guide(s), mtime=0), mtime=0),
    "truncated.xml.gz": lambda s: truncated(small_guide(s)),
    "early.xml": lambda s: small_guide(s, early=True),
    "zones.xml": lambda s: small_guide(s, zones=True),
    "nostop.xml": lambda s: small_guide(s, stops=False),
    "overlap.xml": lambda s: small_guide(s, overlap=True),
    "unknown.xml": lambda s: small_guide(s, ghost=True),
    "bigdesc.xml": lambda s: small_guide(s, big_description=True),
    "named.xml": lambda s: small_guide(s, named_zones=True),
    "yesterday.xml": lambda s: small_guide(s - 86400),
    "past.xml": lambda s: small_guide(s - 40 * 86400),
    "late.xml": damaged_late,
    "bomb.xml": lambda s: BOMB,
    "external.xml": lambda s: EXTERNAL,
    "page.html": lambda s: PAGE,
    "other.xml": lambda s: OTHER,
}


def case(name, start):
    return CASES[name](start)


WORDS = ("news weather sport evening morning report live special world local today film series "
         "documentary history nature science music talk show kitchen travel garden house market "
         "journal update story family drama comedy mystery classic night city country").split()


def big(path, start, channels=10000, programmes=1000000):
    """A guide the size of a large provider's: channels first, then each channel's
    programmes in time order, each with a title, sub-title, description and category."""
    rng = random.Random(7)
    per_channel = programmes // channels
    with gzip.open(path, "wb", compresslevel=6) as out:
        out.write((HEADER + "<tv>\n").encode())
        out.write("".join(channel_xml("ch%05d.example" % c, ["Channel %d" % c])
                          for c in range(channels)).encode())
        for c in range(channels):
            cid = "ch%05d.example" % c
            at = start - 2 * 86400 + rng.randrange(0, HALF_HOUR)
            block = []
            for n in range(per_channel):
                length = rng.choice((HALF_HOUR, 2 * HALF_HOUR, 3 * HALF_HOUR))
                title = " ".join(rng.choice(WORDS) for _ in range(3)).title()
                words = " ".join(rng.choice(WORDS) for _ in range(20))
                block.append(
                    '  <programme start="%s" stop="%s" channel="%s">\n'
                    '    <title lang="en">%s %d</title>\n    <sub-title lang="en">%s</sub-title>\n'
                    '    <desc lang="en">%s.</desc>\n    <category lang="en">%s</category>\n'
                    '    <episode-num system="xmltv_ns">%d.%d.0/1</episode-num>\n  </programme>\n'
                    % (stamp(at), stamp(at + length), cid, title, n + 1, rng.choice(WORDS).title(),
                       words.capitalize(), rng.choice(WORDS).title(), n // 20, n % 20))
                at += length
            out.write("".join(block).encode())
        out.write(b"</tv>\n")


def main(argv):
    if len(argv) >= 3 and argv[0] == "case":
        sys.stdout.buffer.write(case(argv[1], int(argv[2])))
        return 0
    if len(argv) >= 3 and argv[0] == "big":
        options = dict(zip(argv[3::2], argv[4::2]))
        big(argv[1], int(argv[2]), int(options.get("--channels", 10000)),
            int(options.get("--programmes", 1000000)))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
