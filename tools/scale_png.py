#!/usr/bin/env python3
"""Scales a PNG picture to a square of SIZE pixels, each pixel a block of whole pixels
(nearest neighbour), for the page's app icons. The same input gives the same bytes.
Reads 8-bit greyscale, RGB, palette, and their forms with alpha, not interlaced. Pure
magenta is clear, as in the player's own pictures (its window icon).
Usage: scale_png.py IN.png SIZE OUT.png"""
import struct
import sys
import zlib

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunks(data):
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError('not a PNG file')
    at = 8
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, width, height, bpp):
    stride = width * bpp
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 0xFF
        rows.append(line)
        prev = line
    return rows


def read_rgba(path):
    header, palette, alpha, data = None, None, None, b''
    with open(path, 'rb') as f:
        for kind, body in chunks(f.read()):
            if kind == b'IHDR':
                header = struct.unpack('>IIBBBBB', body)
            elif kind == b'PLTE':
                palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
            elif kind == b'tRNS':
                alpha = body
            elif kind == b'IDAT':
                data += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or interlace or colour not in CHANNELS:
        raise ValueError('only 8-bit pictures without interlacing are read')
    bpp = CHANNELS[colour]
    pixels = []
    for line in unfilter(zlib.decompress(data), width, height, bpp):
        row = []
        for x in range(width):
            p = line[x * bpp:(x + 1) * bpp]
            if colour == 0:
                row.append((p[0], p[0], p[0], 255))
            elif colour == 4:
                row.append((p[0], p[0], p[0], p[1]))
            elif colour == 2:
                row.append((p[0], p[1], p[2], 255))
            elif colour == 6:
                row.append(tuple(p))
            else:
                a = alpha[p[0]] if alpha and p[0] < len(alpha) else 255
                row.append(palette[p[0]] + (a,))
        pixels.append(row)
    return width, height, pixels


def write_rgba(path, size, pixels):
    raw = b''.join(b'\x00' + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
           chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    source, size, target = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    width, height, pixels = read_rgba(source)
    clear = lambda p: (0, 0, 0, 0) if p[:3] == (255, 0, 255) else p
    scaled = [[clear(pixels[y * height // size][x * width // size]) for x in range(size)]
              for y in range(size)]
    write_rgba(target, size, scaled)


if __name__ == '__main__':
    main()
