"""Figures for the slides: plots (transient, Bode, eye, histogram, curves), bar charts,
timelines, block diagrams and schematics, each drawn into a pixel box."""

import math

from drawing import (BLUE, GREEN, GREY, INK, NAVY, ORANGE, PURPLE, RED, TEAL,
                     TRACE_COLOURS, WHITE, font, mix)

LINE = 3


# ---------------------------------------------------------------- plots

def _nice_ticks(lo, hi, count=5):
    span = hi - lo
    if span <= 0:
        return [lo]
    raw = span / count
    mag = 10 ** math.floor(math.log10(raw))
    step = min((m * mag for m in (1, 2, 2.5, 5, 10) if m * mag >= raw), default=mag * 10)
    first = math.ceil(lo / step) * step
    ticks = []
    v = first
    while v <= hi + step * 1e-6:
        ticks.append(round(v, 10))
        v += step
    return ticks


def _fmt(v):
    if v == 0:
        return '0'
    a = abs(v)
    for scale, suffix in ((1e9, 'G'), (1e6, 'M'), (1e3, 'k'), (1, ''), (1e-3, 'm'), (1e-6, '\u00b5'),
                          (1e-9, 'n')):
        if a >= scale * 0.999:
            s = f'{v / scale:.3g}'
            return s + suffix
    return f'{v:.2g}'


def plot(d, box, series, *, xrange=(0.0, 1.0), yrange=None, xlabel='', ylabel='', xunit='',
         yunit='', xlog=False, title=None, legend=None, samples=480, grid_colour=(228, 230, 236),
         bg=WHITE, widths=None, xspan=None):
    """series: list of (function of x, colour) or (xs, ys, colour). xspan, when given, is
    the range the x axis is labelled with (the functions still see xrange)."""
    x0, y0, x1, y1 = box
    f_small = font(18)
    if title:
        d.text((x0, y0), title, font=font(22, 'bold'), fill=NAVY)
        y0 += 34
    px0, py0, px1, py1 = x0 + 78, y0 + 6, x1 - 10, y1 - (52 if xlabel else 30)
    d.rectangle((px0, py0, px1, py1), fill=bg)
    curves = []
    for s in series:
        if len(s) == 2:
            fn, colour = s
            xs = []
            for i in range(samples + 1):
                t = i / samples
                if xlog:
                    xs.append(10 ** (math.log10(xrange[0]) + t * (math.log10(xrange[1]) - math.log10(xrange[0]))))
                else:
                    xs.append(xrange[0] + t * (xrange[1] - xrange[0]))
            ys = [fn(x) for x in xs]
        else:
            xs, ys, colour = s
        curves.append((xs, ys, colour))
    if yrange is None:
        lo = min(min(c[1]) for c in curves)
        hi = max(max(c[1]) for c in curves)
        pad = (hi - lo) * 0.08 or 1.0
        yrange = (lo - pad, hi + pad)
    ylo, yhi = yrange

    def X(x):
        if xlog:
            return px0 + (math.log10(x) - math.log10(xrange[0])) / (math.log10(xrange[1]) - math.log10(xrange[0])) * (px1 - px0)
        return px0 + (x - xrange[0]) / (xrange[1] - xrange[0]) * (px1 - px0)

    def Y(y):
        return py1 - (y - ylo) / (yhi - ylo) * (py1 - py0)

    # grid and ticks
    if xlog:
        decade = math.floor(math.log10(xrange[0]))
        while 10 ** decade <= xrange[1] * 1.0001:
            for m in range(1, 10):
                v = m * 10 ** decade
                if xrange[0] <= v <= xrange[1]:
                    gx = X(v)
                    d.line((gx, py0, gx, py1), fill=grid_colour if m > 1 else (200, 204, 212), width=1)
                    if m == 1:
                        label = _fmt(v) + xunit
                        w = f_small.getlength(label)
                        d.text((gx - w / 2, py1 + 6), label, font=f_small, fill=INK)
            decade += 1
    else:
        shown = xspan or xrange
        for v in _nice_ticks(*shown, count=max(3, min(8, int((px1 - px0) / 110)))):
            gx = X(xrange[0] + (v - shown[0]) / (shown[1] - shown[0]) * (xrange[1] - xrange[0]))
            d.line((gx, py0, gx, py1), fill=grid_colour, width=1)
            label = _fmt(v) + xunit
            w = f_small.getlength(label)
            d.text((gx - w / 2, py1 + 6), label, font=f_small, fill=INK)
    for v in _nice_ticks(ylo, yhi, count=max(3, min(6, int((py1 - py0) / 60)))):
        gy = Y(v)
        d.line((px0, gy, px1, gy), fill=grid_colour, width=1)
        label = _fmt(v) + yunit
        w = f_small.getlength(label)
        d.text((px0 - 8 - w, gy - 11), label, font=f_small, fill=INK)
    d.rectangle((px0, py0, px1, py1), outline=(90, 90, 100), width=2)
    for i, (xs, ys, colour) in enumerate(curves):
        pts = []
        for x, y in zip(xs, ys):
            yy = min(max(y, ylo), yhi)
            pts.append((X(x), Y(yy)))
        d.line(pts, fill=colour, width=(widths[i] if widths else LINE), joint='curve')
    if xlabel:
        w = font(20).getlength(xlabel)
        d.text(((px0 + px1) / 2 - w / 2, py1 + 28), xlabel, font=font(20), fill=INK)
    if ylabel:
        d.text((px0 + 8, py0 + 4), ylabel, font=font(20, 'bold'), fill=INK)
    if legend:
        lx = px1 - 12
        ly = py0 + 10
        for name, colour in reversed(legend):
            w = font(18).getlength(name)
            lx -= w + 44
            d.line((lx, ly + 11, lx + 28, ly + 11), fill=colour, width=4)
            d.text((lx + 34, ly), name, font=font(18), fill=INK)
    return X, Y, (px0, py0, px1, py1)


