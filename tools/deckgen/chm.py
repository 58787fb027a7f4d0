"""A small compiled-help (ITSF) file with all content stored uncompressed.

Layout: the ITSF header, header section 0 (file size), the ITSP directory header with one
PMGL listing chunk, then content section 0 holding the files back to back. Everything
lives in section 0 ("Uncompressed"), so no LZX stream is needed; readers that follow the
format (the Windows help viewer, chmlib) open it like any other help file.
"""

import struct
import uuid

CHUNK = 0x1000
DENSITY = 2
LANG = 0x0409
ITSF_GUID_1 = uuid.UUID('7C01FD10-7BAA-11D0-9E0C-00A0C922E6EC').bytes_le
ITSF_GUID_2 = uuid.UUID('7C01FD11-7BAA-11D0-9E0C-00A0C922E6EC').bytes_le
ITSP_GUID = uuid.UUID('5D02926A-212E-11D0-9DF9-00A0C922E6EC').bytes_le


def encint(value):
    """Big-endian base-128 with the high bit on every byte but the last."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def _system_file(title, default_topic, contents):
    def entry(code, data):
        return struct.pack('<HH', code, len(data)) + data
    lcid = struct.pack('<IIIIIQII', LANG, 0, 0, 0, 0, 0, 0, 0)
    body = struct.pack('<I', 3)
    body += entry(0, contents.encode('ascii') + b'\0')
    body += entry(2, default_topic.encode('ascii') + b'\0')
    body += entry(3, title.encode('ascii') + b'\0')
    body += entry(4, lcid)
    body += entry(9, b'Circelo Vexa help builder 1.0\0')
    return body


def _name_list():
    names = ['Uncompressed']
    data = struct.pack('<H', len(names))
    for name in names:
        data += struct.pack('<H', len(name)) + name.encode('utf-16-le') + b'\0\0'
    return struct.pack('<H', (len(data) + 2) // 2) + data


def build_chm(pages, title, default_topic, contents_file):
    """pages: dict of path inside the file (without leading '/') to bytes."""
    files = {'/#SYSTEM': _system_file(title, default_topic, contents_file),
             '::DataSpace/NameList': _name_list()}
    for path, data in pages.items():
        files['/' + path] = data
    # Content section 0: the files back to back.
    content = b''
    entries = [('/', 0, 0, 0)]
    for name in sorted(files, key=lambda n: n.lower().encode('utf-8')):
        data = files[name]
        entries.append((name, 0, len(content), len(data)))
        content += data
    entries.sort(key=lambda e: e[0].lower().encode('utf-8'))

    # One PMGL chunk: entries from the front, quick-reference offsets from the back.
    body = b''
    offsets = []
    for name, section, offset, length in entries:
        offsets.append(len(body))
        raw = name.encode('utf-8')
        body += encint(len(raw)) + raw + encint(section) + encint(offset) + encint(length)
    step = 1 + (1 << DENSITY)
    quickref = [offsets[i] for i in range(step, len(entries), step)]
    tail = b''.join(struct.pack('<H', q) for q in reversed(quickref)) + struct.pack('<H', len(entries))
    free = CHUNK - 0x14 - len(body)
    if free < len(tail):
        raise ValueError('help file too large for one directory chunk')
    chunk = struct.pack('<4sIIii', b'PMGL', free, 0, -1, -1) + body
    chunk += b'\0' * (CHUNK - len(chunk) - len(tail)) + tail

    itsp = struct.pack('<4sIIIIIiiiiiiI', b'ITSP', 1, 0x54, 0x0A, CHUNK, DENSITY, 1, -1, 0, 0, -1, 1, LANG)
    itsp += ITSP_GUID + struct.pack('<Iiii', 0x54, -1, -1, -1)
    directory = itsp + chunk

    header_len = 0x60
    section0_off = header_len
    section0_len = 0x18
    dir_off = section0_off + section0_len
    content_off = dir_off + len(directory)
    total = content_off + len(content)
    itsf = struct.pack('<4sIIIII', b'ITSF', 3, header_len, 1, 0x5C3E2A10, LANG)
    itsf += ITSF_GUID_1 + ITSF_GUID_2
    itsf += struct.pack('<QQQQQ', section0_off, section0_len, dir_off, len(directory), content_off)
    section0 = struct.pack('<IIQII', 0x01FE, 0, total, 0, 0)
    out = itsf + section0 + directory + content
    assert len(out) == total
    return out


def help_file():
    style = '<style>body{font-family:Tahoma,sans-serif;margin:2em} h1{color:#162a5c}</style>'

    def page(heading, paragraphs):
        text = ''.join(f'<p>{p}</p>' for p in paragraphs)
        return (f'<html><head><title>{heading}</title>{style}</head><body><h1>{heading}</h1>{text}'
                f'</body></html>').encode('ascii')

    pages = {
        'index.htm': page('Circelo Vexa Help', [
            'Circelo Vexa is a free circuit simulator from Quillmere Circuits: schematic capture, '
            'a SPICE engine and a waveform viewer in one program.',
            'See <a href="simulator.htm">The simulator</a> and <a href="waveforms.htm">Waveforms</a>.']),
        'simulator.htm': page('The simulator', [
            'Analyses: .tran, .ac, .dc, .noise, .tf and .op.',
            'Directives are written on the schematic as text beginning with a dot.']),
        'waveforms.htm': page('Waveforms', [
            'Click a node to plot its voltage; click a part to plot its current.',
            'Alt-click a wire to probe the current through it.']),
    }
    pages['toc.hhc'] = (
        '<html><body><ul>'
        '<li><object type="text/sitemap"><param name="Name" value="Circelo Vexa Help">'
        '<param name="Local" value="index.htm"></object>'
        '<li><object type="text/sitemap"><param name="Name" value="The simulator">'
        '<param name="Local" value="simulator.htm"></object>'
        '<li><object type="text/sitemap"><param name="Name" value="Waveforms">'
        '<param name="Local" value="waveforms.htm"></object>'
        '</ul></body></html>').encode('ascii')
    return build_chm(pages, 'Circelo Vexa Help', 'index.htm', 'toc.hhc')
