"""The demo files the slides link to, other than photos: circuits, a netlist, a waveform
data file, PDF manuals, sound files and the help file.

Circuit files (".asc") use the Circelo Vexa text schematic: comment lines start with ';',
drawing records with '@' (sheet, part placement, wires, text), and the circuit itself is
written as netlist element lines plus dot directives, so a reader that only wants the
circuit can skip every '@' line.
"""

import array
import io
import math
import sys
import wave

from drawing import rng_for

# ---------------------------------------------------------------- circuits

# Each template: (title, element lines, directive lines).
TEMPLATES = {
    'rc': ('RC low-pass filter',
           ['V1 in 0 PULSE(0 5 0 1n 1n 0.5m 1m)', 'R1 in out 1k', 'C1 out 0 100n'],
           ['.tran 0 3m 0 1u']),
    'lcr': ('Series resonant circuit',
            ['V1 in 0 PULSE(0 1 10u 10n 10n 1m 2m)', 'R1 in a 2', 'L1 a b 10u', 'C1 b 0 1u'],
            ['.tran 0 200u 0 50n']),
    '555': ('Astable multivibrator with the NE555 timer',
            ['V1 vcc 0 9', 'RA vcc dis 10k', 'RB dis thr 47k', 'C1 thr 0 10n', 'C2 ctl 0 10n',
             'XU1 thr thr dis out vcc ctl vcc 0 NE555', 'RL out 0 1k'],
            ['.tran 0 5m 0 1u startup']),
    'buck': ('Synchronous buck converter, 12 V to 3.3 V',
             ['V1 in 0 12', 'M1 in g sw sw NMOS_PWR', 'Vg g sw PULSE(0 10 0 5n 5n 1.4u 5u)',
              'D1 0 sw SCHOTTKY', 'L1 sw out 10u Rser=8m', 'C1 out 0 47u Rser=5m', 'Rload out 0 1.1'],
             ['.model NMOS_PWR VDMOS(Rg=2 Vto=2.5 Rd=8m Cgdmax=1n Cgdmin=50p Cgs=1.2n)',
              '.model SCHOTTKY D(Is=20u Rs=20m N=1.05 Cjo=400p)', '.tran 0 1m 0 10n startup']),
    'flyback': ('Two-output flyback converter',
                ['V1 in 0 48', 'L1 in d 200u', 'L2 0 s1 18u', 'L3 0 s2 18u', 'K1 L1 L2 L3 0.98',
                 'M1 d g 0 0 NMOS_PWR', 'Vg g 0 PULSE(0 12 0 10n 10n 3u 10u)',
                 'D1 s1 o1 FAST', 'C1 o1 0 220u', 'R1 o1 0 5', 'D2 s2 o2 FAST', 'C2 o2 0 220u',
                 'R2 o2 0 10'],
                ['.model NMOS_PWR VDMOS(Rg=3 Vto=3 Rd=60m Cgdmax=800p Cgdmin=30p Cgs=900p)',
                 '.model FAST D(Is=1n Rs=30m Tt=20n)', '.tran 0 2m 0 20n']),
    'xform': ('Mains transformer with a resistive load',
              ['V1 p 0 SINE(0 325 50)', 'L1 p 0 10', 'L2 s 0 0.1', 'K1 L1 L2 0.995', 'R1 s 0 50'],
              ['.tran 0 100m 0 20u']),
    'colpitts': ('Colpitts oscillator',
                 ['V1 vcc 0 5', 'L1 vcc d 10u', 'J1 d g s J310', 'C1 d s 1n', 'C2 s 0 4.7n',
                  'R1 g 0 1Meg', 'R2 s 0 1k', 'C3 g d 100p'],
                 ['.model J310 NJF(Beta=4m Vto=-3 Lambda=0.02)', '.tran 0 100u 0 5n startup']),
    'diode': ('Diode reverse recovery',
              ['V1 in 0 PULSE(10 -10 1u 10n 10n 5u 10u)', 'R1 in a 10', 'D1 a 0 MUR460'],
              ['.model MUR460 D(Is=3n Rs=30m N=1.6 Tt=60n Cjo=40p BV=600)', '.tran 0 12u 0 1n']),
    'mosfet': ('Power MOSFET switching test',
               ['V1 vdd 0 400', 'Rload vdd d 100', 'M1 d g 0 0 VDMOS_400V', 'Rg drv g 10',
                'V2 drv 0 PULSE(0 12 0 20n 20n 2u 5u)'],
               ['.model VDMOS_400V VDMOS(Rg=1.5 Vto=3.8 Rd=0.3 Cgdmax=2n Cgdmin=20p Cgs=1.8n)',
                '.tran 0 10u 0 1n']),
    'opamp': ('Inverting amplifier, gain -10',
              ['V1 in 0 SINE(0 0.1 1k)', 'R1 in inv 10k', 'R2 inv out 100k',
               'XU1 0 inv vcc vee out OPAMP1', 'V2 vcc 0 15', 'V3 vee 0 -15'],
              ['.tran 0 5m 0 1u']),
    'ac': ('Small-signal response of a two-pole amplifier',
           ['V1 in 0 SINE(0 1m 1k) AC 1', 'R1 in inv 10k', 'R2 inv out 100k', 'C1 inv out 10p',
            'XU1 0 inv vcc vee out OPAMP1', 'V2 vcc 0 15', 'V3 vee 0 -15', 'RL out 0 2k'],
           ['.ac dec 50 10 10Meg', '.tran 0 5m 0 1u']),
    'behavioral': ('Behavioural phase-locked loop',
                   ['Vref ref 0 PULSE(0 1 0 1n 1n 0.5u 1u)', 'B1 pd 0 V=0.5*(V(ref)-V(fb))',
                    'R1 pd f 10k', 'C1 f 0 10n', 'B2 vco 0 V=sin(2*pi*(1Meg+200k*V(f))*time)',
                    'B3 fb 0 V=V(vco)>0 ? 1 : 0'],
                   ['.tran 0 2m 0 5n']),
    'eye': ('Baseband channel with a pseudo-random source',
            ['V1 tx 0 PULSE(0 1 0 100p 100p 0.9n 2n)', 'R1 tx a 50', 'T1 a 0 b 0 Z0=50 Td=2n',
             'C1 b 0 2p', 'R2 b 0 50'],
            ['.tran 0 2u 0 10p']),
    'magnetic': ('Inductor with a saturating core',
                 ['V1 in 0 PULSE(0 24 0 10n 10n 4u 10u)', 'L1 in a Hc=16 Bs=0.42 Br=0.1 A=52u Lm=55m Lg=1m N=40',
                  'R1 a 0 0.2'],
                 ['.tran 0 50u 0 5n']),
}