def square_wave(t, period=0.25, duty=0.5):
    return 1.0 if (t % period) < duty * period else 0.0


def rc_response(t, period=0.25, tau=0.03):
    # steady-state RC response to a square wave, evaluated piecewise
    half = period / 2
    k = math.exp(-half / tau)
    v_low = k / (1 + k)  # value at the end of the low half in steady state
    v_high = 1 - v_low
    ph = t % period
    if ph < half:
        return 1 - (1 - v_low) * math.exp(-ph / tau)
    return v_high * math.exp(-(ph - half) / tau)


def transient(d, box, rng, kind='rc', title=None):
    if kind == 'rc':
        return plot(d, box, [(lambda t: square_wave(t) * 5, BLUE), (lambda t: rc_response(t) * 5, GREEN)],
                    xrange=(0, 1), xspan=(0, 4e-3), xunit='s', yunit='V', xlabel='time', title=title,
                    legend=[('V(in)', BLUE), ('V(out)', GREEN)])
    if kind == 'ringing':
        f = 9 + rng.random() * 4
        return plot(d, box, [(lambda t: 1 - math.exp(-t * 6) * math.cos(2 * math.pi * f * t), GREEN),
                             (lambda t: 1.0 if t > 0 else 0, GREY)],
                    xrange=(0, 1), xunit='s', xspan=(0, 1e-6), yunit='V', xlabel='time', title=title,
                    legend=[('V(out)', GREEN), ('V(ref)', GREY)])
    if kind == 'astable':
        def cap(t):
            ph = (t * 4) % 1.0
            return 1.67 + 1.67 * (1 - math.exp(-ph * 2.2)) / (1 - math.exp(-2.2)) if ph < 0.6 else \
                3.33 - 1.67 * (1 - math.exp(-(ph - 0.6) * 3.3)) / (1 - math.exp(-1.32))
        return plot(d, box, [(lambda t: 5.0 if ((t * 4) % 1.0) < 0.6 else 0.0, BLUE), (cap, ORANGE)],
                    xrange=(0, 1), xspan=(0, 2e-3), xunit='s', yunit='V', xlabel='time', title=title,
                    legend=[('V(out)', BLUE), ('V(thr)', ORANGE)])
    if kind == 'buck':
        def il(t):
            ph = (t * 8) % 1.0
            ramp = 0.6 + 0.8 * (ph / 0.4) if ph < 0.4 else 1.4 - 0.8 * ((ph - 0.4) / 0.6)
            return ramp * (1 - math.exp(-t * 9))
        return plot(d, box, [(lambda t: 12.0 if ((t * 8) % 1.0) < 0.4 else -0.5, BLUE),
                             (lambda t: il(t) * 4, RED)],
                    xrange=(0, 1), xunit='s', xspan=(0, 40e-6), xlabel='time', title=title,
                    legend=[('V(sw)', BLUE), ('I(L1)\u00d74', RED)])
    if kind == 'pll':
        return plot(d, box, [(lambda t: 1.2 * (1 - math.exp(-t * 5) * math.cos(t * 22)), PURPLE)],
                    xrange=(0, 1), xspan=(0, 2e-3), xunit='s', yunit='V', xlabel='time', title=title,
                    legend=[('V(vctrl)', PURPLE)])
    if kind == 'siren':
        # the sweep of the siren, as its instantaneous frequency
        return plot(d, box, [(lambda t: 700 + 450 * math.sin(2 * math.pi * t / 1.5 * 2 - math.pi / 2), TEAL)],
                    xrange=(0, 1.5), xunit='s', yunit='', ylabel='Hz', xlabel='time', title=title)
    if kind == 'twophase':
        return plot(d, box, [(lambda t: 1.0 if ((t * 6) % 1.0) < 0.45 else 0.0, BLUE),
                             (lambda t: 1.0 if (((t * 6) + 0.5) % 1.0) < 0.45 else 0.0, RED)],
                    xrange=(0, 1), yrange=(-0.2, 1.3), xunit='s', xspan=(0, 1e-6), xlabel='time', title=title,
                    legend=[('\u03c61', BLUE), ('\u03c62', RED)])
    if kind == 'discon_value':
        return plot(d, box, [(lambda t: (0.2 + 0.6 * t) if t < 0.5 else (0.9 - 0.3 * (t - 0.5)), BLUE)],
                    xrange=(0, 1), yrange=(0, 1.1), xunit='s', xspan=(0, 1e-3), xlabel='time', title=title,
                    legend=[('V(x)', BLUE)])
    if kind == 'discon_slope':
        return plot(d, box, [(lambda t: (0.2 + 0.9 * t) if t < 0.5 else (0.65 - 0.2 * (t - 0.5)), RED)],
                    xrange=(0, 1), yrange=(0, 1.1), xunit='s', xspan=(0, 1e-3), xlabel='time', title=title,
                    legend=[('V(x)', RED)])
    if kind == 'timestep':
        xs, ys, t, h = [], [], 0.0, 0.002
        while t < 1.0:
            xs.append(t)
            ys.append(h * 1000)
            edge = min(abs(t - 0.3), abs(t - 0.62))
            h = 0.0004 if edge < 0.02 else min(h * 1.6, 0.03)
            t += h
        return plot(d, box, [(xs, ys, ORANGE)], xrange=(0, 1), xunit='s', xspan=(0, 1e-3), yunit='\u00b5s',
                    xlabel='time', title=title, legend=[('timestep', ORANGE)])
    if kind == 'newton':
        # quadratic convergence: the exponent roughly doubles once near the answer
        ys = [0.3, 0.0, -0.5, -1.4, -3.0, -6.1, -12.3]
        xs = [float(i) for i in range(len(ys))]
        return plot(d, box, [(xs, ys, RED)], xrange=(0, 6), xlabel='iteration',
                    ylabel='log\u2081\u2080 |residual|', title=title)
    if kind == 'gmin':
        xs = [float(i) for i in range(12)]
        ys = [-3 - i * 0.8 for i in range(12)]
        return plot(d, box, [(xs, ys, TEAL)], xrange=(0, 11), xlabel='stepping pass',
                    ylabel='log\u2081\u2080 Gmin', title=title)
    if kind == 'noise':
        return plot(d, box, [(lambda f: 10 * math.log10(1 + 300 / f) + 8, ORANGE)], xrange=(1, 1e6),
                    xlog=True, xunit='Hz', xlabel='frequency', ylabel='nV/\u221aHz (dB)', title=title)
    # 'damped' and anything else
    f = 4 + rng.random() * 3
    return plot(d, box, [(lambda t: math.exp(-t * 2.5) * math.sin(2 * math.pi * f * t), GREEN),
                         (lambda t: 0.7 * math.exp(-t * 2.5) * math.cos(2 * math.pi * f * t), BLUE)],
                xrange=(0, 1), xunit='s', xspan=(0, 1e-3), xlabel='time', title=title,
                legend=[('V(a)', GREEN), ('I(L1)', BLUE)])


