"""Procedural photos: a city view for each tour city and a picture of the lab bench.

Each photo is drawn from a generator seeded by its file name, with a little sensor
noise so the JPEG weighs what a real photo of that size would.
"""

from PIL import Image, ImageChops, ImageDraw, ImageFilter

from drawing import font, mix, rng_for

SIZES = [(1600, 1200), (1920, 1080), (1600, 1200), (1920, 1080), (1440, 1080)]
PORTRAIT = (1080, 1440)

SKIES = {
    'day': ((70, 130, 200), (190, 220, 245), (255, 250, 220)),
    'sunset': ((60, 60, 120), (250, 150, 90), (255, 210, 120)),
    'dusk': ((14, 22, 60), (70, 80, 140), (250, 240, 200)),
    'overcast': ((130, 140, 155), (205, 210, 215), (235, 235, 235)),
}


def photo_size(name, index):
    # Every seventh photo is upright, as a few holiday shots always are.
    if index % 7 == 3:
        return PORTRAIT
    return SIZES[index % len(SIZES)]


def _vertical_gradient(size, top, bottom):
    ramp = Image.linear_gradient('L').resize(size)
    return Image.merge('RGB', [ramp.point(lambda v, a=top[i], b=bottom[i]: a + (b - a) * v / 255)
                               for i in range(3)])