DIRECTIVES = {
    'dotmeas': ['.meas TRAN vmax MAX V(out)', '.meas TRAN trise TRIG V(out) VAL=0.5 RISE=1 TARG V(out) VAL=4.5 RISE=1'],
    'dotstep': ['.step param Rval list 500 1k 2k 5k'],
    'dotfour': ['.four 1k 9 V(out)'],
    'dotparam': ['.param Rval=1k Cval={1/(2*pi*1k*Rval)}'],
    'dotfunc': ['.func tau(r,c)={r*c}'],
    'dotsave': ['.save V(out) I(R1)'],
    'dotic': ['.ic V(out)=2.5'],
    'dotnodeset': ['.nodeset V(out)=2.5'],
    'noise': ['.noise V(out) V1 dec 20 1 1Meg'],
    'noisefig': ['.noise V(out) V1 dec 20 1k 100Meg'],
    'tf': ['.tf V(out) V1'],
    'polezero': ['.pz V(in) 0 V(out) 0 vol pz'],
    'montecarlo': ['.step param run 1 3000 1', '.param Rtol=0.01'],
    'worstcase': ['.step param run 0 7 1', '.func wc(nom,tol,idx)={nom*(1+tol*(2*bin(idx)-1))}'],
    'gmin': ['.options gminsteps=12 srcsteps=0'],
    'fft': ['.options plotwinsize=0', '.four 1k 20 V(out)'],
    'compression': ['.options plotwinsize=0 numdgt=15'],
}


def _template_for(stem):
    s = stem.lower()
    rules = [
        (('astable', 'ne555'), '555'),
        (('buck', 'twophase', 'casestudy', 'smsp'), 'buck'),
        (('flyback', 'forward', 'multiwind'), 'flyback'),
        (('xform',), 'xform'),
        (('gapped', 'indsat', 'satdesign', 'hysteresis'), 'magnetic'),
        (('colpitts', 'crystal'), 'colpitts'),
        (('diode', 'recovery', 'bandgap', 'varistor'), 'diode'),
        (('curvetrace', 'mosfet', 'qgate', 'vdmos', 'bjt', 'selfheating', 'leakage'), 'mosfet'),
        (('pll', 'vco', 'bsource', 'laplace', 'table', 'behav'), 'behavioral'),
        (('eye', 'baseband', 'ibis'), 'eye'),
        (('zin', 'zout', 'gain', 'middlebrook', 'tian', 'psrr', 'cmrr', 'tf', 'polezero', 'sparam',
          'stability', 'bode', 'noise', 'vmode', 'opamp', 'vendor', 'ldo'), 'ac'),
        (('rlc', 'ladder', 'lamp', 'relay', 'fuse', 'thermistor'), 'lcr'),
    ]
    for keys, name in rules:
        if any(k in s for k in keys):
            return name
    return 'rc'