def bode(d, box, rng, title=None, fc=None):
    fc = fc or 10 ** (3 + rng.random())
    q = 0.7 + rng.random() * 1.5
    def mag(f):
        w = f / fc
        re = 1 - w * w
        im = w / q
        return 20 * math.log10(40 / math.sqrt(re * re + im * im))
    def phase(f):
        w = f / fc
        return -math.degrees(math.atan2(w / q, 1 - w * w))
    x0, y0, x1, y1 = box
    mid = (y0 + y1) // 2
    plot(d, (x0, y0, x1, mid + 10), [(mag, BLUE)], xrange=(10, 1e6), xlog=True, xunit='Hz',
         yunit='dB', ylabel='gain', title=title)
    return plot(d, (x0, mid + 20, x1, y1), [(phase, RED)], xrange=(10, 1e6), xlog=True, xunit='Hz',
                yunit='\u00b0', ylabel='phase', xlabel='frequency')


def eye(d, box, rng, title=None):
    x0, y0, x1, y1 = box
    if title:
        d.text((x0, y0), title, font=font(22, 'bold'), fill=NAVY)
        y0 += 34
    px0, py0, px1, py1 = x0 + 10, y0 + 6, x1 - 10, y1 - 10
    d.rectangle((px0, py0, px1, py1), fill=(18, 22, 30))
    for i in range(1, 10):
        gx = px0 + (px1 - px0) * i / 10
        d.line((gx, py0, gx, py1), fill=(50, 56, 66), width=1)
    for i in range(1, 8):
        gy = py0 + (py1 - py0) * i / 8
        d.line((px0, gy, px1, gy), fill=(50, 56, 66), width=1)
    levels = (0.2, 0.8)
    for _ in range(70):
        bits = [rng.randint(0, 1) for _ in range(4)]
        jitter = rng.gauss(0, 0.025)
        noise = rng.gauss(0, 0.02)
        pts = []
        for i in range(161):
            t = i / 80.0  # two unit intervals across the box
            k = int(t + 0.5 + jitter)
            a = levels[bits[min(k, 3)]]
            b = levels[bits[min(k + 1, 3)]]
            ph = (t + 0.5 + jitter) - k
            s = 0.5 - 0.5 * math.cos(math.pi * min(max(ph, 0.0), 1.0))
            v = a + (b - a) * s + noise
            pts.append((px0 + (px1 - px0) * t / 2.0, py1 - v * (py1 - py0)))
        d.line(pts, fill=(80, 220, 120), width=2)
    return box


def histogram(d, box, rng, title=None):
    values = [rng.gauss(0, 1) for _ in range(3000)]
    bins = [0] * 30
    for v in values:
        k = int((v + 3.75) / 0.25)
        if 0 <= k < 30:
            bins[k] += 1
    xs, ys = [], []
    for i, n in enumerate(bins):
        left = 4.75 + i * 0.0167
        xs += [left, left, left + 0.0167, left + 0.0167]
        ys += [0, n, n, 0]
    X, Y, area = plot(d, box, [(xs, ys, BLUE)], xrange=(4.75, 5.25), yrange=(0, max(bins) * 1.1),
                      xunit='V', xlabel='V(out) over 3000 runs', ylabel='runs', title=title)
    for i, n in enumerate(bins):
        left = 4.75 + i * 0.0167
        d.rectangle((X(left) + 1, Y(n), X(left + 0.0167) - 1, Y(0) - 1), fill=(120, 160, 230))
    return X, Y, area