def _add_noise(img, amplitude, rng):
    # Drawn from the seeded generator (PIL's own noise is not seeded), uniform in
    # +-amplitude around mid-grey.
    w, h = img.size
    raw = Image.frombytes('L', (w, h), rng.randbytes(w * h))
    noise = raw.point(lambda v: 128 + (v - 128) * amplitude // 128).convert('RGB')
    return ImageChops.add(img, noise, 1.0, -128)


def _skyline(d, rng, width, base, height_scale, colour, lit, windows=True, dusk=False):
    x = -rng.randint(0, 40)
    while x < width:
        bw = rng.randint(int(width * 0.03), int(width * 0.09))
        bh = rng.randint(int(height_scale * 0.25), int(height_scale))
        top = base - bh
        shade = mix(colour, (255, 255, 255), rng.random() * 0.12)
        d.rectangle((x, top, x + bw, base), fill=shade)
        roof = rng.random()
        if roof < 0.15:
            d.polygon([(x, top), (x + bw / 2, top - bw * 0.6), (x + bw, top)], fill=shade)
        elif roof < 0.25:
            d.pieslice((x, top - bw / 2, x + bw, top + bw / 2), 180, 360, fill=shade)
        elif roof < 0.32:
            d.rectangle((x + bw * 0.45, top - bh * 0.3, x + bw * 0.55, top), fill=shade)
        if windows and bw > 24:
            wx = max(6, bw // 10)
            wy = max(8, wx + 3)
            for yy in range(int(top + wy), int(base - wy), wy * 2):
                for xx in range(int(x + wx), int(x + bw - wx), wx * 2):
                    on = rng.random() < (0.55 if dusk else 0.25)
                    d.rectangle((xx, yy, xx + wx - 1, yy + wy - 1), fill=lit if on else mix(shade, (0, 0, 0), 0.25))
        x += bw + rng.randint(0, int(width * 0.01))


def city_photo(name, title, index):
    rng = rng_for('photo', name)
    w, h = photo_size(name, index)
    mood = rng.choice(list(SKIES))
    top, mid, glow = SKIES[mood]
    horizon = int(h * rng.uniform(0.58, 0.7))
    img = _vertical_gradient((w, horizon), top, mid)
    canvas = Image.new('RGB', (w, h))
    canvas.paste(img, (0, 0))
    d = ImageDraw.Draw(canvas)
    # sun or moon
    sx, sy, sr = rng.randint(w // 8, w * 7 // 8), rng.randint(h // 10, horizon // 2), rng.randint(30, 70)
    d.ellipse((sx - sr, sy - sr, sx + sr, sy + sr), fill=glow)
    # clouds on their own layer, softened
    clouds = Image.new('L', (w, horizon), 0)
    cd = ImageDraw.Draw(clouds)
    for _ in range(rng.randint(3, 9)):
        cx, cy = rng.randint(0, w), rng.randint(0, horizon // 2)
        for _ in range(5):
            rx, ry = rng.randint(40, 160), rng.randint(15, 45)
            ox, oy = rng.randint(-120, 120), rng.randint(-20, 20)
            cd.ellipse((cx + ox - rx, cy + oy - ry, cx + ox + rx, cy + oy + ry), fill=rng.randint(90, 170))
    clouds = clouds.filter(ImageFilter.GaussianBlur(18))
    cloud_colour = mix(mid, (255, 255, 255), 0.7)
    canvas.paste(Image.new('RGB', (w, horizon), cloud_colour), (0, 0), clouds)
    d = ImageDraw.Draw(canvas)
    dusk = mood == 'dusk'
    far = mix(mid, (40, 50, 70), 0.35)
    near = mix((40, 44, 56), top, 0.2 if not dusk else 0.0)
    lit = (255, 220, 130) if dusk else (200, 210, 220)
    _skyline(d, rng, w, horizon, h * 0.35, far, mix(far, lit, 0.3), windows=False)
    _skyline(d, rng, w, horizon, h * 0.25, near, lit, dusk=dusk)
    # water: the skyline mirrored, darkened and rippled
    reflection = canvas.crop((0, horizon - (h - horizon), w, horizon)).transpose(Image.FLIP_TOP_BOTTOM)
    reflection = reflection.filter(ImageFilter.GaussianBlur(3))
    water_tint = _vertical_gradient((w, h - horizon), mix(mid, (20, 40, 70), 0.5), (10, 25, 45))
    water = Image.blend(reflection, water_tint, 0.55)
    canvas.paste(water, (0, horizon))
    d = ImageDraw.Draw(canvas)
    for _ in range(int(w * (h - horizon) / 2500)):
        x, y = rng.randint(0, w), rng.randint(horizon + 2, h)
        length = rng.randint(10, 60)
        d.line((x, y, x + length, y), fill=mix(mid, (255, 255, 255), rng.random() * 0.5), width=1)
    d.line((0, horizon, w, horizon), fill=mix(far, (0, 0, 0), 0.3), width=3)
    # caption
    big = font(max(48, w // 16), 'bold')
    small = font(max(22, w // 60))
    x0, y0 = int(w * 0.05), int(h * 0.82)
    d.text((x0 + 4, y0 + 4), title, font=big, fill=(0, 0, 0), anchor='ls')
    d.text((x0, y0), title, font=big, fill=(255, 255, 255), anchor='ls')
    d.text((x0 + 2, y0 + 40), 'Circelo Vexa Seminar Tour 2017', font=small, fill=(230, 230, 230), anchor='ls')
    return _add_noise(canvas, 9, rng)


def bench_photo(name, title, index):
    rng = rng_for('photo', name)
    w, h = 1920, 1080
    canvas = _vertical_gradient((w, h), (200, 196, 186), (150, 140, 128))
    d = ImageDraw.Draw(canvas)
    d.rectangle((0, int(h * 0.62), w, h), fill=(120, 92, 64))          # bench top
    d.rectangle((0, int(h * 0.62), w, int(h * 0.64)), fill=(90, 66, 44))
    # oscilloscope
    ox, oy = 180, 250
    d.rounded_rectangle((ox, oy, ox + 760, oy + 430), radius=24, fill=(70, 74, 82))
    d.rectangle((ox + 40, oy + 40, ox + 520, oy + 390), fill=(12, 20, 16))
    for i in range(1, 10):
        gx = ox + 40 + 48 * i
        d.line((gx, oy + 40, gx, oy + 390), fill=(30, 60, 40))
    for i in range(1, 8):
        gy = oy + 40 + 43.75 * i
        d.line((ox + 40, gy, ox + 520, gy), fill=(30, 60, 40))
    import math
    pts = [(ox + 40 + t, oy + 215 - 110 * math.sin(t / 480 * 6 * math.pi) * math.exp(-t / 500)) for t in range(481)]
    d.line(pts, fill=(120, 255, 140), width=3)
    for r in range(3):
        for c in range(3):
            cx, cy = ox + 580 + c * 60, oy + 80 + r * 70
            d.ellipse((cx - 20, cy - 20, cx + 20, cy + 20), fill=(180, 180, 186))
    # breadboard with parts
    bx, by = 1050, 620
    d.rectangle((bx, by, bx + 700, by + 260), fill=(240, 240, 232))
    for yy in range(by + 20, by + 250, 16):
        for xx in range(bx + 20, bx + 690, 16):
            d.rectangle((xx, yy, xx + 3, yy + 3), fill=(150, 150, 150))
    for _ in range(14):
        x1, y1 = rng.randint(bx + 30, bx + 670), rng.randint(by + 30, by + 230)
        x2, y2 = x1 + rng.randint(-120, 120), y1 + rng.randint(-60, 60)
        d.line((x1, y1, x2, y2), fill=rng.choice([(200, 30, 30), (30, 30, 200), (20, 140, 40), (230, 200, 20)]),
               width=5)
    d.rectangle((bx + 300, by + 100, bx + 380, by + 150), fill=(30, 30, 30))
    d.text((40, 60), title, font=font(72, 'bold'), fill=(40, 40, 48))
    return _add_noise(canvas, 9, rng)


def write_photo(name, index, path):
    title = name.rsplit('.', 1)[0]
    if title.lower() == 'bench':
        img = bench_photo(name, 'The lab bench', index)
    else:
        img = city_photo(name, title, index)
    img.save(path, 'JPEG', quality=85, optimize=False)
