#!/usr/bin/python3
"""Draws every bitmap of Tamzelon and its icon.

    /usr/bin/python3 resources/art/generate_art.py [--preview DIR]

Writes resources/bitmaps/BMP_*.bmp (Windows bitmaps at the sizes and depths the
game loads) and resources/icon/ (icon128.bmp, 32-bit with alpha, and PNGs for the
desktop). With --preview it also writes contact sheets and mock screens to DIR,
as the game would show them: RGB565, black keyed out. Needs Debian's python3-pil
and the fonts in resources/fonts; every random choice is seeded, so the output
is the same on every run.

The game draws every image with colour key 0: pure black is transparent. So a
pixel meant to be seen is never darker than INK_FLOOR (it must survive RGB565 and
the 3-3-2 palette of the 8-bit mode), and a pixel meant to be transparent is
exactly (0, 0, 0).
"""

import argparse
import math
import os
import random
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)
FONT_BOLD = os.path.join(RESOURCES, "fonts", "LiberationSans-Bold.ttf")
FONT_REGULAR = os.path.join(RESOURCES, "fonts", "LiberationSans-Regular.ttf")

SS = 4  # supersampling of shapes; text is hinted at its real size instead
INK_FLOOR = 32
GAME_GREEN = (0, 32, 0)  # raw 0x0100 in RGB565

GOLD_LIGHT = (255, 232, 150)
GOLD = (226, 176, 72)
GOLD_DARK = (132, 86, 28)
RED = (205, 32, 28)
CREAM = (236, 226, 204)


# ---------------------------------------------------------------- helpers


def font(size, bold=True):
    return ImageFont.truetype(FONT_BOLD if bold else FONT_REGULAR, size)


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(clamp(a[i] + (b[i] - a[i]) * t) for i in range(3))


def scale(c, f):
    return tuple(clamp(v * f) for v in c)


def ink(c):
    """Lifts a visible colour to the floor, keeping its hue."""
    m = max(c[0], c[1], c[2] / 2)
    if m >= INK_FLOOR:
        return c
    if m == 0:
        return (INK_FLOOR, INK_FLOOR, INK_FLOOR)
    return tuple(min(255, math.ceil(v * INK_FLOOR / m)) for v in c)


def keyed(rgba, alpha_cut=None):
    """Flattens an RGBA picture onto black and applies the colour-key rules.

    alpha_cut None suits pictures shown on black: what would look darker than
    the floor becomes transparent, everything else keeps its look on black.
    A number suits pictures on the green game screen: pixels less covered than
    that are cut, so no dark halo is left around them."""
    w, h = rgba.size
    src = rgba.load()
    out = Image.new("RGB", (w, h))
    dst = out.load()
    for y in range(h):
        for x in range(w):
            r, g, b, a = src[x, y]
            f = a / 255.0
            c = (r * f, g * f, b * f)
            if alpha_cut is not None:
                visible = a >= alpha_cut * 255
            else:
                visible = max(c[0], c[1], c[2] / 2) >= INK_FLOOR / 2
            dst[x, y] = ink(tuple(clamp(v) for v in c)) if visible else (0, 0, 0)
    return out


def layer(w, h):
    return Image.new("RGBA", (w, h), (0, 0, 0, 0))


def solid(w, h, colour, mask):
    """A layer of one colour, covering what the mask covers."""
    out = Image.new("RGBA", (w, h), colour + (255,))
    out.putalpha(mask)
    return out


def vgradient(w, h, stops):
    """Vertical gradient through (position 0..1, colour) stops."""
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            (t0, c0), (t1, c1) = stops[i], stops[i + 1]
            if t <= t1 or i == len(stops) - 2:
                c = mix(c0, c1, 0 if t1 == t0 else (t - t0) / (t1 - t0))
                break
        for x in range(w):
            px[x, y] = c
    return img


def painted(img, mask):
    """The RGB picture, covering what the mask covers."""
    out = img.convert("RGBA")
    out.putalpha(mask)
    return out


def over(*layers):
    base = layers[0]
    for top in layers[1:]:
        base = Image.alpha_composite(base, top)
    return base


def shrink(img, w, h):
    return img.resize((w, h), Image.BOX)


def rounded_mask(w, h, box, radius):
    """Antialiased rounded rectangle; box and radius in pixels (floats)."""
    big = Image.new("L", (w * SS, h * SS), 0)
    x0, y0, x1, y1 = box
    ImageDraw.Draw(big).rounded_rectangle(
        (x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1), radius=radius * SS, fill=255
    )
    return shrink(big, w, h)


def shifted(mask, dx, dy):
    """The mask moved by (dx, dy); what moves out is lost, what comes in is empty."""
    out = Image.new(mask.mode, mask.size, 0)
    out.paste(mask, (dx, dy))
    return out