def curve_family(d, box, rng, title=None, kind='mos'):
    series = []
    legend = []
    if kind == 'bh':
        def b_up(h):
            return math.tanh((h + 0.25) * 2.4)
        def b_dn(h):
            return math.tanh((h - 0.25) * 2.4)
        series = [(b_up, RED), (b_dn, RED), (lambda h: math.tanh(h * 2.4) * 0.98, GREY)]
        return plot(d, box, series, xrange=(-1.5, 1.5), yrange=(-1.2, 1.2), xlabel='H (kA/m)',
                    ylabel='B (T)', title=title)
    if kind == 'sat':
        series = [(lambda i: 100 / (1 + (i / 3.0) ** 6), RED), (lambda i: 100 / (1 + (i / 5.0) ** 6), BLUE)]
        return plot(d, box, series, xrange=(0, 8), yrange=(0, 110), xunit='A', yunit='\u00b5H',
                    xlabel='current', ylabel='inductance', title=title,
                    legend=[('ungapped', RED), ('gapped', BLUE)])
    if kind == 'qgate':
        def vgs(q):
            if q < 12:
                return q / 12 * 4.5
            if q < 30:
                return 4.5 + (q - 12) * 0.004
            return 4.57 + (q - 30) * 0.24
        return plot(d, box, [(vgs, ORANGE)], xrange=(0, 60), yrange=(0, 12), xunit='nC', yunit='V',
                    xlabel='gate charge', ylabel='V(gate)', title=title)
    for k, vg in enumerate((3.0, 3.5, 4.0, 4.5, 5.0)):
        vt = 2.5
        def ids(vds, vg=vg):
            vov = vg - vt
            if vds < vov:
                return 2 * (vov * vds - vds * vds / 2) * (1 + 0.04 * vds)
            return vov * vov * (1 + 0.04 * vds)
        colour = TRACE_COLOURS[k % len(TRACE_COLOURS)]
        series.append((ids, colour))
        legend.append((f'Vgs={vg:g}', colour))
    return plot(d, box, series, xrange=(0, 10), xunit='V', yunit='A', xlabel='V(drain)',
                ylabel='I(drain)', title=title, legend=legend[-3:])


def bars(d, box, rng, labels, values, title=None, unit='', colour=BLUE, highlight=None):
    x0, y0, x1, y1 = box
    if title:
        d.text((x0, y0), title, font=font(22, 'bold'), fill=NAVY)
        y0 += 36
    f = font(20)
    label_w = max(f.getlength(s) for s in labels) + 16
    n = len(labels)
    row_h = (y1 - y0) / n
    top = max(values)
    for i, (s, v) in enumerate(zip(labels, values)):
        yy = y0 + i * row_h
        d.text((x0 + label_w - 8 - f.getlength(s), yy + row_h / 2 - 12), s, font=f, fill=INK)
        w = (x1 - x0 - label_w - 90) * v / top
        c = ORANGE if highlight == i else colour
        d.rectangle((x0 + label_w, yy + row_h * 0.18, x0 + label_w + w, yy + row_h * 0.82), fill=c)
        d.text((x0 + label_w + w + 8, yy + row_h / 2 - 12), f'{v:g}{unit}', font=f, fill=INK)
    return box


def timeline(d, box, rng, events, title=None):
    x0, y0, x1, y1 = box
    if title:
        d.text((x0, y0), title, font=font(22, 'bold'), fill=NAVY)
        y0 += 36
    mid = (y0 + y1) / 2
    d.line((x0 + 10, mid, x1 - 10, mid), fill=NAVY, width=6)
    d.polygon([(x1 - 10, mid - 14), (x1 + 8, mid), (x1 - 10, mid + 14)], fill=NAVY)
    n = len(events)
    f = font(20)
    fb = font(24, 'bold')
    for i, (year, text) in enumerate(events):
        x = x0 + 40 + (x1 - x0 - 100) * i / max(n - 1, 1)
        d.ellipse((x - 11, mid - 11, x + 11, mid + 11), fill=ORANGE, outline=NAVY, width=3)
        up = i % 2 == 0
        ty = mid - 120 if up else mid + 40
        d.line((x, mid - 12 if up else mid + 12, x, ty + (80 if up else 0)), fill=GREY, width=2)
        w = fb.getlength(year)
        d.text((x - w / 2, ty), year, font=fb, fill=NAVY)
        for k, line in enumerate(text.split('\n')):
            w = f.getlength(line)
            d.text((x - w / 2, ty + 32 + k * 24), line, font=f, fill=INK)
    return box


def blocks(d, box, rng, names, title=None, feedback=True, colour=TEAL):
    """A chain of blocks left to right, with an optional feedback path under them."""
    x0, y0, x1, y1 = box
    if title:
        d.text((x0, y0), title, font=font(22, 'bold'), fill=NAVY)
        y0 += 36
    n = len(names)
    gap = 60
    bw = (x1 - x0 - gap * (n - 1) - 20) / n
    bh = min(130, (y1 - y0) * 0.45)
    top = y0 + (y1 - y0) * 0.2
    f = font(22, 'bold')
    for i, name in enumerate(names):
        bx = x0 + 10 + i * (bw + gap)
        d.rounded_rectangle((bx, top, bx + bw, top + bh), radius=14, fill=mix(colour, WHITE, 0.82),
                            outline=colour, width=4)
        lines = name.split('\n')
        for k, line in enumerate(lines):
            w = f.getlength(line)
            d.text((bx + bw / 2 - w / 2, top + bh / 2 - 14 * len(lines) + k * 28), line, font=f, fill=NAVY)
        if i < n - 1:
            ax = bx + bw
            d.line((ax + 4, top + bh / 2, ax + gap - 8, top + bh / 2), fill=INK, width=4)
            d.polygon([(ax + gap - 4, top + bh / 2), (ax + gap - 18, top + bh / 2 - 9),
                       (ax + gap - 18, top + bh / 2 + 9)], fill=INK)
    if feedback and n > 1:
        fy = top + bh + 60
        first_c = x0 + 10 + bw / 2
        last_c = x0 + 10 + (n - 1) * (bw + gap) + bw / 2
        d.line((last_c, top + bh + 4, last_c, fy), fill=INK, width=4)
        d.line((last_c, fy, first_c, fy), fill=INK, width=4)
        d.line((first_c, fy, first_c, top + bh + 14), fill=INK, width=4)
        d.polygon([(first_c, top + bh + 4), (first_c - 9, top + bh + 18), (first_c + 9, top + bh + 18)], fill=INK)
    return box


