#!/usr/bin/env python3
"""Writes small valid inputs into tests/fuzz/*/corpus/ so that a campaign starts
deep in each reader. Run once; scripts/fuzz.sh keeps whichever of them add
coverage when it minimises the corpus."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(here, target, "corpus")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def dib(width, height, bits, colours_used=0):
    """Info header, palette and rows of a bottom-up (negative height: top-down) DIB."""
    entries = colours_used or (1 << bits if bits <= 8 else 0)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2835, 2835, colours_used, 0)
    palette = b"".join(bytes([(i * 37) & 255, (i * 91) & 255, (i * 53) & 255, 0]) for i in range(entries))
    stride = (width * bits + 31) // 32 * 4
    rows = bytes((i * 29 + 7) & 255 for i in range(stride * abs(height)))
    return info + palette, rows


def bmp_file(width, height, bits, colours_used=0):
    head, rows = dib(width, height, bits, colours_used)
    offset = 14 + len(head)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + head + rows


for bits in (1, 4, 8, 24, 32):
    put("bmp", f"file_{bits}bit_3x2.bmp", bmp_file(3, 2, bits))
    head, rows = dib(3, 2, bits)
    put("bmp", f"packed_{bits}bit_3x2.dib", head + rows)
put("bmp", "file_4bit_5x3_topdown.bmp", bmp_file(5, -3, 4))
put("bmp", "file_4bit_6colours.bmp", bmp_file(4, 2, 4, colours_used=6))
head, rows = dib(2, -2, 24, colours_used=2)
put("bmp", "packed_24bit_topdown_palette.dib", head + rows)


def record(score, name, prefix=None):
    if prefix is None:
        prefix = bytes([len(name)])
    return struct.pack("<i", score) + prefix + name


defaults = b"".join(record(37000 - 2000 * i, b"CPU") for i in range(10))
assert defaults.hex().startswith("889000000343505" + "5b8880000")
put("highscores", "defaults.sav", defaults)
put("highscores", "short.sav", defaults[:43])
put("highscores", "trailing.sav", defaults + b"\x00\x00")
forms = [
    record(-5, b""),
    record(99999, b"Anna"),
    record(42, b"B" * 300, b"\xff" + struct.pack("<H", 300)),
    record(7, b"C" * 4, b"\xff\xff\xff" + struct.pack("<I", 4)),
    record(6, "Jürgen".encode("utf-16-le"), b"\xff\xfe\xff\x06"),
    record(5, "Zoë".encode("utf-16-le") * 100, b"\xff\xfe\xff\xff" + struct.pack("<H", 300)),
]
put("highscores", "prefixes.sav", b"".join(forms) + b"".join(record(1, b"x\xe4") for _ in range(4)))


def wav(channels, rate, bits, samples):
    align = channels * bits // 8
    data = bytes((i * 37 + 11) & 255 for i in range(samples * align))
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
    return (b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE" + b"fmt " + struct.pack("<I", 16) +
            fmt + b"data" + struct.pack("<I", len(data)) + data)


put("wav", "mono8_11025.wav", wav(1, 11025, 8, 40))
put("wav", "mono16_22050.wav", wav(1, 22050, 16, 64))
put("wav", "stereo16_44100.wav", wav(2, 44100, 16, 50))
put("wav", "stereo8_22050.wav", wav(2, 22050, 8, 30))
put("wav", "empty_data.wav", wav(1, 22050, 16, 0))