def _placement(elements, rng):
    """Drawing records: a sheet, one placed symbol per part and wires between them."""
    lines = ['@sheet 1 1280 720']
    x, y = 96, 160
    last = None
    for element in elements:
        ref = element.split()[0]
        kind = {'R': 'res', 'C': 'cap', 'L': 'ind', 'V': 'voltage', 'D': 'diode', 'M': 'nmos',
                'B': 'bv', 'K': 'coupling', 'J': 'njf', 'T': 'tline'}.get(ref[0].upper(), 'part')
        if ref[0].upper() == 'X':
            kind = element.split()[-1].lower()  # a subcircuit's symbol is named after it
        rot = rng.choice(['R0', 'R90'])
        lines.append(f'@part {kind} {ref} {x} {y} {rot}')
        if last:
            lines.append(f'@line {last[0]} {last[1]} {x} {y}')
        last = (x, y)
        x += 160
        if x > 1100:
            x, y = 96, y + 192
    return lines


def circuit_file(name, run):
    stem = name.rsplit('.', 1)[0]
    rng = rng_for('circuit', name)
    template = _template_for(stem)
    title, elements, directives = TEMPLATES[template]
    elements = list(elements)
    directives = list(directives)
    extra = DIRECTIVES.get(stem.lower())
    if extra:
        directives = extra + [d for d in directives if d.startswith('.tran') or d.startswith('.model')]
    if stem.lower() == 'importsiren':
        title = 'A sound file as a voltage source'
        elements = ['V1 in 0 wavefile="siren.wav" chan=0', 'R1 in out 1k', 'C1 out 0 47n', 'RL out 0 10k']
        directives = ['.tran 0 1.5 0 20u']
    elif stem.lower() == 'waveout':
        title = 'Writing a node to a sound file'
        elements = ['V1 in 0 SINE(0 0.8 440)', 'R1 in out 1k', 'C1 out 0 100n', 'D1 out 0 CLIP', 'D2 0 out CLIP']
        directives = ['.model CLIP D(Is=1f N=1)', '.wave Output.wav 16 22050 V(out)', '.tran 0 1.5 0 20u']
    elif stem.lower() == 'unicode':
        title = 'Unicode names: \u00b5-sized parts, \u03a9 and \u00b0C in labels'
        elements = ['V1 \u8f93\u5165 0 PULSE(0 5 0 1n 1n 0.5m 1m)', 'R1 \u8f93\u5165 \u03a9out 4.7k',
                    'C1 \u03a9out 0 220n', 'R\u00e9sistance \u03a9out 0 100k']
        directives = ['.tran 0 3m 0 1u']
    lines = ['; Circelo Vexa circuit', f'; {title}',
             f'; {name}: ' + ('shown running during the talk' if run else 'opened during the talk')]
    lines += _placement(elements, rng)
    lines += [f'@text 96 {640 - 24 * i} "{d}"' for i, d in enumerate(directives)]
    lines.append('')
    lines += elements
    lines += directives
    lines.append('.end')
    text = '\r\n'.join(lines) + '\r\n'
    if stem.lower() == 'unicode':
        return b'\xff\xfe' + text.encode('utf-16-le')  # saved as the editor does for such names
    return text.encode('utf-8')


def netlist_file(name):
    stem = name.rsplit('.', 1)[0]
    lines = [f'* {stem} op amp macromodel, with its test circuit',
             '* Supplied by the vendor; used unchanged.',
             'V1 in 0 SINE(0 0.5 1k)', 'R1 in inv 10k', 'R2 inv out 100k',
             'XU1 0 inv vcc vee out AC1001', 'V2 vcc 0 15', 'V3 vee 0 -15', 'RL out 0 2k',
             '.subckt AC1001 inp inn vp vn out', 'Rin inp inn 2Meg', 'G1 0 a inp inn 100u',
             'R1 a 0 1Meg', 'C1 a 0 15.9n', 'E1 b 0 a 0 1', 'Rout b out 75',
             'D1 out vp DCLAMP', 'D2 vn out DCLAMP', '.model DCLAMP D(Is=1f)', '.ends AC1001',
             '.tran 0 5m 0 1u', '.end']
    return ('\r\n'.join(lines) + '\r\n').encode('ascii')


