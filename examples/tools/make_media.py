#!/usr/bin/env python3
"""Writes the small pictures (24-bit BMP) and sounds (8-bit mono WAV) of the
sample knowledge bases. Run from the repository root:

    python3 examples/tools/make_media.py

Only the standard library is used; the output is the same on every run.
"""
import math
import os
import struct
import wave


def bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b); y = 0 is the top row."""
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):          # bottom-up rows
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def wav(path, notes, rate=8000):
    """notes: (frequency in Hz or 0 for silence, milliseconds) pairs."""
    frames = bytearray()
    for freq, ms in notes:
        n = rate * ms // 1000
        for i in range(n):
            fade = min(1.0, i / 80, (n - i) / 80)  # no clicks at the edges
            v = math.sin(2 * math.pi * freq * i / rate) if freq else 0.0
            frames.append(int(128 + 90 * fade * v))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


# ---- pictures ----

def leaf(colour, spots=None):
    cx, cy = 24, 24

    def pixel(x, y):
        dx, dy = (x - cx) / 18.0, (y - cy) / 10.0
        # a leaf: an ellipse turned 45 degrees, with a midrib
        u, v = (dx + dy) / 1.4, (dy - dx) / 1.4 * 2.2
        if u * u + v * v <= 1.0:
            if abs(x - y) <= 0:
                return (240, 240, 200)
            if spots and (x * 7 + y * 13) % 17 == 0:
                return spots
            return colour
        return (250, 250, 245)
    return pixel


def droplet(x, y):
    dx, dy = x - 24, y - 28
    if dx * dx + dy * dy <= 144 or (y < 28 and abs(dx) <= (y - 6) * 12 // 22 and y >= 6):
        return (40, 110, 220)
    return (250, 250, 245)


def sun(x, y):
    dx, dy = x - 24, y - 24
    d = dx * dx + dy * dy
    if d <= 100:
        return (250, 200, 30)
    if d <= 400 and (abs(dx) <= 1 or abs(dy) <= 1 or abs(dx - dy) <= 1 or abs(dx + dy) <= 1):
        return (240, 160, 20)
    return (200, 230, 255)


def bug(x, y):
    dx, dy = x - 24, y - 26
    if (dx * dx) / 100 + (dy * dy) / 196 <= 1:
        return (30, 30, 30) if abs(dx) <= 0 else (190, 30, 30)
    if (dx * dx + (y - 10) ** 2) <= 25:
        return (30, 30, 30)
    return (250, 250, 245)


def check(x, y):
    on = (x >= 8 and abs(y - (x + 14)) <= 2 and x <= 20) or (x >= 20 and abs(y - (54 - x)) <= 2 and x <= 42)
    return (30, 150, 60) if on else (250, 250, 245)


def small_box(x, y):
    return (200, 60, 60) if 2 <= x <= 13 and 2 <= y <= 13 else (255, 255, 255)


# ---- sounds ----

CHIME = [(660, 150), (880, 150), (990, 200)]
ALARM = [(440, 120), (0, 60), (440, 120), (0, 60), (440, 200)]
SOFT = [(523, 180), (659, 180)]


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    g = os.path.join(root, 'garden', 'GRAPHICS', 'garden')
    bmp(os.path.join(g, 'yellow_leaves.bmp'), 48, 48, leaf((220, 200, 40)))
    bmp(os.path.join(g, 'healthy.bmp'), 48, 48, leaf((40, 160, 60)))
    bmp(os.path.join(g, 'overwatering.bmp'), 48, 48, droplet)
    bmp(os.path.join(g, 'sunburn.bmp'), 48, 48, sun)
    bmp(os.path.join(g, 'pests.bmp'), 48, 48, bug)
    bmp(os.path.join(g, 'leaf_spot.bmp'), 48, 48, leaf((60, 150, 60), spots=(90, 50, 20)))
    bmp(os.path.join(g, 'repotted.bmp'), 48, 48, check)
    s = os.path.join(root, 'garden', 'SOUNDS', 'garden')
    wav(os.path.join(s, 'chime.wav'), CHIME)
    wav(os.path.join(s, 'alarm.wav'), ALARM)
    wav(os.path.join(s, 'soft.wav'), SOFT)

    # The test scenarios need only valid, tiny files.
    scen = os.path.join(root, '..', 'tests', 'scenarios')
    for case, kb, pic, snd in [('advice_offer', 'car', 'battery.bmp', 'beep.wav')]:
        bmp(os.path.join(scen, case, 'kb', 'GRAPHICS', kb, pic), 16, 16, small_box)
        wav(os.path.join(scen, case, 'kb', 'SOUNDS', kb, snd), [(880, 120)])


if __name__ == '__main__':
    main()