def table(d, box, rng, rows, title=None):
    x0, y0, x1, y1 = box
    if title:
        d.text((x0, y0), title, font=font(22, 'bold'), fill=NAVY)
        y0 += 36
    n = len(rows)
    rh = min(56, (y1 - y0) / n)
    cols = len(rows[0])
    cw = (x1 - x0) / cols
    for r, row in enumerate(rows):
        yy = y0 + r * rh
        fill = NAVY if r == 0 else (WHITE if r % 2 else (238, 242, 248))
        d.rectangle((x0, yy, x1, yy + rh), fill=fill)
        for c, cell in enumerate(row):
            f = font(21, 'bold') if r == 0 else font(21)
            d.text((x0 + c * cw + 14, yy + rh / 2 - 13), cell, font=f, fill=WHITE if r == 0 else INK)
    d.rectangle((x0, y0, x1, y0 + n * rh), outline=NAVY, width=2)
    return box


def big_number(d, box, rng, value, caption, colour=TEAL):
    x0, y0, x1, y1 = box
    f = font(150, 'bold')
    w = f.getlength(value)
    d.text(((x0 + x1) / 2 - w / 2, y0 + 20), value, font=f, fill=colour)
    f2 = font(30)
    w = f2.getlength(caption)
    d.text(((x0 + x1) / 2 - w / 2, y0 + 210), caption, font=f2, fill=INK)
    return box


# ---------------------------------------------------------------- schematics