def text_width(text, fnt, spacing=0):
    d = ImageDraw.Draw(Image.new("L", (1, 1)))
    if spacing == 0:
        return d.textlength(text, font=fnt)
    return sum(d.textlength(ch, font=fnt) for ch in text) + spacing * (len(text) - 1)


def text_mask(w, h, text, fnt, centre=None, at=None, spacing=0):
    """Hinted, antialiased text, drawn at its real size so it stays sharp.

    centre puts the middle of the capital letters at that point; at puts the
    top-left corner of the first capital there. spacing widens the gaps."""
    mask = Image.new("L", (w, h), 0)
    draw = ImageDraw.Draw(mask)
    cap = -fnt.getbbox("H", anchor="ls")[1]
    if centre is not None:
        x, baseline = centre[0] - text_width(text, fnt, spacing) / 2, centre[1] + cap / 2
    else:
        x, baseline = at[0], at[1] + cap
    if spacing == 0:
        draw.text((round(x), round(baseline)), text, font=fnt, fill=255, anchor="ls")
        return mask
    for ch in text:
        draw.text((round(x), round(baseline)), ch, font=fnt, fill=255, anchor="ls")
        x += draw.textlength(ch, font=fnt) + spacing
    return mask


def grow(mask, radius):
    for _ in range(radius):
        mask = mask.filter(ImageFilter.MaxFilter(3))
    return mask


def blur(mask, radius, gain=1.0):
    m = mask.filter(ImageFilter.GaussianBlur(radius))
    return m.point(lambda v: clamp(v * gain))


def value_noise(w, h, cell, rng):
    """Smooth noise, 0..255, with features about cell pixels wide."""
    gw, gh = w // cell + 3, h // cell + 3
    grid = Image.new("L", (gw, gh))
    grid.putdata([rng.randrange(256) for _ in range(gw * gh)])
    big = grid.resize((gw * cell, gh * cell), Image.BICUBIC)
    return big.crop((cell, cell, cell + w, cell + h))


def marble(w, h, seed, base_top, base_bottom, vein):
    """Polished stone: a vertical shade with soft clouds and thin veins."""
    rng = random.Random(seed)
    n1 = value_noise(w, h, 24, rng).load()
    n2 = value_noise(w, h, 9, rng).load()
    n3 = value_noise(w, h, 3, rng).load()
    angle = rng.uniform(0.15, 0.45)
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        base = mix(base_top, base_bottom, y / max(1, h - 1))
        for x in range(w):
            turb = (n1[x, y] / 255.0) * 0.75 + (n2[x, y] / 255.0) * 0.2 + (n3[x, y] / 255) * 0.05
            v = abs(math.sin(x * 0.04 + y * angle * 0.25 + turb * 5.0))
            streak = (1.0 - v) ** 7
            cloud = (n2[x, y] / 255.0 - 0.5) * 0.16
            c = scale(base, 1.0 + cloud)
            px[x, y] = mix(c, vein, streak * 0.4)
    return img


# ---------------------------------------------------------------- stones

STONES = {
    "BLACK": dict(face=(58, 58, 66), light=(150, 150, 164), dark=(32, 32, 36),
                  edge=(32, 32, 32), speck=8),
    "GREY": dict(face=(136, 136, 142), light=(212, 212, 218), dark=(78, 78, 84),
                 edge=(50, 50, 54), speck=10),
    "WHITE": dict(face=(234, 232, 224), light=(255, 255, 255), dark=(164, 162, 154),
                  edge=(104, 102, 96), speck=7),
}


