#!/usr/bin/env python3
"""Writes the made-up seeds of the fuzz corpora in tests/fuzz/corpus: small files of each
kind the readers take, and the reproducers of faults found at the edges (a wave at one
sample per second, pictures whose headers claim huge sizes, ...). Run from the repository
root; the output is deterministic."""
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fuzz", "corpus")


def write(kind, name, data):
    folder = os.path.join(ROOT, kind)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- waves -------------------------------------------------------------------------------

def riff(fmt, data, extra=b"", data_size=None):
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + (b"\0" if len(fmt) % 2 else b"")
    body += extra + b"data" + struct.pack("<I", len(data) if data_size is None else data_size) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def fmt(tag, channels, rate, bits, block=None):
    block = block if block is not None else channels * ((bits + 7) // 8)
    return struct.pack("<HHIIHH", tag, channels, rate, (rate * block) & 0xFFFFFFFF, block, bits)


def tone(frames, width, channels=1):
    out = bytearray()
    for i in range(frames * channels):
        v = 6000 if (i // 8) % 2 else -6000
        if width == 1:
            out += bytes([(v >> 8) + 128])
        elif width == 2:
            out += struct.pack("<h", v)
        elif width == 3:
            out += struct.pack("<i", v << 8)[:3]
        else:
            out += struct.pack("<i", v << 16)
    return bytes(out)


MS_COEFFICIENTS = [256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232]


def waves():
    write("wave", "pcm16_mono_8k", riff(fmt(1, 1, 8000, 16), tone(400, 2)))
    write("wave", "pcm8_stereo_11k", riff(fmt(1, 2, 11025, 8), tone(300, 1, 2)))
    write("wave", "pcm24_mono_48k", riff(fmt(1, 1, 48000, 24), tone(200, 3)))
    write("wave", "pcm32_six_channels", riff(fmt(1, 6, 22050, 32), tone(50, 4, 6)))
    write("wave", "float_stereo", riff(fmt(3, 2, 44100, 32), struct.pack("<200f", *([0.25, -0.25] * 100))))
    write("wave", "alaw", riff(fmt(6, 1, 8000, 8), bytes(range(256))))
    write("wave", "mulaw_stereo", riff(fmt(7, 2, 8000, 8), bytes(range(256))))
    ms = fmt(2, 1, 8000, 4, 256) + struct.pack("<HHH", 32, 500, 7) + struct.pack("<14h", *MS_COEFFICIENTS)
    block = bytes([0]) + struct.pack("<hhh", 16, 0, 0) + bytes(range(249))
    write("wave", "ms_adpcm", riff(ms, block * 3))
    ima = fmt(0x11, 2, 22050, 4, 512) + struct.pack("<HH", 2, 505)
    write("wave", "ima_adpcm_stereo", riff(ima, bytes(512) * 2 + bytes(100)))
    ext = struct.pack("<HHIIHH", 0xFFFE, 2, 44100, 44100 * 4, 4, 16) + struct.pack("<HHI", 22, 16, 3)
    ext += struct.pack("<H", 1) + bytes([0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71])
    write("wave", "extensible_pcm", riff(ext, tone(100, 2, 2)))
    fact = b"fact" + struct.pack("<II", 4, 0xFFFFFFFF)
    write("wave", "fact_claims_too_much", riff(ms, block, extra=fact))
    write("wave", "data_claims_4gb", riff(fmt(1, 1, 22050, 16), tone(100, 2), data_size=0xFFFFFFFF))
    # The crash in the converter: 16-bit mono claiming one sample per second, 114,660 bytes.
    write("wave", "one_sample_per_second", riff(fmt(1, 1, 1, 16), tone((114660 - 44) // 2, 2)))
    write("wave", "rate_4gb", riff(fmt(1, 1, 0xFFFFFFFF, 16), tone(10, 2)))
    write("wave", "channels_255", riff(fmt(1, 255, 8000, 8), bytes(255 * 4)))
    write("wave", "block_align_huge", riff(fmt(1, 1, 8000, 16, 65535), tone(100, 2)))


# --- MIDI --------------------------------------------------------------------------------

def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, (n & 0x7F) | 0x80)
        n >>= 7
    return bytes(out)


def smf(fmt_, division, tracks):
    out = b"MThd" + struct.pack(">IHHH", 6, fmt_, len(tracks), division)
    for t in tracks:
        out += b"MTrk" + struct.pack(">I", len(t)) + t
    return out


def midis():
    notes = b"".join(vlq(0) + bytes([0x90, 60 + i, 100]) + vlq(240) + bytes([0x80, 60 + i, 0]) for i in range(8))
    tempo = vlq(0) + b"\xff\x51\x03\x07\xa1\x20"
    end = vlq(0) + b"\xff\x2f\x00"
    write("midi", "format0", smf(0, 480, [tempo + notes + end]))
    write("midi", "format1", smf(1, 96, [tempo + end, notes + end, vlq(1000) + bytes([0xC0, 5]) + end]))
    write("midi", "smpte", smf(0, 0xE728, [notes + end]))
    running = vlq(0) + bytes([0x90, 60, 100]) + vlq(100) + bytes([62, 100]) + vlq(100) + bytes([60, 0])
    write("midi", "running_status", smf(0, 480, [running + vlq(0) + b"\xf0\x03\x01\x02\xf7" + end]))
    write("midi", "huge_delta", smf(0, 1, [vlq(0x0FFFFFFF) + b"\xff\x2f\x00"]))
    write("midi", "slow_tempo", smf(0, 1, [vlq(0) + b"\xff\x51\x03\xff\xff\xff" + vlq(0x0FFFFFFF) + b"\xff\x2f\x00"]))
    write("midi", "cut_short", smf(0, 480, [tempo + notes + end])[:-7])
    write("midi", "track_length_lies", b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk\xff\xff\xff\xff" + notes)


# --- pictures ----------------------------------------------------------------------------

def bmp(width, height, bits=24, pixels=None, header=40):
    row = (width * bits // 8 + 3) & ~3
    data = pixels if pixels is not None else bytes(row * abs(height))
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + data


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, colour=2, rows=None, interlace=0, extra=b""):
    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour, 0, 0, interlace)
    channels = {0: 1, 2: 3, 3: 1, 6: 4}[colour]
    raw = rows if rows is not None else b"".join(b"\0" + bytes((x * 40 + y * 7) % 256 for x in range(width * channels)) for y in range(height))
    return b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra + png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b"")


def gif(width, height, image_width=None, image_height=None, extensions=b""):
    image_width = image_width or width
    image_height = image_height or height
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80, 0, 0) + b"\0\0\0\xff\xff\xff" + extensions
    return out + b"," + struct.pack("<HHHHB", 0, 0, image_width, image_height, 0) + b"\x02\x02\x4c\x01\x00;"


def pictures():
    write("picture", "bmp24_4x3", bmp(4, 3, 24, bytes(range(48))))
    write("picture", "bmp32_top_down", bmp(3, -2, 32, bytes(range(24))))
    write("picture", "bmp8_palette", bmp(2, 2, 8, bytes(8)).replace(struct.pack("<I", 0) * 2, struct.pack("<I", 2) * 2, 1))
    write("picture", "bmp_os2", bmp(2, 2, 24, bytes(16), header=12))
    write("picture", "gif_1x1", b"GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;")
    write("picture", "gif_with_comment", gif(4, 4, extensions=b"!\xfe\x05hello\x00"))
    write("picture", "gif_image_smaller_than_screen", gif(40, 30, 2, 2))
    write("picture", "png_rgb", png(3, 2))
    write("picture", "png_rgba", png(2, 2, 6))
    write("picture", "png_grey_interlaced", png(1, 1, 0, b"\0\x80", 1))
    write("picture", "png_palette", png(2, 1, 3, b"\0\x00\x01", extra=png_chunk(b"PLTE", b"\xff\0\0\0\xff\0")))
    # jpeg_8x6 beside these was saved once by the image library's JPEG writer (8 x 6, quality 50).
    # Reproducers: headers claiming sizes no picture area needs.
    write("picture", "bmp_30000x17896", bmp(30000, 17896, 32, b""))
    write("picture", "gif_65535x65535", gif(65535, 65535))
    write("picture", "png_20000x20000", png(20000, 20000, 0, b"\0\0"))
    write("picture", "png_1000000_wide", png(1000000, 1, 0, b"\0\0"))
    broken = bytearray(png(3, 2))
    broken[broken.index(b"IDAT") + 4] ^= 0x55
    write("picture", "png_corrupt", bytes(broken))


if __name__ == "__main__":
    waves()
    midis()
    pictures()