class Schematic:
    """Draws schematic symbols on a grid inside a box; coordinates are grid units."""

    def __init__(self, d, box, cols, rows, title=None):
        x0, y0, x1, y1 = box
        if title:
            d.text((x0, y0), title, font=font(22, 'bold'), fill=NAVY)
            y0 += 40
        self.d = d
        self.u = min((x1 - x0) / cols, (y1 - y0) / rows)
        self.ox = x0 + ((x1 - x0) - self.u * cols) / 2
        self.oy = y0 + ((y1 - y0) - self.u * rows) / 2
        self.w = max(3, int(self.u / 16))
        self.f = font(max(14, int(self.u * 0.32)))
        self.fv = font(max(13, int(self.u * 0.28)), 'italic')

    def p(self, x, y):
        return (self.ox + x * self.u, self.oy + y * self.u)

    def wire(self, *pts):
        self.d.line([self.p(*q) for q in pts], fill=INK, width=self.w, joint='curve')

    def dot(self, x, y):
        cx, cy = self.p(x, y)
        r = self.w * 1.8
        self.d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=INK)

    def label(self, x, y, text, colour=NAVY, value=False, anchor='lm'):
        self.d.text(self.p(x, y), text, font=self.fv if value else self.f, fill=colour, anchor=anchor)

    def _axis(self, a, b):
        (x1, y1), (x2, y2) = a, b
        horiz = y1 == y2
        return horiz, (x1, y1), (x2, y2)

    def resistor(self, a, b, name='', value=''):
        horiz, (x1, y1), (x2, y2) = self._axis(a, b)
        length = (x2 - x1) if horiz else (y2 - y1)
        body = 0.9 * (1 if length > 0 else -1)
        mid = ((x1 + x2) / 2, (y1 + y2) / 2)
        pts = []
        if horiz:
            s, e = mid[0] - body / 2, mid[0] + body / 2
            self.wire((x1, y1), (s, y1))
            pts.append((s, y1))
            for k in range(1, 7):
                pts.append((s + (e - s) * k / 7, y1 + (0.18 if k % 2 else -0.18)))
            pts.append((e, y1))
            self.wire((e, y1), (x2, y2))
            self.label(mid[0], y1 - 0.45, name, anchor='mm')
            self.label(mid[0], y1 + 0.45, value, value=True, anchor='mm')
        else:
            s, e = mid[1] - body / 2, mid[1] + body / 2
            self.wire((x1, y1), (x1, s))
            pts.append((x1, s))
            for k in range(1, 7):
                pts.append((x1 + (0.18 if k % 2 else -0.18), s + (e - s) * k / 7))
            pts.append((x1, e))
            self.wire((x1, e), (x2, y2))
            self.label(x1 + 0.35, mid[1] - 0.22, name)
            self.label(x1 + 0.35, mid[1] + 0.22, value, value=True)
        self.wire(*pts)

    def capacitor(self, a, b, name='', value=''):
        horiz, (x1, y1), (x2, y2) = self._axis(a, b)
        mid = ((x1 + x2) / 2, (y1 + y2) / 2)
        g = 0.12
        if horiz:
            sgn = 1 if x2 > x1 else -1
            self.wire((x1, y1), (mid[0] - g * sgn, y1))
            self.wire((mid[0] + g * sgn, y1), (x2, y2))
            self.wire((mid[0] - g, y1 - 0.35), (mid[0] - g, y1 + 0.35))
            self.wire((mid[0] + g, y1 - 0.35), (mid[0] + g, y1 + 0.35))
            self.label(mid[0], y1 - 0.6, name, anchor='mm')
            self.label(mid[0], y1 + 0.6, value, value=True, anchor='mm')
        else:
            sgn = 1 if y2 > y1 else -1
            self.wire((x1, y1), (x1, mid[1] - g * sgn))
            self.wire((x1, mid[1] + g * sgn), (x2, y2))
            self.wire((x1 - 0.35, mid[1] - g), (x1 + 0.35, mid[1] - g))
            self.wire((x1 - 0.35, mid[1] + g), (x1 + 0.35, mid[1] + g))
            self.label(x1 + 0.5, mid[1] - 0.22, name)
            self.label(x1 + 0.5, mid[1] + 0.22, value, value=True)

    def inductor(self, a, b, name='', value='', bumps=4):
        horiz, (x1, y1), (x2, y2) = self._axis(a, b)
        mid = ((x1 + x2) / 2, (y1 + y2) / 2)
        body = 1.0
        r = body / bumps / 2
        if horiz:
            s = mid[0] - body / 2
            self.wire((x1, y1), (s, y1))
            self.wire((s + body, y1), (x2, y2))
            for k in range(bumps):
                cx, cy = self.p(s + r * (2 * k + 1), y1)
                rr = r * self.u
                self.d.arc((cx - rr, cy - rr, cx + rr, cy + rr), 180, 360, fill=INK, width=self.w)
            self.label(mid[0], y1 - 0.55, name, anchor='mm')
            self.label(mid[0], y1 + 0.45, value, value=True, anchor='mm')
        else:
            s = mid[1] - body / 2
            self.wire((x1, y1), (x1, s))
            self.wire((x1, s + body), (x2, y2))
            for k in range(bumps):
                cx, cy = self.p(x1, s + r * (2 * k + 1))
                rr = r * self.u
                self.d.arc((cx - rr, cy - rr, cx + rr, cy + rr), 270, 90, fill=INK, width=self.w)
            self.label(x1 + 0.45, mid[1] - 0.22, name)
            self.label(x1 + 0.45, mid[1] + 0.22, value, value=True)

    def diode(self, a, b, name='', value=''):
        horiz, (x1, y1), (x2, y2) = self._axis(a, b)
        mid = ((x1 + x2) / 2, (y1 + y2) / 2)
        h = 0.3
        if horiz:
            sgn = 1 if x2 > x1 else -1
            self.wire((x1, y1), (mid[0] - h * sgn, y1))
            self.wire((mid[0] + h * sgn, y1), (x2, y2))
            tri = [self.p(mid[0] - h * sgn, y1 - h), self.p(mid[0] - h * sgn, y1 + h), self.p(mid[0] + h * sgn, y1)]
            self.d.polygon(tri, outline=INK, fill=WHITE, width=self.w)
            self.wire((mid[0] + h * sgn, y1 - h), (mid[0] + h * sgn, y1 + h))
            self.label(mid[0], y1 - 0.6, name, anchor='mm')
            self.label(mid[0], y1 + 0.6, value, value=True, anchor='mm')
        else:
            sgn = 1 if y2 > y1 else -1
            self.wire((x1, y1), (x1, mid[1] - h * sgn))
            self.wire((x1, mid[1] + h * sgn), (x2, y2))
            tri = [self.p(x1 - h, mid[1] - h * sgn), self.p(x1 + h, mid[1] - h * sgn), self.p(x1, mid[1] + h * sgn)]
            self.d.polygon(tri, outline=INK, fill=WHITE, width=self.w)
            self.wire((x1 - h, mid[1] + h * sgn), (x1 + h, mid[1] + h * sgn))
            self.label(x1 + 0.5, mid[1] - 0.2, name)
            self.label(x1 + 0.5, mid[1] + 0.2, value, value=True)

    def ground(self, x, y):
        self.wire((x, y), (x, y + 0.25))
        for k, half in enumerate((0.35, 0.22, 0.09)):
            self.wire((x - half, y + 0.25 + k * 0.12), (x + half, y + 0.25 + k * 0.12))

    def source(self, a, b, name='', value='', kind='pulse'):
        (x1, y1), (x2, y2) = a, b
        mid = (y1 + y2) / 2
        r = 0.42
        self.wire((x1, y1), (x1, mid - r))
        self.wire((x1, mid + r), (x2, y2))
        cx, cy = self.p(x1, mid)
        rr = r * self.u
        self.d.ellipse((cx - rr, cy - rr, cx + rr, cy + rr), outline=INK, fill=WHITE, width=self.w)
        if kind == 'sine':
            pts = [self.p(x1 - 0.25 + 0.5 * k / 20, mid - 0.15 * math.sin(2 * math.pi * k / 20)) for k in range(21)]
            self.d.line(pts, fill=INK, width=max(2, self.w - 1))
        elif kind == 'pulse':
            pts = [(-0.25, 0.12), (-0.1, 0.12), (-0.1, -0.12), (0.1, -0.12), (0.1, 0.12), (0.25, 0.12)]
            self.d.line([self.p(x1 + px, mid + py) for px, py in pts], fill=INK, width=max(2, self.w - 1))
        else:
            self.label(x1, mid - 0.2, '+', anchor='mm')
            self.label(x1, mid + 0.2, '\u2212', anchor='mm')
        self.label(x1 + 0.6, mid - 0.22, name)
        self.label(x1 + 0.6, mid + 0.22, value, value=True)

    def opamp(self, x, y, name=''):
        """Triangle with its inverting input at (x, y), non-inverting at (x, y + 1), output at (x + 3, y + .5)."""
        pts = [self.p(x + 0.4, y - 0.6), self.p(x + 0.4, y + 1.6), self.p(x + 2.6, y + 0.5)]
        self.d.polygon(pts, outline=INK, fill=WHITE, width=self.w)
        self.wire((x, y), (x + 0.4, y))
        self.wire((x, y + 1), (x + 0.4, y + 1))
        self.wire((x + 2.6, y + 0.5), (x + 3, y + 0.5))
        self.label(x + 0.55, y, '\u2212', anchor='lm')
        self.label(x + 0.55, y + 1, '+', anchor='lm')
        self.label(x + 1.0, y - 0.75, name)

    def nmos(self, x, y, name='', value=''):
        """Gate at (x, y); drain at (x + 1, y - 1); source at (x + 1, y + 1)."""
        self.wire((x, y), (x + 0.55, y))
        self.wire((x + 0.55, y - 0.45), (x + 0.55, y + 0.45))
        self.wire((x + 0.72, y - 0.5), (x + 0.72, y + 0.5))
        self.wire((x + 0.72, y - 0.35), (x + 1, y - 0.35), (x + 1, y - 1))
        self.wire((x + 0.72, y + 0.35), (x + 1, y + 0.35), (x + 1, y + 1))
        tip = self.p(x + 0.74, y + 0.35)
        a1 = self.p(x + 0.92, y + 0.25)
        a2 = self.p(x + 0.92, y + 0.45)
        self.d.polygon([tip, a1, a2], fill=INK)
        self.label(x + 1.2, y - 0.25, name)
        self.label(x + 1.2, y + 0.2, value, value=True)

    def box(self, x0, y0, x1, y1, name, pins=()):
        self.d.rectangle((*self.p(x0, y0), *self.p(x1, y1)), outline=INK, fill=(248, 248, 240), width=self.w)
        self.label((x0 + x1) / 2, (y0 + y1) / 2, name, anchor='mm')
        for (px, py, text, anchor) in pins:
            self.label(px, py, text, colour=GREY, anchor=anchor)

    def transformer(self, x, y, name=''):
        """Primary between (x, y) and (x, y + 2), secondary between (x + 1.6, y) and (x + 1.6, y + 2)."""
        for side, sx in ((0, x), (1, x + 1.6)):
            r = 0.25
            for k in range(4):
                cx, cy = self.p(sx, y + r * (2 * k + 1))
                rr = r * self.u
                start, end = (270, 90) if side == 0 else (90, 270)
                self.d.arc((cx - rr, cy - rr, cx + rr, cy + rr), start, end, fill=INK, width=self.w)
        for k in (0.7, 0.9):
            self.wire((x + k, y - 0.1), (x + k, y + 2.1))
        self.dot(x + 0.35, y - 0.05)
        self.dot(x + 1.25, y - 0.05)
        self.label(x + 0.8, y - 0.55, name, anchor='mm')


