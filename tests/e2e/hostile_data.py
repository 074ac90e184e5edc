#!/usr/bin/env python3
"""Writes import sources that claim far more pixels than their bytes hold, for the safety tests and
the import fuzzer's seeds.

  hostile_data.py frames DIR COUNT SIDE  DIR/bomb.json: COUNT frames of SIDE x SIDE, each over the
                                         whole of DIR/bomb.png, an indexed SIDE x SIDE sheet
  hostile_data.py png FILE SIDE PAD      a SIDE x SIDE 1-bit grey PNG (RGBA once decoded), padded
                                         with a private chunk to PAD bytes
  hostile_data.py short-png FILE SIDE PAD  a SIDE x SIDE indexed PNG whose image data stops after
                                         a few rows, padded to PAD bytes
  hostile_data.py rle FILE SIDE PAD      a SIDE x SIDE RLE8 bitmap whose pixels end at once (all
                                         blank), padded after its end mark to PAD bytes
  hostile_data.py wave FILE TAG CHANNELS RATE BITS BYTES  a RIFF WAVE of that format holding
                                         BYTES bytes of samples
"""
import json
import struct
import sys
import zlib


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def png(width, height, depth, colour_type, rows, palette=b"", pad_to=0):
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    parts = [b"\x89PNG\r\n\x1a\n", chunk(b"IHDR", header)]
    if palette:
        parts.append(chunk(b"PLTE", palette))
    parts.append(chunk(b"IDAT", rows))
    end = chunk(b"IEND", b"")
    size = sum(map(len, parts)) + len(end)
    if pad_to > size + 12:
        parts.append(chunk(b"prVt", bytes(pad_to - size - 12)))
    return b"".join(parts) + end


def blank_rows(row_bytes, count):
    """The deflated rows of a blank picture, a filter byte before each, made a row at a time."""
    packer = zlib.compressobj(9)
    row = bytes(1 + row_bytes)
    return b"".join(packer.compress(row) for _ in range(count)) + packer.flush()


def frames_bomb(folder, count, side):
    grey = bytes(value for i in range(256) for value in (i, i, i))
    with open(f"{folder}/bomb.png", "wb") as out:
        out.write(png(side, side, 8, 3, blank_rows(side, side), grey))
    frame = {"x": 0, "y": 0, "width": side, "height": side, "hotX": 0, "hotY": 0}
    description = {"image": "bomb.png", "rate": 10, "key": 0,
                   "palette": [[i, i, i] for i in range(256)], "frames": [frame] * count}
    with open(f"{folder}/bomb.json", "w") as out:
        json.dump(description, out)


def png_bomb(path, side, pad_to):
    with open(path, "wb") as out:
        out.write(png(side, side, 1, 0, blank_rows((side + 7) // 8, side), pad_to=pad_to))


def short_png(path, side, pad_to):
    grey = bytes(value for i in range(256) for value in (i, i, i))
    rows = zlib.compress(bytes(side + 1) * 4, 9)
    with open(path, "wb") as out:
        out.write(png(side, side, 8, 3, rows, grey, pad_to))


def rle_bomb(path, side, pad_to):
    table = bytes(value for i in range(256) for value in (i, i, i, 0))
    pixels = b"\x00\x01"  # the end of the picture: every pixel is left blank
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 8, 1, len(pixels), 2835, 2835, 256, 0)
    body = info + table + pixels
    size = max(14 + len(body), pad_to)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", size, 0, 0, offset) + body)
        out.write(bytes(size - 14 - len(body)))


def wave(path, tag, channels, rate, bits, size):
    align = max(1, channels * bits // 8)
    fmt = struct.pack("<HHIIHHH", tag, channels, rate, rate * align, align, bits, 0)
    body = (b"WAVEfmt " + struct.pack("<I", len(fmt)) + fmt + b"data" +
            struct.pack("<I", size) + bytes([128]) * size)
    with open(path, "wb") as out:
        out.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def main():
    kind, target, *numbers = sys.argv[1:]
    numbers = [int(n) for n in numbers]
    {"frames": frames_bomb, "png": png_bomb, "short-png": short_png,
     "rle": rle_bomb, "wave": wave}[kind](target, *numbers)


if __name__ == "__main__":
    main()