def raw_file(name):
    """A waveform data file in the ASCII raw format: time, input and output of an RC."""
    points = 201
    lines = [f'Title: * {name} annotated RC step', 'Date: Tue Mar 14 09:30:00 2017',
             'Plotname: Transient Analysis', 'Flags: real', 'No. Variables: 3', f'No. Points: {points}',
             'Variables:', '\t0\ttime\ttime', '\t1\tV(in)\tvoltage', '\t2\tV(out)\tvoltage', 'Values:']
    for i in range(points):
        t = i * 10e-6
        vin = 5.0 if t >= 100e-6 else 0.0
        vout = 5.0 * (1 - math.exp(-(t - 100e-6) / 300e-6)) if t >= 100e-6 else 0.0
        lines.append(f'{i}\t{t:.9e}')
        lines.append(f'\t{vin:.9e}')
        lines.append(f'\t{vout:.9e}')
    return ('\n'.join(lines) + '\n').encode('ascii')


# ---------------------------------------------------------------- PDF

def _pdf_text(s):
    return s.replace('\\', '\\\\').replace('(', '\\(').replace(')', '\\)')


def pdf_file(name):
    """One A4 page with the manual's language as its heading; objects written by hand
    with exact cross-reference offsets."""
    language = name.rsplit('.', 1)[0]
    body_lines = ['Circelo Vexa User Guide', f'This is the {language} edition of the manual.',
                  'Chapters: Getting started, Schematic capture, Simulator reference,',
                  'Waveform viewer, Examples.', 'Quillmere Circuits Ltd., 2017']
    ops = ['BT', '/F1 36 Tf', '72 760 Td', f'({_pdf_text(language)}) Tj', 'ET', '0.09 0.16 0.36 RG', '3 w',
           '72 748 m 523 748 l S', 'BT', '/F2 14 Tf', '72 716 Td', '18 TL']
    for line in body_lines:
        ops.append(f'({_pdf_text(line)}) Tj T*')
    ops.append('ET')
    stream = ('\n'.join(ops) + '\n').encode('ascii')
    objects = [
        b'<< /Type /Catalog /Pages 2 0 R >>',
        b'<< /Type /Pages /Kids [3 0 R] /Count 1 >>',
        b'<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R '
        b'/Resources << /Font << /F1 5 0 R /F2 6 0 R >> >> >>',
        b'<< /Length ' + str(len(stream)).encode() + b' >>\nstream\n' + stream + b'endstream',
        b'<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold >>',
        b'<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>',
        b'<< /Title (' + _pdf_text(f'Circelo Vexa User Guide ({language})').encode() + b') '
        b'/Producer (deckgen) >>',
    ]
    out = bytearray(b'%PDF-1.4\n%\xe2\xe3\xcf\xd3\n')
    offsets = []
    for number, obj in enumerate(objects, 1):
        offsets.append(len(out))
        out += f'{number} 0 obj\n'.encode() + obj + b'\nendobj\n'
    xref = len(out)
    out += f'xref\n0 {len(objects) + 1}\n'.encode()
    out += b'0000000000 65535 f \n'
    for offset in offsets:
        out += f'{offset:010d} 00000 n \n'.encode()
    out += (f'trailer\n<< /Size {len(objects) + 1} /Root 1 0 R /Info {len(objects)} 0 R >>\n'
            f'startxref\n{xref}\n%%EOF\n').encode()
    return bytes(out)


# ---------------------------------------------------------------- sound

RATE = 22050


def _wav_bytes(samples):
    pcm = array.array('h', samples)
    if sys.byteorder == 'big':
        pcm.byteswap()  # WAV data is little-endian
    buf = io.BytesIO()
    with wave.open(buf, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
    return buf.getvalue()


def siren_samples(seconds=1.5):
    out = []
    phase = 0.0
    n = int(RATE * seconds)
    for i in range(n):
        t = i / RATE
        f = 700 + 450 * math.sin(2 * math.pi * t / seconds * 2 - math.pi / 2)  # two up-down sweeps
        phase += 2 * math.pi * f / RATE
        env = min(1.0, t / 0.05, (seconds - t) / 0.05)
        out.append(int(0.6 * 32767 * env * math.sin(phase)))
    return out


def wav_file(name):
    samples = siren_samples()
    if name.lower() != 'siren.wav':
        # What the clipping circuit makes of a tone: a soft-limited 440 Hz note.
        samples = []
        for i in range(int(RATE * 1.5)):
            t = i / RATE
            v = math.tanh(2.5 * math.sin(2 * math.pi * 440 * t)) * 0.5
            env = min(1.0, t / 0.05, (1.5 - t) / 0.05)
            samples.append(int(32767 * v * env))
    return _wav_bytes(samples)