def schematic(d, box, rng, kind, title=None):
    if kind == 'rc':
        s = Schematic(d, box, 9, 5, title)
        s.source((1, 1), (1, 4), 'V1', 'PULSE(0 5 0 1n 1n 0.5m 1m)')
        s.wire((1, 1), (3, 1))
        s.resistor((3, 1), (6, 1), 'R1', '1k')
        s.wire((6, 1), (7, 1))
        s.dot(7, 1)
        s.capacitor((7, 1), (7, 4), 'C1', '100n')
        s.wire((1, 4), (7, 4))
        s.ground(4, 4)
        s.label(7.3, 0.6, 'out')
        return box
    if kind == 'opamp':
        s = Schematic(d, box, 11, 6, title)
        s.source((1, 2), (1, 5), 'V1', 'SINE(0 0.1 1k)', kind='sine')
        s.wire((1, 2), (2, 2))
        s.resistor((2, 2), (5, 2), 'R1', '10k')
        s.dot(5, 2)
        s.wire((5, 2), (5, 0.8), (6, 0.8))
        s.resistor((6, 0.8), (9, 0.8), 'R2', '100k')
        s.wire((9, 0.8), (9.5, 0.8), (9.5, 2.5))
        s.opamp(5, 2, 'U1')
        s.wire((5, 3), (4.5, 3), (4.5, 5))
        s.wire((8, 2.5), (10, 2.5))
        s.dot(9.5, 2.5)
        s.label(10.1, 2.5, 'out')
        s.wire((1, 5), (4.5, 5))
        s.ground(3, 5)
        return box
    if kind == '555':
        s = Schematic(d, box, 12, 7, title)
        s.wire((1, 0.6), (9, 0.6))
        s.label(1, 0.2, 'VCC 9V')
        s.resistor((3, 0.6), (3, 2.5), 'RA', '10k')
        s.resistor((3, 2.5), (3, 4.4), 'RB', '47k')
        s.capacitor((3, 4.4), (3, 6.2), 'C1', '10n')
        s.ground(3, 6.2)
        s.box(5, 1.6, 8.4, 5.4, 'NE555',
              pins=((5.15, 2.4, 'DIS', 'lm'), (5.15, 3.5, 'THR', 'lm'), (5.15, 4.6, 'TRG', 'lm'),
                    (8.25, 3.5, 'OUT', 'rm'), (6.7, 1.9, 'VCC', 'mm'), (6.7, 5.1, 'GND', 'mm')))
        s.wire((3, 2.5), (5, 2.5))
        s.dot(3, 2.5)
        s.wire((3, 4.4), (4.3, 4.4), (4.3, 3.5), (5, 3.5))
        s.wire((4.3, 4.4), (4.3, 4.6), (5, 4.6))
        s.dot(3, 4.4)
        s.wire((6.7, 0.6), (6.7, 1.6))
        s.wire((6.7, 5.4), (6.7, 6.2))
        s.ground(6.7, 6.2)
        s.wire((8.4, 3.5), (10.5, 3.5))
        s.label(10.6, 3.5, 'out')
        return box
    if kind == 'buck':
        s = Schematic(d, box, 13, 6, title)
        s.source((1, 1), (1, 5), 'V1', '12', kind='dc')
        s.wire((1, 1), (3, 1))
        s.nmos(2, 2.2, 'M1', 'PULSE(0 10 0 5n 5n 2u 5u)')
        s.wire((3, 1.2), (3, 1))
        s.wire((3, 3.2), (3, 3.6), (5, 3.6))
        s.dot(5, 3.6)
        s.diode((5, 5), (5, 3.6), 'D1', 'MBR745')
        s.inductor((5, 3.6), (8, 3.6), 'L1', '10\u00b5')
        s.dot(8, 3.6)
        s.capacitor((8, 3.6), (8, 5), 'C1', '47\u00b5')
        s.wire((8, 3.6), (10.5, 3.6))
        s.resistor((10.5, 3.6), (10.5, 5), 'Rload', '2')
        s.wire((1, 5), (10.5, 5))
        s.ground(6.5, 5)
        return box
    if kind == 'flyback':
        s = Schematic(d, box, 13, 7, title)
        s.source((1, 1), (1, 6), 'V1', '48', kind='dc')
        s.wire((1, 1), (4, 1), (4, 1.5))
        s.transformer(4, 1.5, 'T1  1:0.3')
        s.wire((4, 3.5), (4, 4))
        s.nmos(3, 5, 'Q1', '')
        s.wire((4, 6), (1, 6))
        s.ground(2.5, 6)
        s.wire((5.6, 1.5), (5.6, 1), (7, 1))
        s.diode((7, 1), (9, 1), 'D1', '')
        s.wire((9, 1), (10, 1))
        s.capacitor((10, 1), (10, 3.5), 'C2', '220\u00b5')
        s.wire((10, 1), (12, 1))
        s.resistor((12, 1), (12, 3.5), 'R1', '5')
        s.wire((5.6, 3.5), (12, 3.5))
        return box
    if kind == 'colpitts':
        s = Schematic(d, box, 11, 7, title)
        s.wire((1, 0.6), (8, 0.6))
        s.label(1, 0.25, 'VCC 5V')
        s.inductor((5, 0.6), (5, 2.6), 'L1', '10\u00b5')
        s.nmos(4, 3.6, 'J1', '')
        s.wire((5, 2.6), (7, 2.6))
        s.capacitor((7, 2.6), (7, 4.4), 'C1', '1n')
        s.capacitor((7, 4.4), (7, 6.2), 'C2', '4.7n')
        s.wire((5, 4.6), (5, 4.4), (7, 4.4))
        s.dot(7, 4.4)
        s.resistor((2.5, 3.6), (2.5, 6.2), 'R1', '1Meg')
        s.wire((2.5, 3.6), (4, 3.6))
        s.wire((2.5, 6.2), (7, 6.2))
        s.ground(5, 6.2)
        s.wire((7, 2.6), (9, 2.6))
        s.label(9.1, 2.6, 'out')
        return box
    if kind == 'diode':
        s = Schematic(d, box, 10, 5, title)
        s.source((1, 1), (1, 4), 'V1', 'PULSE(10 -10 1u 10n)')
        s.wire((1, 1), (2, 1))
        s.resistor((2, 1), (5, 1), 'R1', '10')
        s.diode((5, 1), (8, 1), 'D1', 'MUR460')
        s.wire((8, 1), (8.5, 1), (8.5, 4), (1, 4))
        s.ground(5, 4)
        return box
    if kind == 'mosfet':
        s = Schematic(d, box, 10, 6, title)
        s.wire((1, 0.7), (7, 0.7))
        s.label(1, 0.3, 'VDD 400V')
        s.resistor((6, 0.7), (6, 2.3), 'Rload', '100')
        s.nmos(5, 3.3, 'M1', 'VDMOS')
        s.resistor((2, 3.3), (5, 3.3), 'Rg', '10')
        s.source((2, 3.3), (2, 5.5), 'V1', 'PULSE(0 12 0 20n)')
        s.wire((6, 4.3), (6, 5.5), (2, 5.5))
        s.ground(4, 5.5)
        return box
    if kind == 'xform':
        s = Schematic(d, box, 11, 6, title)
        s.source((1, 1.5), (1, 4.5), 'V1', 'SINE(0 325 50)', kind='sine')
        s.wire((1, 1.5), (4, 1.5))
        s.wire((1, 4.5), (4, 4.5), (4, 3.5))
        s.transformer(4, 1.5, 'K1 L1 L2 1')
        s.wire((5.6, 1.5), (8, 1.5))
        s.resistor((8, 1.5), (8, 3.5), 'R1', '50')
        s.wire((5.6, 3.5), (8, 3.5))
        s.ground(4, 4.5)
        return box
    # 'lcr' and anything else: a series RLC
    s = Schematic(d, box, 11, 5, title)
    s.source((1, 1), (1, 4), 'V1', 'PULSE(0 1 0)')
    s.wire((1, 1), (2, 1))
    s.resistor((2, 1), (4.5, 1), 'R1', '2')
    s.inductor((4.5, 1), (7, 1), 'L1', '1\u00b5')
    s.wire((7, 1), (8.5, 1))
    s.capacitor((8.5, 1), (8.5, 4), 'C1', '1\u00b5')
    s.wire((1, 4), (8.5, 4))
    s.ground(4.5, 4)
    return box


def draw_figure(d, box, rng, figure):
    kind, *args = figure
    kwargs = args[0] if args else {}
    return {
        'transient': transient, 'bode': bode, 'eye': eye, 'histogram': histogram,
        'curves': curve_family, 'bars': bars, 'timeline': timeline, 'blocks': blocks,
        'table': table, 'schematic': schematic, 'big': big_number,
    }[kind](d, box, rng, **kwargs)
