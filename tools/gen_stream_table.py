#!/usr/bin/env python3
"""Generates the built-in, Blowfish-encrypted stream address table.

Usage: gen_stream_table.py <channel list .tsv> <output .cpp>

The list is UTF-8, tab-separated, with a header line naming at least the columns
section, position and url. Every section 1..22 must list its positions 0..n-1 without
gaps. Each distinct address becomes one encrypted entry (UTF-8, a zero byte, zero
padding to whole 8-byte blocks, ECB with the program's key); slots with the same
address refer to the same entry. The output depends only on the list.
"""
import sys

KEY = b"w4kp9z"
SECTION_COUNT = 22
MAX_ADDRESS_UNITS = 259  # the reader converts into 260 UTF-16 units, terminator included
ROUNDS = 16


class ListError(Exception):
    pass


def pi_hex_words(count):
    """The first `count` 32-bit words of the fraction of pi, the cipher's initial values."""
    bits = 32 * count + 64  # guard bits absorb the truncation of the series

    def arctan_inverse(x):
        one = 1 << bits
        term = one // x
        total = term
        x_squared = x * x
        n = 1
        sign = -1
        while term:
            term //= x_squared
            total += sign * (term // (2 * n + 1))
            sign = -sign
            n += 1
        return total

    pi = 16 * arctan_inverse(5) - 4 * arctan_inverse(239)
    fraction = (pi >> 64) & ((1 << (32 * count)) - 1)
    return [(fraction >> (32 * (count - 1 - i))) & 0xFFFFFFFF for i in range(count)]


class Blowfish:
    def __init__(self, key):
        words = pi_hex_words(18 + 4 * 256)
        self.p = words[:18]
        self.s = [words[18 + 256 * i:18 + 256 * (i + 1)] for i in range(4)]
        for i in range(18):
            chunk = 0
            for j in range(4):
                chunk = (chunk << 8) | key[(4 * i + j) % len(key)]
            self.p[i] ^= chunk
        left = right = 0
        for i in range(0, 18, 2):
            left, right = self.encrypt_block(left, right)
            self.p[i], self.p[i + 1] = left, right
        for box in self.s:
            for i in range(0, 256, 2):
                left, right = self.encrypt_block(left, right)
                box[i], box[i + 1] = left, right

    def f(self, x):
        s = self.s
        h = (s[0][x >> 24] + s[1][(x >> 16) & 0xFF]) & 0xFFFFFFFF
        return ((h ^ s[2][(x >> 8) & 0xFF]) + s[3][x & 0xFF]) & 0xFFFFFFFF

    def encrypt_block(self, left, right):
        for i in range(ROUNDS):
            left ^= self.p[i]
            right ^= self.f(left)
            left, right = right, left
        left, right = right, left
        right ^= self.p[16]
        left ^= self.p[17]
        return left, right

    def encrypt_buffer(self, data):
        out = bytearray()
        for offset in range(0, len(data) - len(data) % 8, 8):
            left = int.from_bytes(data[offset:offset + 4], "big")
            right = int.from_bytes(data[offset + 4:offset + 8], "big")
            left, right = self.encrypt_block(left, right)
            out += left.to_bytes(4, "big") + right.to_bytes(4, "big")
        return bytes(out)


def check_address(address, row):
    where = f"row {row}"
    if not address:
        raise ListError(f"{where}: the address is empty")
    if "\0" in address:
        raise ListError(f"{where}: the address contains a zero byte, which would cut it short")
    for ch in address:
        if ord(ch) < 0x20 or 0x7F <= ord(ch) <= 0x9F:
            raise ListError(f"{where}: the address contains the control character U+{ord(ch):04X}")
    units = len(address.encode("utf-16-le")) // 2
    if units > MAX_ADDRESS_UNITS:
        raise ListError(f"{where}: the address is {units} UTF-16 units long, "
                        f"more than {MAX_ADDRESS_UNITS}")
    if address != address.rstrip():
        raise ListError(f"{where}: the address ends in white space, which the reader removes")


def read_list(path):
    """Returns 22 lists of addresses, by section index, from the channel list. Reports
    every broken row at once; rows are counted from 1, the header being row 1."""
    try:
        with open(path, "rb") as f:
            lines = f.read().split(b"\n")
    except OSError as e:
        raise ListError(e.strerror)
    if lines and lines[-1] == b"":
        lines.pop()
    if not lines:
        raise ListError("the list is empty")
    header = lines[0].rstrip(b"\r").decode("utf-8", "replace").split("\t")
    missing = [name for name in ("section", "position", "url") if name not in header]
    if missing:
        raise ListError("the header lacks the column " + ", ".join(missing))
    columns = {name: header.index(name) for name in ("section", "position", "url")}

    sections = [[] for _ in range(SECTION_COUNT)]
    next_position = [0] * SECTION_COUNT
    errors = []
    for row, raw in enumerate(lines[1:], start=2):
        try:
            read_row(raw, row, header, columns, sections, next_position)
        except ListError as e:
            errors.append(str(e))
    if errors:
        raise ListError("\n".join(errors))
    return sections


def read_row(raw, row, header, columns, sections, next_position):
    try:
        line = raw.rstrip(b"\r").decode("utf-8")
    except UnicodeDecodeError as e:
        raise ListError(f"row {row}: not valid UTF-8 at byte {e.start}")
    fields = line.split("\t")
    if len(fields) < len(header):
        raise ListError(f"row {row}: {len(fields)} fields, the header has {len(header)}")
    try:
        section = int(fields[columns["section"]])
        position = int(fields[columns["position"]])
    except ValueError:
        raise ListError(f"row {row}: section and position must be whole numbers")
    if not 1 <= section <= SECTION_COUNT:
        raise ListError(f"row {row}: section {section} is outside 1..{SECTION_COUNT}")
    expected = next_position[section - 1]
    next_position[section - 1] = position + 1
    if position != expected:
        raise ListError(f"row {row}: section {section} expects position {expected}, not {position}")
    address = fields[columns["url"]]
    sections[section - 1].append(address)
    check_address(address, row)


def plaintext(address):
    data = address.encode("utf-8") + b"\0"
    return data + b"\0" * (-len(data) % 8)


def c_bytes(data):
    lines = []
    for offset in range(0, len(data), 16):
        lines.append("    " + ", ".join(f"0x{b:02x}" for b in data[offset:offset + 16]) + ",")
    return "\n".join(lines)


def render(sections):
    cipher = Blowfish(KEY)
    entry_of = {}
    order = []
    for slots in sections:
        for address in slots:
            if address not in entry_of:
                entry_of[address] = len(order)
                order.append(address)

    out = ["// Generated by tools/gen_stream_table.py from the channel list. Do not edit.",
           '#include "StreamTableData.h"', "", "namespace {", ""]
    for index, address in enumerate(order):
        data = cipher.encrypt_buffer(plaintext(address))
        out.append(f"const unsigned char kCipher{index}[{len(data)}] = {{")
        out.append(c_bytes(data))
        out.append("};")
        out.append(f"const StreamEntry kEntry{index} = {{{len(data)}u, kCipher{index}}};")
        out.append("")
    for number, slots in enumerate(sections, start=1):
        if not slots:
            continue
        out.append(f"const StreamEntry* const kSection{number}[{len(slots)}] = {{")
        for address in slots:
            out.append(f"    &kEntry{entry_of[address]},")
        out.append("};")
    out += ["", "} // namespace", "", "extern const StreamSectionTable kStreamSections[kSectionCount] = {"]
    for number, slots in enumerate(sections, start=1):
        if slots:
            out.append(f"    {{kSection{number}, {len(slots)}u}},")
        else:
            out.append("    {nullptr, 0u},")
    out.append("};")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) != 3:
        print("usage: gen_stream_table.py <channel list .tsv> <output .cpp>", file=sys.stderr)
        return 2
    try:
        text = render(read_list(argv[1]))
    except ListError as e:
        for line in str(e).split("\n"):
            print(f"gen_stream_table: {argv[1]}: {line}", file=sys.stderr)
        return 1
    with open(argv[2], "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
