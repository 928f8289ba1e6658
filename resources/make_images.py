#!/usr/bin/env python3
"""Draws the program's simple pictures into img/. Run it again after changing a picture."""
import math, struct, zlib, os

def png(path, w, h, pixel):
    rows = b''.join(b'\x00' + b''.join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
    data += chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b'')
    open(os.path.join('img', path), 'wb').write(data)

CLEAR = (0, 0, 0, 0)

def inside_rect(x, y, x0, y0, x1, y1):
    return x0 <= x <= x1 and y0 <= y <= y1

def arrow(x, y, s, down, colour):
    # a vertical arrow in a s x s square
    c = s / 2
    if down:
        y = s - 1 - y
    shaft = abs(x - c) <= s * 0.12 and s * 0.35 <= y <= s * 0.9
    head = y >= s * 0.1 and y < s * 0.5 and abs(x - c) <= (y - s * 0.1) * 0.9
    return colour if shaft or head else CLEAR

def page(x, y):
    if inside_rect(x, y, 3, 1, 12, 14) and not (x > 9 and y < 4 and x - 9 > y - 1):
        return (40, 40, 40, 255) if x in (3, 12) or y in (1, 14) else (250, 250, 250, 255)
    return CLEAR

def folder(x, y):
    if inside_rect(x, y, 1, 3, 6, 5) or inside_rect(x, y, 1, 5, 14, 13):
        return (200, 150, 40, 255) if y > 5 else (170, 120, 30, 255)
    return CLEAR

def floppy(x, y):
    if inside_rect(x, y, 1, 1, 14, 14):
        if inside_rect(x, y, 4, 2, 11, 6):
            return (230, 230, 230, 255)
        if inside_rect(x, y, 3, 9, 12, 14):
            return (250, 250, 250, 255)
        return (40, 70, 150, 255)
    return CLEAR

def exit_icon(x, y):
    if abs(x - y) <= 1 or abs(x - (15 - y)) <= 1:
        return (200, 30, 30, 255) if 2 <= x <= 13 else CLEAR
    return CLEAR

def info(x, y, s=16):
    c = (s - 1) / 2
    d = math.hypot(x - c, y - c)
    if d <= s / 2 - 0.5:
        dot = math.hypot(x - c, y - s * 0.28) <= s * 0.08
        bar = abs(x - c) <= s * 0.07 and s * 0.42 <= y <= s * 0.78
        return (255, 255, 255, 255) if dot or bar else (30, 90, 200, 255)
    return CLEAR

def big_arrow(down, colour):
    def f(x, y):
        if inside_rect(x, y, 4, 4, 67, 67) and (x in (4, 67) or y in (4, 67)):
            return (90, 90, 90, 255)
        return arrow(x - 8, y - 8, 56, down, colour) if inside_rect(x, y, 8, 8, 63, 63) else CLEAR
    return f

def logo(x, y):
    # the module: a dark box with an antenna, four relay LEDs and a terminal strip
    if inside_rect(x, y, 200, 20, 206, 80):
        return (60, 60, 60, 255)
    if inside_rect(x, y, 40, 70, 240, 220):
        if inside_rect(x, y, 60, 190, 220, 210):
            return (0, 120, 60, 255) if (x // 10) % 2 else (0, 90, 40, 255)
        for i in range(4):
            if math.hypot(x - (80 + 40 * i), y - 110) <= 8:
                return (255, 170, 0, 255)
        if inside_rect(x, y, 60, 140, 220, 165):
            return (0, 111, 0, 255)
        return (45, 50, 60, 255) if x in (40, 240) or y in (70, 220) else (70, 78, 92, 255)
    return CLEAR

def stamp(colour):
    def f(x, y):
        d = math.hypot(x - 31.5, y - 31.5)
        return colour if 24 <= d <= 30 or d <= 12 else CLEAR
    return f

png('page_icon.png', 16, 16, page)
png('open.png', 16, 16, folder)
png('save.png', 16, 16, floppy)
png('exit_icon.png', 16, 16, exit_icon)
png('info_icon.png', 16, 16, info)
png('InfoIcon.png', 32, 32, lambda x, y: info(x, y, 32))
png('up.png', 16, 16, lambda x, y: arrow(x, y, 16, False, (30, 120, 200, 255)))
png('down.png', 16, 16, lambda x, y: arrow(x, y, 16, True, (30, 150, 60, 255)))
png('icon_download.png', 72, 72, big_arrow(True, (30, 150, 60, 255)))
png('icon_upload.png', 72, 72, big_arrow(False, (30, 120, 200, 255)))
png('Tkm_720_logo.PNG', 281, 256, logo)
png('Rvl_410_stamp_high.png', 64, 64, stamp((200, 30, 30, 255)))
png('Rvl_410_stamp_low.png', 64, 64, stamp((30, 90, 200, 255)))