def stone(n, colour, seed, corners=True):
    """One bevelled stone tile, n x n, as RGBA (straight alpha).

    A dark rim keeps neighbouring tiles apart, the bevel catches the light from
    the top left, and the face has a faint grain and sheen."""
    pal = STONES[colour]
    rng = random.Random(seed)
    rim = max(1, n // 40)
    bevel = max(1, round(n * 0.12))
    out = layer(n, n)
    px = out.load()
    for y in range(n):
        for x in range(n):
            # open corners make the tiles read as separate stones
            if corners and min(x, n - 1 - x) + min(y, n - 1 - y) < max(1, n // 20):
                continue
            d = min(x, y, n - 1 - x, n - 1 - y)
            if d < rim:
                c = pal["edge"]
            elif d < rim + bevel:
                depth = (d - rim + 0.5) / bevel  # 0 outside .. 1 next to the face
                target = pal["light"] if x + y < n - 1 else pal["dark"]
                c = mix(target, pal["face"], depth * 0.5)
            else:
                u = (x + y) / (2.0 * (n - 1))
                c = scale(pal["face"], 1.08 - 0.16 * u)
                fx, fy = (x - n * 0.36) / (n * 0.26), (y - n * 0.34) / (n * 0.2)
                sheen = max(0.0, 1.0 - (fx * fx + fy * fy))
                c = mix(c, pal["light"], sheen * 0.3)
                s = rng.uniform(-1, 1) * pal["speck"]
                c = tuple(clamp(v + s) for v in c)
            px[x, y] = c + (255,)
    return out


# ---------------------------------------------------------------- buttons


def button(w, h, label, hot, seed, size, margin, radius, frame, spacing=0, alpha_cut=None):
    """A bevelled marble slab in a gold frame; the hot one glows red and gold."""
    body = rounded_mask(w, h, (margin, margin, w - margin, h - margin), radius)
    inner = rounded_mask(
        w, h, (margin + frame, margin + frame, w - margin - frame, h - margin - frame),
        max(1.0, radius - frame),
    )
    ring = ImageChops.subtract(body, inner)
    if hot:
        face = marble(w, h, seed, (150, 34, 26), (74, 12, 10), (236, 120, 80))
        rim = vgradient(w, h, [(0, (255, 246, 190)), (0.5, (255, 206, 96)), (1, (214, 136, 40))])
        text_top, text_bottom = (255, 255, 236), (255, 214, 110)
    else:
        face = marble(w, h, seed, (74, 72, 82), (38, 36, 44), (140, 136, 150))
        rim = vgradient(w, h, [(0, (220, 178, 96)), (0.5, (168, 120, 52)), (1, (98, 64, 24))])
        text_top, text_bottom = CREAM, (188, 176, 156)
    parts = []
    if hot:
        halo = blur(body, margin * 0.9 + 0.5, 2.2)
        parts.append(solid(w, h, (255, 120, 30), halo))
    parts.append(painted(face, inner))
    # inner bevel: light along the top of the face, shadow along its bottom
    bev = max(1, h // 25)
    top_edge = ImageChops.subtract(inner, shifted(inner, 0, bev))
    bottom_edge = ImageChops.subtract(inner, shifted(inner, 0, -bev))
    parts.append(solid(w, h, (255, 255, 255), top_edge.point(lambda v: v * 0.30)))
    parts.append(solid(w, h, (0, 0, 0), bottom_edge.point(lambda v: v * 0.45)))
    parts.append(painted(rim, ring))
    fnt = font(size)
    cx, cy = w / 2, h / 2
    glyphs = text_mask(w, h, label, fnt, centre=(cx, cy), spacing=spacing)
    shadow = shifted(glyphs, 1, 2) if h >= 40 else shifted(glyphs, 1, 1)
    parts.append(solid(w, h, (12, 6, 4), blur(shadow, 0.6, 1.3)))
    if hot:
        parts.append(solid(w, h, (255, 150, 40), blur(glyphs, 2.2, 1.6)))
    parts.append(painted(vgradient(w, h, [(0.25, text_top), (0.75, text_bottom)]), glyphs))
    return keyed(over(layer(w, h), *parts), alpha_cut)


MENU_LABELS = [
    ("NEWGAME", "Neues Spiel"),
    ("HIGHSCORES", "Highscores"),
    ("INFO", "Info"),
    ("CREDITS", "Credits"),
    ("BEENDEN", "Beenden"),
]


def menu_button(label, hot, seed):
    return button(300, 50, label, hot, seed, size=27, margin=3, radius=11, frame=3)


# ---------------------------------------------------------------- small pictures


def crosshair():
    """Red sight with white centre and a dark outline that shows on white stones."""
    n = 32
    big = n * SS
    c = 16.5 * SS  # the centre of pixel (16, 16)
    red = Image.new("L", (big, big), 0)
    dr = ImageDraw.Draw(red)
    r = 10.5 * SS
    dr.ellipse((c - r, c - r, c + r, c + r), outline=255, width=int(2 * SS))
    for a0, a1 in ((2.0, 7.5), (25.5, 31.0)):
        dr.rectangle((c - 0.5 * SS, a0 * SS, c + 0.5 * SS - 1, a1 * SS - 1), fill=255)
        dr.rectangle((a0 * SS, c - 0.5 * SS, a1 * SS - 1, c + 0.5 * SS - 1), fill=255)
    red = shrink(red, n, n)
    white = Image.new("L", (n, n), 0)
    wd = ImageDraw.Draw(white)
    wd.point((16, 16), fill=255)
    for d in (2, 3):
        for x, y in ((16 - d, 16), (16 + d, 16), (16, 16 - d), (16, 16 + d)):
            wd.point((x, y), fill=255)
    ink_mask = ImageChops.lighter(red, white)
    outline = ImageChops.subtract(grow(ink_mask.point(lambda v: 255 if v > 90 else 0), 1), ink_mask)
    pic = over(
        layer(n, n),
        solid(n, n, (36, 30, 30), outline.point(lambda v: v * 0.9)),
        solid(n, n, (230, 30, 24), red),
        solid(n, n, (255, 255, 255), white),
    )
    return keyed(pic, alpha_cut=0.4)


def money():
    """A slightly untidy stack of gold coins, lit from the left."""
    w, h = 20, 40
    W, H = w * SS, h * SS
    pic = layer(W, H)
    rng = random.Random(7)
    coins = 7
    thick = 4.4 * SS
    ell = 6.5 * SS
    bottom = H - ell / 2 - 0.2 * SS
    shade = []
    for x in range(W):
        t = x / (W - 1)
        shade.append(0.62 + 0.55 * math.exp(-((t - 0.32) ** 2) / 0.03) - 0.25 * t)
    for i in range(coins):
        dx = (rng.uniform(-1.0, 1.0) if 0 < i < coins - 1 else 0) * SS
        x0, x1 = 1.0 * SS + dx, W - 1.0 * SS + dx
        yb = bottom - i * thick
        yt = yb - thick
        side = layer(W, H)
        d = ImageDraw.Draw(side)
        for x in range(int(x0), int(math.ceil(x1))):
            t = (x - x0) / (x1 - x0)
            col = scale(GOLD, shade[min(W - 1, max(0, int(t * (W - 1))))])
            d.line((x, yt, x, yb + ell / 2), fill=col + (255,))
        mask = Image.new("L", (W, H), 0)
        md = ImageDraw.Draw(mask)
        md.rectangle((x0, yt, x1 - 1, yb), fill=255)
        md.ellipse((x0, yb - ell / 2, x1, yb + ell / 2), fill=255)
        side.putalpha(mask)
        pic = Image.alpha_composite(pic, side)
        gd = ImageDraw.Draw(pic)
        # the groove where this coin lies on the one below
        gd.arc((x0, yb - ell / 2, x1, yb + ell / 2), 5, 175, fill=(100, 58, 14, 255),
               width=int(0.9 * SS))
    yt = bottom - coins * thick
    top = (1.0 * SS, yt - ell / 2, W - 1.0 * SS, yt + ell / 2)
    gd = ImageDraw.Draw(pic)
    gd.ellipse(top, fill=(250, 214, 112, 255), outline=(150, 96, 26, 255), width=int(0.6 * SS))
    ins = 2.4 * SS
    gd.ellipse((top[0] + ins, top[1] + ins * 0.4, top[2] - ins, top[3] - ins * 0.4),
               outline=(184, 124, 38, 255), width=int(0.8 * SS))
    gd.ellipse((top[0] + 3.5 * SS, top[1] + 1.1 * SS, top[0] + 7.5 * SS, top[1] + 2.5 * SS),
               fill=(255, 252, 228, 255))
    return keyed(shrink(pic, w, h), alpha_cut=0.5)


# ---------------------------------------------------------------- title and intro


def tapered_rule(w, h, y, inner, outer, thickness):
    """A gold rule on both sides of the middle, thin at its outer ends."""
    big = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(big)
    cx = w / 2
    for side in (-1, 1):
        a, b = cx + side * inner, cx + side * outer
        d.polygon([(a * SS, (y - thickness) * SS), (b * SS, y * SS), (a * SS, (y + thickness) * SS)],
                  fill=255)
    return shrink(big, w, h)


def title_logo():
    """Gold letters with a dark red outline over a rule holding the three stones."""
    w, h = 300, 100
    glyphs = text_mask(w, h, "Tamzelon", font(60), centre=(w / 2 - 1, 38))
    fill = vgradient(w, h, [(0.1, (255, 246, 196)), (0.36, (250, 206, 92)),
                            (0.40, (222, 160, 48)), (0.62, (168, 96, 24))])
    outline = grow(glyphs, 2)
    shadow = blur(shifted(outline, 3, 4), 1.5, 1.2)
    shine = ImageChops.subtract(glyphs, shifted(glyphs, 0, 2)).point(lambda v: v * 0.8)
    parts = [
        solid(w, h, (16, 4, 4), shadow),
        solid(w, h, (120, 14, 12), outline),
        painted(fill, glyphs),
        solid(w, h, (255, 255, 240), shine),
    ]
    y = 86
    parts.append(painted(vgradient(w, h, [(0.8, GOLD_LIGHT), (0.92, GOLD_DARK)]),
                         tapered_rule(w, h, y, 31, 140, 1.3)))
    for i, colour in enumerate(("BLACK", "WHITE", "GREY")):
        lay = layer(w, h)
        lay.paste(stone(16, colour, 50 + i, corners=False), (w // 2 - 26 + 18 * i, y - 8))
        parts.append(lay)
    return keyed(over(layer(w, h), *parts))


def studio_logo():
    """The team's mark: four stones turned into a diamond inside a gold ring."""
    w, h = 173, 168
    cx, cy, r = 86.5, 68, 62
    parts = [layer(w, h)]
    disc = rounded_mask(w, h, (cx - r, cy - r, cx + r, cy + r), r)
    parts.append(painted(vgradient(w, h, [(0.05, (92, 22, 16)), (0.8, (26, 6, 6))]), disc))
    ring = ImageChops.subtract(disc, rounded_mask(w, h, (cx - r + 3, cy - r + 3, cx + r - 3,
                                                        cy + r - 3), r - 3))
    thin = ImageChops.subtract(
        rounded_mask(w, h, (cx - r + 6, cy - r + 6, cx + r - 6, cy + r - 6), r - 6),
        rounded_mask(w, h, (cx - r + 7, cy - r + 7, cx + r - 7, cy + r - 7), r - 7))
    gold = vgradient(w, h, [(0, GOLD_LIGHT), (0.45, GOLD), (0.8, GOLD_DARK)])
    parts.append(painted(gold, ring))
    parts.append(solid(w, h, (176, 120, 44), thin))
    # 2 x 2 tiles turned by 45 degrees: black on top, white left, gold right, grey below
    tile, gap = 34 * SS, 2 * SS
    square = layer(2 * tile + gap, 2 * tile + gap)
    for i, colour in enumerate(("WHITE", "BLACK", "GREY", None)):
        x, y = (i % 2) * (tile + gap), (i // 2) * (tile + gap)
        if colour:
            square.paste(stone(tile, colour, 400 + i, corners=False), (x, y))
        else:
            gold_tile = rounded_mask(tile, tile, (0, 0, tile, tile), 1)
            pad = 5 * SS
            inner = rounded_mask(tile, tile, (pad, pad, tile - pad, tile - pad), 1)
            g = over(painted(vgradient(tile, tile, [(0, GOLD_LIGHT), (1, GOLD_DARK)]), gold_tile),
                     solid(tile, tile, (176, 110, 30), inner))
            square.paste(g, (x, y))
    turned = square.rotate(45, resample=Image.BICUBIC, expand=True)
    lay = layer(w * SS, h * SS)
    lay.alpha_composite(turned, (int(cx * SS - turned.width / 2), int(cy * SS - turned.height / 2)))
    parts.append(shrink(lay, w, h))
    words = text_mask(w, h, "TAMZELON", font(17), centre=(w / 2, 145), spacing=3)
    parts.append(painted(vgradient(w, h, [(0.8, GOLD_LIGHT), (0.92, GOLD)]), words))
    small = text_mask(w, h, "TEAM", font(10), centre=(w / 2, 161), spacing=6)
    parts.append(solid(w, h, (200, 196, 188), small))
    return keyed(over(*parts))


# ---------------------------------------------------------------- 4-bit pictures


def quantised(rgb, palette):
    """Nearest palette entry per pixel; entry 0 is the transparent black."""
    palette = [palette[0]] + [ink(c) for c in palette[1:]]
    w, h = rgb.size
    src = rgb.load()
    idx = Image.new("P", (w, h))
    flat = []
    for c in palette:
        flat.extend(c)
    flat.extend([0] * (768 - len(flat)))
    idx.putpalette(flat)
    dst = idx.load()
    cache = {}
    for y in range(h):
        for x in range(w):
            c = src[x, y]
            if c == (0, 0, 0):
                dst[x, y] = 0
                continue
            if c not in cache:
                cache[c] = min(
                    range(1, len(palette)),
                    key=lambda i: sum((c[k] - palette[i][k]) ** 2 * (2, 3, 1)[k] for k in range(3)),
                )
            dst[x, y] = cache[c]
    return idx


def presents():
    """The word of the intro's second picture, in gold over a rule."""
    w, h = 300, 100
    palette = [(0, 0, 0)] + [mix((40, 26, 8), GOLD_LIGHT, i / 14.0) for i in range(15)]
    words = text_mask(w, h, "pr\u00e4sentiert", font(38, bold=False), centre=(w / 2, 46),
                      spacing=2)
    jewel = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(jewel).regular_polygon(((w / 2) * SS, 74 * SS, 3.2 * SS), 4, fill=255)
    rule = ImageChops.lighter(tapered_rule(w, h, 74, 8, 110, 1.3), shrink(jewel, w, h))
    parts = [
        layer(w, h),
        painted(vgradient(w, h, [(0.3, GOLD_LIGHT), (0.62, GOLD)]), words),
        solid(w, h, GOLD, rule),
    ]
    return quantised(keyed(over(*parts)), palette)


def credits_window():
    """A dark panel in a gold frame: the title and who made what."""
    w, h = 345, 204
    panel = (38, 36, 44)
    palette = [(0, 0, 0), panel]
    palette += [mix(panel, GOLD_DARK, 1.0), mix(panel, GOLD, 0.55)] + [
        mix(GOLD_DARK, GOLD_LIGHT, t) for t in (0.4, 0.7, 1.0)]
    palette += [mix(panel, (226, 44, 36), t) for t in (0.35, 0.7, 1.0)]
    palette += [mix(panel, (248, 246, 240), t) for t in (0.25, 0.5, 0.75, 1.0)]
    palette += [(16, 10, 8), (60, 58, 68)]
    parts = [layer(w, h)]
    body = rounded_mask(w, h, (0, 0, w, h), 12)
    inner = rounded_mask(w, h, (3, 3, w - 3, h - 3), 9)
    parts.append(solid(w, h, panel, body))
    parts.append(painted(vgradient(w, h, [(0, GOLD_LIGHT), (0.5, GOLD), (1, GOLD_DARK)]),
                         ImageChops.subtract(body, inner)))
    thin = ImageChops.subtract(rounded_mask(w, h, (7, 7, w - 7, h - 7), 6),
                               rounded_mask(w, h, (8, 8, w - 8, h - 8), 5))
    parts.append(solid(w, h, GOLD_DARK, thin))
    title = text_mask(w, h, "Tamzelon", font(34), centre=(w / 2, 38))
    parts.append(solid(w, h, (16, 10, 8), shifted(title, 2, 2)))
    parts.append(painted(vgradient(w, h, [(0.1, GOLD_LIGHT), (0.26, GOLD)]), title))
    rule = Image.new("L", (w, h), 0)
    rd = ImageDraw.Draw(rule)
    rd.line((w // 2 - 110, 63, w // 2 + 110, 63), fill=255)
    rd.regular_polygon((w / 2, 63, 3), 4, fill=255)
    parts.append(solid(w, h, GOLD, rule))
    for role, y in (("Programmierung", 92), ("Grafik", 118), ("Sound", 144)):
        m = text_mask(w, h, role, font(15), at=(w / 2 - 10 - text_width(role, font(15)), y))
        parts.append(solid(w, h, (226, 44, 36), m))
        n = text_mask(w, h, "Das Tamzelon-Team", font(14, bold=False), at=(w / 2 + 8, y))
        parts.append(solid(w, h, (248, 246, 240), n))
    thanks = text_mask(w, h, "Danke f\u00fcrs Spielen!", font(12, bold=False), centre=(w / 2, 181))
    parts.append(solid(w, h, mix(panel, (248, 246, 240), 0.5), thanks))
    return quantised(keyed(over(*parts)), palette)


# ---------------------------------------------------------------- icon


def icon(n):
    """Three stones, one of each colour, stacked like bricks; RGBA."""
    big = 8 * n
    gap = max(1, big // 48)
    t = (big - gap - big // 12) // 2
    x0 = (big - 2 * t - gap) // 2
    y0 = (big - 2 * t - gap) // 2
    pic = layer(big, big)
    spots = [
        ("WHITE", x0, y0),
        ("GREY", x0 + t + gap, y0),
        ("BLACK", (big - t) // 2, y0 + t + gap),
    ]
    for i, (colour, x, y) in enumerate(spots):
        pic.paste(stone(t, colour, 900 + i, corners=False), (x, y))
    shadow = shifted(blur(pic.getchannel("A"), big / 48), big // 64, big // 40)
    base = solid(big, big, (0, 0, 0), shadow.point(lambda v: v * 0.55))
    pic = Image.alpha_composite(base, pic)
    if n >= 32:
        # the sight on the black stone says what the game is about
        sight = Image.new("L", (big, big), 0)
        d = ImageDraw.Draw(sight)
        cx, cy = big / 2, y0 + t + gap + t / 2
        r, wd = t * 0.28, max(2, big // 36)
        d.ellipse((cx - r, cy - r, cx + r, cy + r), outline=255, width=wd)
        for sx, sy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            d.line((cx + sx * r * 0.55, cy + sy * r * 0.55, cx + sx * r * 1.45,
                    cy + sy * r * 1.45), fill=255, width=wd)
        pic = over(pic, solid(big, big, (24, 8, 8), grow(sight, 2)), solid(big, big, (236, 36, 28), sight))
    return pic.resize((n, n), Image.LANCZOS)


# ---------------------------------------------------------------- writers


def bmp_headers(w, h, bits, image_size, palette_bytes):
    offset = 14 + 40 + palette_bytes
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    colours = 16 if bits == 4 else 0
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, image_size, 2835, 2835, colours, 0)
    return file_header + info


def write_bmp24(path, img):
    w, h = img.size
    px = img.load()
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y]
            row += bytes((b, g, r))
        data += row + bytes(stride - len(row))
    with open(path, "wb") as f:
        f.write(bmp_headers(w, h, 24, len(data), 0) + data)


def write_bmp4(path, idx):
    w, h = idx.size
    px = idx.load()
    pal = idx.getpalette()[:48]
    stride = ((w * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(0, w, 2):
            hi = px[x, y]
            lo = px[x + 1, y] if x + 1 < w else 0
            row.append((hi << 4) | lo)
        data += row + bytes(stride - len(row))
    table = bytearray()
    for i in range(16):
        r, g, b = pal[i * 3:i * 3 + 3]
        table += bytes((b, g, r, 0))
    with open(path, "wb") as f:
        f.write(bmp_headers(w, h, 4, len(data), 64) + table + data)


def write_bmp32(path, rgba):
    w, h = rgba.size
    px = rgba.load()
    data = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            data += bytes((b, g, r, a)) if a else bytes(4)
    with open(path, "wb") as f:
        f.write(bmp_headers(w, h, 32, len(data), 0) + data)


# ---------------------------------------------------------------- all of it


def make_bitmaps():
    """Name -> (picture, bits per pixel): RGB pictures for 24 bits, P for 4."""
    out = {}
    out["BMP_FADENKREUZ"] = crosshair()
    for colour in ("BLACK", "WHITE", "GREY"):
        out["BMP_" + colour] = keyed(stone(20, colour, {"BLACK": 1, "WHITE": 2, "GREY": 3}[colour]),
                                     alpha_cut=0.5)
    out["BMP_MONEY"] = money()
    out["BMP_CREDITSWND"] = credits_window()
    out["BMP_TAMZELON"] = title_logo()
    for i, (name, label) in enumerate(MENU_LABELS):
        out["BMP_" + name] = menu_button(label, False, 100 + i)
        out["BMP_" + name + "HOT"] = menu_button(label, True, 100 + i)
    out["BMP_NEWGAMEMINI"] = button(125, 30, "Neues Spiel", False, 120, size=15, margin=1,
                                    radius=7, frame=2, alpha_cut=0.5)
    out["BMP_RESET"] = button(100, 40, "RESET", False, 130, size=18, margin=2, radius=9,
                              frame=2, spacing=2)
    out["BMP_BACK"] = button(100, 40, "BACK", False, 131, size=18, margin=2, radius=9,
                             frame=2, spacing=2)
    out["BMP_LOGO"] = studio_logo()
    out["BMP_PRESENTS"] = presents()
    return out


def write_all(bitmaps):
    bmp_dir = os.path.join(RESOURCES, "bitmaps")
    icon_dir = os.path.join(RESOURCES, "icon")
    os.makedirs(bmp_dir, exist_ok=True)
    os.makedirs(icon_dir, exist_ok=True)
    for name, pic in sorted(bitmaps.items()):
        path = os.path.join(bmp_dir, name + ".bmp")
        if pic.mode == "P":
            write_bmp4(path, pic)
        else:
            write_bmp24(path, pic)
    icons = {n: icon(n) for n in (16, 32, 48, 64, 128, 256)}
    write_bmp32(os.path.join(icon_dir, "icon128.bmp"), icons[32])
    for n, pic in icons.items():
        pic.save(os.path.join(icon_dir, "tamzelon-%d.png" % n), optimize=True)
    return icons


# ---------------------------------------------------------------- preview


def as_shown(pic):
    """The picture as the game shows it: RGB565, black keyed out (RGBA)."""
    rgb = pic.convert("RGB")
    w, h = rgb.size
    src = rgb.load()
    out = layer(w, h)
    dst = out.load()
    for y in range(h):
        for x in range(w):
            r, g, b = src[x, y]
            r5, g6, b5 = r >> 3, g >> 2, b >> 3
            if r5 == 0 and g6 == 0 and b5 == 0:
                continue
            dst[x, y] = ((r5 << 3) | (r5 >> 2), (g6 << 2) | (g6 >> 4), (b5 << 3) | (b5 >> 2), 255)
    return out


def blit(screen, pic, x, y):
    screen.alpha_composite(as_shown(pic), (x, y))


def zoom(img, f=2):
    return img.resize((img.width * f, img.height * f), Image.NEAREST)


def red_text(screen, x, y, text):
    ImageDraw.Draw(screen).text((x, y), text, font=font(16), fill=(255, 0, 0, 255))


def preview(bitmaps, icons, folder):
    os.makedirs(folder, exist_ok=True)
    label_font = font(11, bold=False)
    cells = []
    for name, pic in sorted(bitmaps.items()):
        w, h = pic.size
        cell = Image.new("RGBA", (2 * (2 * w + 12) + 4, 2 * h + 24), (60, 60, 70, 255))
        for i, bg in enumerate(((0, 0, 0), GAME_GREEN)):
            back = Image.new("RGBA", (w, h), bg + (255,))
            back.alpha_composite(as_shown(pic))
            cell.paste(zoom(back), (4 + i * (2 * w + 12), 20))
        ImageDraw.Draw(cell).text((4, 4), "%s %dx%d" % (name, w, h), font=label_font,
                                  fill=(255, 255, 255, 255))
        cells.append(cell)
    sheet_w = 1500
    x = y = row_h = 0
    placed = []
    for cell in cells:
        if x + cell.width > sheet_w:
            x, y, row_h = 0, y + row_h + 6, 0
        placed.append((cell, x, y))
        x += cell.width + 6
        row_h = max(row_h, cell.height)
    sheet = Image.new("RGBA", (sheet_w, y + row_h), (90, 90, 100, 255))
    for cell, cx, cy in placed:
        sheet.paste(cell, (cx, cy))
    sheet.convert("RGB").save(os.path.join(folder, "sheet.png"))

    icon_sheet = Image.new("RGBA", (700, 560), (0, 0, 0, 0))
    ix = 0
    for n, pic in sorted(icons.items()):
        for row, bg in enumerate(((212, 208, 200), (40, 44, 52))):
            back = Image.new("RGBA", (n, n), bg + (255,))
            back.alpha_composite(pic)
            icon_sheet.paste(back, (ix, row * 280))
        ix += n + 8
    icon_sheet.convert("RGB").save(os.path.join(folder, "icons.png"))

    rng = random.Random(99)
    game = Image.new("RGBA", (640, 480), GAME_GREEN + (255,))
    stones = [bitmaps["BMP_BLACK"], bitmaps["BMP_WHITE"], bitmaps["BMP_GREY"]]
    for col in range(30):
        gone = rng.randrange(0, 8) if col < 26 else 20
        for row in range(20):
            if row < gone:
                continue
            blit(game, stones[rng.randrange(3)], col * 20, 80 + row * 20)
    blit(game, bitmaps["BMP_NEWGAMEMINI"], 5, 5)
    blit(game, bitmaps["BMP_MONEY"], 565, 5)
    red_text(game, 590, 10, "12345")
    red_text(game, 180, 5, "Nicht schlecht, weiter so!")
    blit(game, bitmaps["BMP_FADENKREUZ"], 300 - 16, 300 - 16)
    blit(game, bitmaps["BMP_FADENKREUZ"], 410 - 16, 200 - 16)
    zoom(game).convert("RGB").save(os.path.join(folder, "game.png"))

    menu = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    blit(menu, bitmaps["BMP_TAMZELON"], 20, 5)
    for i, (name, _) in enumerate(MENU_LABELS):
        key = "BMP_" + name + ("HOT" if i == 4 else "")
        blit(menu, bitmaps[key], 100, 150 + 60 * i)
    blit(menu, bitmaps["BMP_FADENKREUZ"], 520 - 16, 300 - 16)
    zoom(menu).convert("RGB").save(os.path.join(folder, "menu.png"))

    scores = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    blit(scores, bitmaps["BMP_HIGHSCORES"], 170, 25)
    blit(scores, bitmaps["BMP_RESET"], 500, 240)
    blit(scores, bitmaps["BMP_BACK"], 500, 340)
    for p in range(10):
        y = 175 + 25 * p
        red_text(scores, 25, y, "%d." % (p + 1))
        red_text(scores, 125, y, "CPU")
        red_text(scores, 225, y, str(37000 - 2000 * p))
    credits = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    blit(credits, bitmaps["BMP_CREDITSWND"], 100, 100)
    intro = Image.new("RGBA", (1280, 480), (0, 0, 0, 255))
    intro.paste(bitmaps["BMP_LOGO"].convert("RGB"), (233, 156))
    intro.paste(bitmaps["BMP_PRESENTS"].convert("RGB"), (640 + 170, 190))
    zoom(scores).convert("RGB").save(os.path.join(folder, "scores.png"))
    zoom(credits).convert("RGB").save(os.path.join(folder, "credits.png"))
    intro.convert("RGB").save(os.path.join(folder, "intro.png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--preview", metavar="DIR",
                        help="also write contact sheets and mock screens to DIR")
    args = parser.parse_args()
    bitmaps = make_bitmaps()
    icons = write_all(bitmaps)
    if args.preview:
        preview(bitmaps, icons, args.preview)


if __name__ == "__main__":
    main()
