#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (small files, committed).

Run from anywhere: python3 fuzz/corpus/make_seeds.py
"""
import math
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

# Default normalised values by ID 0..28 (Crossover Freq: 300 Hz on 100 * 8^v).
DEFAULTS = [0.0, 0.0, 1.0, 0.75, 0.75, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.5, 0.5, 0.3, 0.75, 0.5, 0.5,
            0.5, 0.3, 0.5, 0.75, 0.5, 0.5, 0.0, math.log(3) / math.log(8), 0.0, 0.0, 0.0, 0.0]


def record(pid, value):
    return struct.pack('>Id', pid, value)


def state(values):
    return b''.join(record(i, v) for i, v in enumerate(values))


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def state_seeds():
    nan = float('nan')
    inf = float('inf')
    extremes = list(DEFAULTS)
    extremes[3] = 1.0     # +12 dB
    extremes[14] = 1.0
    extremes[20] = 1.0
    extremes[19] = 1.0
    extremes[23] = 1.0    # LR-4
    extremes[24] = 0.0
    seeds = {
        'empty': b'',
        'defaults': state(DEFAULTS),
        'defaults-plus-5': state(DEFAULTS) + b'\x01\x02\x03\x04\x05',
        'truncated-record': record(3, 0.5)[:11],
        'one-record': record(24, 0.2),
        'unknown-ids': record(29, 0.5) + record(0xFFFFFFFF, 0.5) + record(4, 0.25),
        'non-finite': record(3, nan) + record(4, inf) + record(11, -inf) + record(12, 0.25),
        'out-of-range': record(3, 1.5) + record(4, -0.5) + record(24, 1e300) + record(17, -1e-310),
        'reversed-and-repeated': b''.join(record(i, 1.0 - v) for i, v in reversed(list(enumerate(DEFAULTS))))
        + record(11, 0.1) + record(11, 0.9),
        'extremes': state(extremes),
        'program-and-mono': record(0, 1.0) + record(28, 1.0) + record(25, 1.0) + record(26, 1.0),
    }
    for target in ('fuzz_processor_state', 'fuzz_controller_state'):
        for name, data in seeds.items():
            write(target, name, data)


def random_seeds(target, count, size, seed):
    rng = random.Random(seed)
    for i in range(count):
        write(target, 'random-%d' % i, bytes(rng.randrange(256) for _ in range(size)))


def process_seeds():
    write('fuzz_process', 'zeros', bytes(64))
    write('fuzz_process', 'ones', bytes([0xFF]) * 64)
    random_seeds('fuzz_process', 6, 256, 7)


def text_seeds():
    random_seeds('fuzz_param_text', 6, 96, 11)
    # VST 3 path (first bit 0), parameter IDs 3, 23, 27 with typed texts
    write('fuzz_param_text', 'vst3-zeros', bytes(48))
    write('fuzz_param_text', 'vst2-ones', bytes([0x01]) * 48)


def ui_seeds():
    source = os.path.join(ROOT, 'editor', 'resources', 'myEditor.uidesc')
    if os.path.exists(source):
        with open(source, 'rb') as f:
            write('fuzz_ui_description', 'editor.uidesc', f.read())
    small = '''<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
  <bitmaps><bitmap name="knob" path="knob.png"/><bitmap name="abs" path="/nonexistent.png"/></bitmaps>
  <fonts><font name="Bold" font-name="Arial" size="12" bold="true" italic="false"/></fonts>
  <colors><color name="Green" rgba="#1acc00ff"/><color name="Short" rgba="#fff"/></colors>
  <control-tags><control-tag name="Gain" tag="3"/><control-tag name="Bad" tag="x"/></control-tags>
  <custom><attributes name="VST3Editor" frame-focus-width="2"/></custom>
  <template name="view" class="CViewContainer" origin="0, 0" size="200, 100" background-color="Green">
    <view class="CAnimKnob" origin="10, 10" size="36, 36" control-tag="Gain" bitmap="knob" sub-pixmaps="40"
          height-of-one-image="36" angle-start="135" angle-range="270" min-value="0" max-value="1"
          default-value="0.75" zoom-factor="1.5" wheel-inc-value="0.1"/>
    <view class="COnOffButton" origin="50, 10" size="28, 28" control-tag="3" bitmap="knob"/>
    <view class="COptionMenu" origin="80, 10" size="35, 20" font="Bold" font-color="Green" text-alignment="center"/>
    <view class="CParamDisplay" origin="10, 50" size="30, 20" font="~ SystemFont" text-alignment="right"/>
    <view class="CTextLabel" origin="50, 50" size="20, 20" title="dB"/>
    <view class="CTextButton" origin="80, 50" size="80, 20" title="About" round-radius="6" control-tag="100"/>
    <view class="CKnob" origin="120, 10" size="30, 30" handle-color="~ WhiteCColor"/>
    <view class="CViewContainer" origin="0, 70" size="100, 30"><view class="CView" origin="1, 1" size="1, 1"/></view>
  </template>
</vstgui-ui-description>
'''
    write('fuzz_ui_description', 'small.uidesc', small.encode())
    write('fuzz_ui_description', 'bad-values.uidesc', small.replace('"36, 36"', '"-1e308, nan"')
          .replace('"1.5"', '"inf"').replace('"40"', '"-2147483648"').replace('#1acc00ff', '#zz').encode())
    write('fuzz_ui_description', 'unclosed.uidesc', small[:700].encode())
    write('fuzz_ui_description', 'nested.uidesc',
          ('<vstgui-ui-description version="1"><template name="view" class="CViewContainer" size="9, 9">'
           + '<view class="CViewContainer" size="9, 9">' * 40 + '</view>' * 40
           + '</template></vstgui-ui-description>').encode())
    write('fuzz_ui_description', 'wrong-root.uidesc', b'<vstgui version="1"/>')


if __name__ == '__main__':
    state_seeds()
    process_seeds()
    text_seeds()
    ui_seeds()
