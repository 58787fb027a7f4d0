"""Draws one 1920x1080 slide PNG for a row of the deck table."""

from PIL import Image, ImageDraw, ImageOps

import figures
from drawing import GREY, INK, NAVY, ORANGE, TEAL, font, rng_for, wrap
from slide_content import CONTENT

W, H = 1920, 1080
QUIET = int(H * 0.93)          # logos and the copyright band are drawn below this line
HALF_MARKER = W * 0.009        # half the side of the marker the presenter draws
LABEL_COLOUR = (0, 86, 160)
SQUARE_Y = 0.018 * W / H       # marker side as a fraction of the height


def background():
    """White at the top fading to a pale blue-grey, as a slide template would."""
    ramp = Image.linear_gradient('L').resize((W, H))
    return ImageOps.colorize(ramp, (255, 255, 255), (232, 238, 246))


def spot_px(spot):
    return spot.x * W, (1.0 - spot.y) * H


def draw_frame(d, slide, title, accent=TEAL):
    d.text((8, 4), slide.image, font=font(16), fill=GREY)
    if title:
        d.text((86, 44), title, font=font(54, 'bold'), fill=NAVY)
    # The rule stops short of any hotspot that sits up in the title band.
    right = W - 86
    for spot in slide.spots:
        cx, cy = spot_px(spot)
        if cy < 180:
            right = min(right, cx - HALF_MARKER - 24 - font(22, 'italic').getlength(spot.file_name))
    d.rectangle((86, 126, right, 131), fill=accent)
    d.rectangle((86, 126, 286, 131), fill=ORANGE)


def draw_bullets(d, box, bullets, size=34):
    x0, y0, x1, y1 = box[0] * W, box[1] * H, box[2] * W, box[3] * H
    while size > 18:
        fnt = font(size)
        lines = [wrap(b, fnt, x1 - x0 - size * 1.2) for b in bullets]
        height = sum(len(ls) for ls in lines) * size * 1.3 + len(lines) * size * 0.55
        if height <= y1 - y0:
            break
        size -= 2
    fnt = font(size)
    y = y0 + size * 0.3
    for ls in lines:
        r = size * 0.2
        d.rectangle((x0, y + size * 0.42 - r, x0 + 2 * r, y + size * 0.42 + r), fill=TEAL)
        for line in ls:
            d.text((x0 + size * 1.0, y), line, font=fnt, fill=INK)
            y += size * 1.3
        y += size * 0.55


def _left_neighbour_gap(spot, spots):
    """Room to the left of a hotspot before the marker of one standing beside it."""
    cx = spot.x * W
    gap = cx
    for other in spots:
        if other is spot or abs(other.y - spot.y) >= SQUARE_Y:
            continue
        ox = other.x * W
        if ox < cx:
            gap = min(gap, cx - ox - 2 * HALF_MARKER)
    return gap


def draw_spot_labels(d, spots, fnt=None, colour=LABEL_COLOUR, text_of=None):
    """Names each hotspot's file just left of its marker, as a speaker's slide would; a
    hotspot squeezed against its neighbour gets its name under the marker instead."""
    fnt = fnt or font(22, 'italic')
    for spot in spots:
        text = text_of(spot) if text_of else spot.file_name
        cx, cy = spot_px(spot)
        width = fnt.getlength(text)
        room = _left_neighbour_gap(spot, spots) - HALF_MARKER - 12
        if width <= room:
            d.text((cx - HALF_MARKER - 7, cy), text, font=fnt, fill=colour, anchor='rm')
        else:
            below = cy + HALF_MARKER + 4
            if below + 24 > H:
                below = cy - HALF_MARKER - 30
            d.text((cx, below), text, font=fnt, fill=colour, anchor='mt')


def draw_headings(d, headings):
    fnt = font(26, 'bold')
    for x, y, text in headings:
        right = x * W + HALF_MARKER
        top = y * H
        d.text((right, top), text, font=fnt, fill=NAVY, anchor='ra')
        w = fnt.getlength(text)
        d.line((right - w, top + 34, right, top + 34), fill=ORANGE, width=3)


def fig_box_px(box):
    return (int(box[0] * W), int(box[1] * H), int(box[2] * W), int(min(box[3] * H, QUIET - 8)))


def render_title(slide):
    img = background()
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, W, 160), fill=(220, 231, 245))
    d.rectangle((0, 160, W, 164), fill=TEAL)
    d.text((8, 4), slide.image, font=font(16), fill=GREY)
    d.text((W / 2, 38), 'Circelo Vexa Seminar Tour 2017', font=font(60, 'bold'), fill=NAVY, anchor='ma')
    d.text((W / 2, 112), 'Simulation for power and analog design \u2014 click a city for a photo',
           font=font(28), fill=TEAL, anchor='ma')
    draw_spot_labels(d, slide.spots, fnt=font(30), colour=NAVY,
                     text_of=lambda s: s.file_name.rsplit('.', 1)[0])
    return img


def render_thanks(slide):
    img = background()
    d = ImageDraw.Draw(img)
    d.text((8, 4), slide.image, font=font(16), fill=GREY)
    # The presenter puts two big logos across the middle of the closing slide and a
    # partner's logo under them, so the words stay above and at the sides.
    d.text((W / 2, 70), 'Thank you!', font=font(120, 'bold'), fill=NAVY, anchor='ma')
    d.text((W / 2, 230), 'Questions, circuits and war stories are welcome', font=font(40), fill=TEAL,
           anchor='ma')
    d.rectangle((560, 300, 1360, 305), fill=ORANGE)
    d.text((120, 900), 'Circelo Vexa is free from Quillmere Circuits', font=font(28), fill=INK)
    d.text((W - 120, 900), 'Slides and examples: on the tour USB stick', font=font(28), fill=INK, anchor='ra')
    return img


def render_slide(slide):
    """Returns the slide as an RGB image."""
    if slide.index == 0:
        img = render_title(slide)
    elif slide.stem == 'Thanks':
        img = render_thanks(slide)
    else:
        img = background()
        d = ImageDraw.Draw(img)
        content = CONTENT.get(slide.stem, {})
        title = content.get('title', slide.stem)
        if not slide.enabled and not title.lower().startswith('backup'):
            title = 'Backup: ' + title
        draw_frame(d, slide, title)
        bullets = content.get('bullets', ['Demo circuits on this slide'] if slide.spots else [])
        draw_bullets(d, content.get('text', (0.045, 0.17, 0.47, 0.9)), bullets)
        fig = content.get('fig', ('transient', dict(kind='damped')))
        if fig:
            box = fig_box_px(content.get('fig_box', (0.51, 0.17, 0.96, 0.88)))
            figures.draw_figure(d, box, rng_for('figure', slide.image), fig)
        draw_headings(d, content.get('headings', []))
        draw_spot_labels(d, slide.spots)
    return img


def write_slide(slide, path):
    render_slide(slide).save(path, 'PNG', compress_level=9)
