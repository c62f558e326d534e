#!/usr/bin/env python3
"""End-to-end test of Kalvior inside Ardour, a host nobody here wrote.

One scenario per run: the built plug-in is scanned with Ardour's own scanner,
a headless session is built with ardour7-lua (dummy backend, a private HOME so
nothing leaks into the user's configuration), a stereo test signal is put on
a track, Kalvior is inserted by name and set up by the labels Ardour shows,
the master bus is exported and compared with the signal the settings must
give, worked out here from the test signal by closed forms (or, for a factory
program, by `kalvior render`).

Ardour shows a VST 3 plug-in's automatable parameters only; the others
("Mono", "Output Format") reach the plug-in in its saved state, as when a
project saved with them is opened: the state records are found by parameter
title through `kalvior info` and written into the session's copy of the
state. Through the VST 2 entry every parameter is a control.

Exit status: 0 passed, 1 failed, 77 skipped (Ardour is not installed).
"""

import argparse
import base64
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import xml.etree.ElementTree as ET

RATE = 48000
FRAMES = RATE  # one second
SUPERCLOCK_PER_SECOND = 282240000  # Ardour 7's time base for positions
EXPORT_FORMAT_ID = "6a1b9c2e-5b0e-4d51-9f0c-2f7f3d1e8a01"
EXPORT_PRESET_ID = "0c7d5e4a-8f21-4b8e-a1d3-6e2b9f4c7d10"
HERE = os.path.dirname(os.path.abspath(__file__))


def fader_gain(decibels):
    return 10.0 ** (decibels / 20.0)


def mono(l, r):
    return (l + r) / 2, (l + r) / 2


def mid_side(l, r):
    return (l + r) / 2, (l - r) / 2


# name: what Ardour is told, and what the export must then hold.
#   type        VST3 or LXVST
#   set         {label: value as Ardour takes it (VST 3: plain units; VST 2: 0..1)}
#   state       {parameter title: normalised value} written into the saved state
#   preset      factory preset loaded by name
#   expect      f(left, right) -> (left, right), or "render" to compare with kalvior render of the preset
#   labels      labels Ardour must show
#   mismatch    the export must NOT match (negative control)
#   failure     the run must fail with this text in its report (negative control)
SCENARIOS = {
    "vst3-labels": dict(
        type="VST3", set={"Invert Left": 1, "Right Gain": -6},
        expect=lambda l, r: (-l, r * fader_gain(-6.0)),
        labels=["Left Gain", "HP Width", "Crossover Freq"]),
    "vst3-mono": dict(type="VST3", state={"Mono": 1.0}, expect=mono),
    "vst3-output-ms": dict(type="VST3", state={"Output Format": 1.0}, expect=mid_side),
    "vst3-program": dict(type="VST3", preset="Stereosonic Shuffle", expect="render"),
    "vst3-negative-wrong-expectation": dict(type="VST3", expect=mono, mismatch=True),
    "vst3-negative-plugin-fails-to-load": dict(
        type="VST3", state={"Mono": 1.0}, expect=mono, break_plugin=True, failure="a plug-in could not be loaded"),
    "vst2-mono": dict(
        type="LXVST", set={"Mono": 1.0}, expect=mono, labels=["Left Gain", "Crossover", "Output Format", "Mono"]),
    "vst2-output-ms": dict(type="LXVST", set={"Output Format": 1.0}, expect=mid_side),
    "vst2-program": dict(type="LXVST", preset="Stereosonic Shuffle", expect="render"),
    "vst2-negative-plugin-fails-to-load": dict(
        type="LXVST", set={"Mono": 1.0}, expect=mono, break_plugin=True, failure="a plug-in could not be loaded"),
}

TOLERANCE = 1e-6  # float32 export of 32-bit processing: a few ulps of values below 1
ATTEMPTS = 3


class Failure(Exception):
    pass


# --- WAV files (float32, stereo) ------------------------------------------

def write_wav(path, left, right):
    data = b"".join(struct.pack("<ff", l, r) for l, r in zip(left, right))
    fmt = struct.pack("<HHIIHH", 3, 2, RATE, RATE * 8, 8, 32)
    with open(path, "wb") as out:
        out.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        out.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        out.write(b"data" + struct.pack("<I", len(data)) + data)


def read_wav(path):
    with open(path, "rb") as source:
        blob = source.read()
    if blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        raise Failure(f"{path} is no WAV file")
    pos, fmt, data = 12, None, None
    while pos + 8 <= len(blob):
        chunk, size = blob[pos:pos + 4], struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        body = blob[pos + 8:pos + 8 + size]
        if chunk == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
            if fmt[0] == 0xFFFE:
                fmt = (struct.unpack("<H", body[24:26])[0],) + fmt[1:]
        elif chunk == b"data":
            data = body
        pos += 8 + size + (size & 1)
    tag, channels, rate, _, _, bits = fmt
    if tag != 3 or bits not in (32, 64) or channels != 2:
        raise Failure(f"{path}: expected stereo float samples, got format {tag}, {bits} bits, {channels} channels")
    count = len(data) // (bits // 8)
    values = struct.unpack("<%d%s" % (count, "f" if bits == 32 else "d"), data[:count * bits // 8])
    return rate, list(values[0::2]), list(values[1::2])


def test_signal():
    """Two channels that differ in level, frequency and phase, below full scale."""
    left, right = [], []
    for i in range(FRAMES):
        t = i / RATE
        left.append(struct.unpack("<f", struct.pack("<f", 0.5 * math.sin(2 * math.pi * 441 * t)
                                                    + 0.1 * math.sin(2 * math.pi * 3001 * t)))[0])
        right.append(struct.unpack("<f", struct.pack("<f", 0.3 * math.sin(2 * math.pi * 663 * t + 0.4)
                                                     - 0.2 * math.sin(2 * math.pi * 441 * t)))[0])
    return left, right


# --- Ardour -----------------------------------------------------------------

class Ardour:
    def __init__(self, work, lib_dir, lua):
        self.work, self.lib_dir, self.lua = work, lib_dir, lua
        self.home = os.path.join(work, "home")
        os.makedirs(os.path.join(self.home, ".config", "ardour7", "export"))
        self._write_export_preset()

    def env(self, extra):
        env = {k: v for k, v in os.environ.items() if not k.startswith(("VST", "LXVST", "XDG_", "ARDOUR"))}
        env.update(HOME=self.home, LD_LIBRARY_PATH=self.lib_dir,
                   VST3_PATH=os.path.join(self.work, "vst3"), LXVST_PATH=os.path.join(self.work, "lxvst"))
        env.update(extra)
        return env

    def _write_export_preset(self):
        folder = os.path.join(self.home, ".config", "ardour7", "export")
        with open(os.path.join(folder, "e2e.format"), "w") as out:
            out.write(f"""<?xml version="1.0" encoding="UTF-8"?>
<ExportFormatSpecification name="e2e float" id="{EXPORT_FORMAT_ID}" with-cue="false" with-toc="false" with-mp4chaps="false" command="" analyse="false" soundcloud-upload="false">
  <Encoding id="F_WAV" type="T_Sndfile" extension="wav" name="WAV" has-sample-format="true" channel-limit="256"/>
  <SampleRate rate="1"/>
  <SRCQuality quality="SRC_SincBest"/>
  <EncodingOptions>
    <Option name="sample-format" value="SF_Float"/>
    <Option name="dithering" value="D_None"/>
    <Option name="tag-metadata" value="false"/>
    <Option name="tag-support" value="false"/>
    <Option name="broadcast-info" value="false"/>
  </EncodingOptions>
  <Processing>
    <Normalize enabled="false" loudness="no" dbfs="0" lufs="-23" dbtp="-1"/>
    <Silence>
      <Start><Trim enabled="false"/><Add enabled="false"><Duration format="Timecode" hours="0" minutes="0" seconds="0" frames="0"/></Add></Start>
      <End><Trim enabled="false"/><Add enabled="false"><Duration format="Timecode" hours="0" minutes="0" seconds="0" frames="0"/></Add></End>
    </Silence>
  </Processing>
</ExportFormatSpecification>
""")
        with open(os.path.join(folder, "e2e.preset"), "w") as out:
            out.write(f"""<?xml version="1.0" encoding="UTF-8"?>
<ExportPreset id="{EXPORT_PRESET_ID}" name="e2e float">
  <ExportFormat id="{EXPORT_FORMAT_ID}"/>
  <ExportFilename>
    <Folder relative="1" path="export"/>
    <Field name="label" enabled="0"/><Field name="session" enabled="0"/><Field name="snapshot" enabled="0"/>
    <Field name="timespan" enabled="1"/><Field name="revision" enabled="0"/>
    <Field name="time" enabled="0" value="T_None"/><Field name="date" enabled="0" value="D_None"/>
  </ExportFilename>
</ExportPreset>
""")

    def scan(self, plugin_type, path):
        scanner = "ardour-vst3-scanner" if plugin_type == "VST3" else "ardour-vst-scanner"
        # The cache is named after the path exactly as given: scan the absolute path.
        result = subprocess.run([os.path.join(self.lib_dir, scanner), "-f", os.path.abspath(path)],
                                env=self.env({}), capture_output=True, text=True, timeout=120)
        report = result.stdout + result.stderr
        print(report.strip())
        # The scanners exit 0 even when a plug-in fails.
        if "Found Plugin" not in report:
            raise Failure(f"Ardour's {scanner} did not find the plug-in in {path}")

    def run_lua(self, script, extra_env, clean):
        """Runs a Lua script; `clean` undoes a partial run. Ardour 7.3 can die
        from a signal on its way out, after the script's work is done (a race
        in its own tempo map code): the script reports "E2E-DONE" once its
        files are complete, and a death after that is no failure. A run that
        dies earlier is tried again."""
        for attempt in range(1, ATTEMPTS + 1):
            clean()
            result = subprocess.run([self.lua, os.path.join(HERE, script)], env=self.env(extra_env),
                                    capture_output=True, text=True, timeout=300)
            lines = (result.stdout + result.stderr).splitlines()
            for line in lines:
                if line.startswith("E2E-") and not line.startswith("E2E-LABEL"):
                    print(f"  [{script}] {line}")
            errors = [line[len("E2E-ERROR: "):] for line in lines if line.startswith("E2E-ERROR: ")]
            if errors:
                raise Failure("; ".join(errors))
            done = "E2E-DONE" in lines
            if result.returncode == 0 and done:
                return lines
            if result.returncode > 0 or (result.returncode == 0 and not done):
                raise Failure(f"{script} exited with {result.returncode}")
            if done:
                print(f"  [{script}] Ardour died from signal {-result.returncode} after finishing its work")
                return lines
            print(f"  [{script}] Ardour died from signal {-result.returncode} (attempt {attempt} of {ATTEMPTS})")
        raise Failure(f"{script}: Ardour died {ATTEMPTS} times")


# --- Session file -------------------------------------------------------------

def add_region(session_file, wav_path, frames):
    """References the test WAV as the track's sources and its one region, at
    the session start, with the default fades off, and sets the session range."""
    tree = ET.parse(session_file)
    root = tree.getroot()
    next_id = [int(root.get("id-counter"))]

    def new_id():
        next_id[0] += 1
        return str(next_id[0])

    length = "a%d" % (frames * SUPERCLOCK_PER_SECOND // RATE)
    sources = root.find("Sources")
    source_ids = []
    for channel in range(2):
        source_ids.append(new_id())
        ET.SubElement(sources, "Source", {
            "name": wav_path, "type": "audio", "flags": "", "id": source_ids[-1], "natural-position": "a0",
            "channel": str(channel), "origin": wav_path, "gain": "1"})

    def region(name, whole_file):
        attributes = {
            "name": name, "muted": "0", "opaque": "1", "locked": "0", "automatic": "1" if whole_file else "0",
            "whole-file": "1" if whole_file else "0", "import": "1", "external": "1", "hidden": "0",
            "position-locked": "0", "start": "a0", "length": length + "@a0", "sync-position": "a0",
            "stretch": "1", "shift": "1", "layering-index": "0", "envelope-active": "0",
            "default-fade-in": "0", "default-fade-out": "0", "fade-in-active": "0", "fade-out-active": "0",
            "scale-amplitude": "1", "id": new_id(), "type": "audio", "channels": "2"}
        for channel, source in enumerate(source_ids):
            attributes[f"source-{channel}"] = source
            attributes[f"master-source-{channel}"] = source
        return attributes

    ET.SubElement(root.find("Regions"), "Region", region("signal", True))
    playlists = root.find("Playlists").findall("Playlist")
    if len(playlists) != 1:
        raise Failure(f"expected one playlist in the session, found {len(playlists)}")
    ET.SubElement(playlists[0], "Region", region("signal.1", False))
    locations = root.find("Locations")
    for old in locations.findall("Location"):
        if "IsSessionRange" in old.get("flags", ""):
            locations.remove(old)
    ET.SubElement(locations, "Location", {
        "id": new_id(), "name": "session", "start": "a0", "end": length, "flags": "IsSessionRange",
        "locked": "0", "timestamp": "0", "cue": "0"})
    root.set("id-counter", str(next_id[0] + 1))
    tree.write(session_file, encoding="UTF-8", xml_declaration=True)


def parameter_ids(kalvior, bundle):
    """Title -> parameter ID, as the plug-in's controller reports them."""
    result = subprocess.run([kalvior, "info", "--bundle", bundle], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        raise Failure("kalvior info failed: " + result.stderr)
    ids = {}
    for line in result.stdout.splitlines():
        match = re.match(r"\s*(\d+)\s{2}(\S.*?)\s{2,}", line)
        if match:
            ids[match.group(2)] = int(match.group(1))
    return ids


def write_state(session_file, values_by_id):
    """Writes normalised values into the plug-in's saved state: the session
    keeps it as a VST 3 preset stream, whose "Comp" chunk is the component
    state of 12-byte records (ID, then the value as a double, big-endian)."""
    tree = ET.parse(session_file)
    chunks = [node for node in tree.getroot().iter("chunk")]
    if len(chunks) != 1:
        raise Failure(f"expected the plug-in's one saved state, found {len(chunks)}")
    blob = bytearray(base64.b64decode(chunks[0].text))
    if blob[:4] != b"VST3":
        raise Failure("the saved state is not a VST 3 preset stream")
    list_offset = struct.unpack("<q", blob[40:48])[0]
    if blob[list_offset:list_offset + 4] != b"List":
        raise Failure("the saved state has no chunk list")
    count = struct.unpack("<i", blob[list_offset + 4:list_offset + 8])[0]
    component = None
    for entry in range(count):
        at = list_offset + 8 + entry * 20
        if blob[at:at + 4] == b"Comp":
            component = struct.unpack("<qq", blob[at + 4:at + 20])
    if component is None:
        raise Failure("the saved state has no component chunk")
    offset, size = component
    written = set()
    for record in range(offset, offset + size - 11, 12):
        parameter = struct.unpack(">I", blob[record:record + 4])[0]
        if parameter in values_by_id:
            blob[record + 4:record + 12] = struct.pack(">d", values_by_id[parameter])
            written.add(parameter)
    if written != set(values_by_id):
        raise Failure(f"the saved state lacks the records of {set(values_by_id) - written}")
    chunks[0].text = base64.b64encode(bytes(blob)).decode()
    tree.write(session_file, encoding="UTF-8", xml_declaration=True)


# --- The scenario ---------------------------------------------------------------

def install_plugin(work, bundle, plugin_type):
    """Copies the plug-in where the VST3_PATH/LXVST_PATH of the run point, with
    its files dated back: a scanner cache as old as the plug-in counts as stale."""
    if plugin_type == "VST3":
        target = os.path.join(work, "vst3", os.path.basename(os.path.normpath(bundle)))
        shutil.copytree(bundle, target, symlinks=True)
        library = os.path.join(target, "Contents", "x86_64-linux", "Kalvior.so")
        scan_path = target
    else:
        os.makedirs(os.path.join(work, "lxvst"))
        library = os.path.join(work, "lxvst", "Kalvior.so")
        shutil.copy2(os.path.join(bundle, "Contents", "x86_64-linux", "Kalvior.so"), library)
        scan_path = library
    past = time.time() - 10
    for folder, _, files in os.walk(os.path.dirname(library) if plugin_type != "VST3" else scan_path):
        for name in files + [""]:
            os.utime(os.path.join(folder, name), (past, past))
    return scan_path, library


def compare(path, left, right, expected_left, expected_right):
    rate, out_left, out_right = read_wav(path)
    if rate != RATE or len(out_left) != len(left):
        raise Failure(f"the export has {len(out_left)} frames at {rate} Hz, expected {len(left)} at {RATE}")
    worst, worst_at = 0.0, 0
    for i in range(len(left)):
        error = max(abs(out_left[i] - expected_left[i]), abs(out_right[i] - expected_right[i]))
        if error > worst:
            worst, worst_at = error, i
    print(f"largest difference from the expected signal: {worst:.3g} at frame {worst_at} "
          f"(tolerance {TOLERANCE:g})")
    return worst <= TOLERANCE


def run_scenario(name, scenario, args):
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    ardour = Ardour(work, args.ardour_lib, args.lua)
    plugin_type = scenario["type"]
    scan_path, library = install_plugin(work, args.bundle, plugin_type)
    ardour.scan(plugin_type, scan_path)

    left, right = test_signal()
    signal_path = os.path.join(work, "signal.wav")
    write_wav(signal_path, left, right)

    session_dir = os.path.join(work, "session")
    settings = ";".join(f"{label}={value}" for label, value in scenario.get("set", {}).items())
    lines = ardour.run_lua("session_create.lua", {
        "E2E_SESSION_DIR": session_dir, "E2E_PLUGIN_TYPE": plugin_type, "E2E_SET": settings,
        "E2E_PRESET": scenario.get("preset", "")}, lambda: shutil.rmtree(session_dir, ignore_errors=True))
    shown = {line[len("E2E-LABEL: "):] for line in lines if line.startswith("E2E-LABEL: ")}
    for label in scenario.get("labels", []):
        if label not in shown:
            raise Failure(f"Ardour shows no parameter labelled '{label}'; it shows {sorted(shown)}")

    session_file = os.path.join(session_dir, "e2e.ardour")
    add_region(session_file, signal_path, FRAMES)
    if scenario.get("state"):
        ids = parameter_ids(args.kalvior, args.bundle)
        write_state(session_file, {ids[title]: value for title, value in scenario["state"].items()})
    if scenario.get("break_plugin"):
        with open(library, "wb") as broken:
            broken.write(b"not a shared object any more")

    export_dir = os.path.join(work, "export")

    def clean_export():
        shutil.rmtree(export_dir, ignore_errors=True)
        os.makedirs(export_dir)

    lines = ardour.run_lua("session_export.lua", {
        "E2E_SESSION_DIR": session_dir, "E2E_EXPORT_DIR": export_dir, "E2E_PRESET_ID": EXPORT_PRESET_ID},
        clean_export)
    block = next((int(line.split()[-1]) for line in lines if line.startswith("E2E-BLOCK: ")), 1024)
    exported = os.path.join(export_dir, "result.wav")
    if not os.path.exists(exported):
        raise Failure("Ardour wrote no export")

    if scenario["expect"] == "render":
        reference = os.path.join(work, "reference.wav")
        command = [args.kalvior, "render", signal_path, reference, "--bundle", args.bundle,
                   "--block", str(block), "--program", scenario["preset"]]
        result = subprocess.run(command, capture_output=True, text=True, timeout=120)
        if result.returncode != 0:
            raise Failure("kalvior render failed: " + result.stderr)
        _, expected_left, expected_right = read_wav(reference)
    else:
        pairs = [scenario["expect"](l, r) for l, r in zip(left, right)]
        expected_left, expected_right = [p[0] for p in pairs], [p[1] for p in pairs]
    return compare(exported, left, right, expected_left, expected_right)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bundle", required=True)
    parser.add_argument("--kalvior", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--scenario", required=True, choices=sorted(SCENARIOS))
    parser.add_argument("--ardour-lib", default="/usr/lib/ardour7")
    parser.add_argument("--lua", default="ardour7-lua")
    args = parser.parse_args()
    args.bundle = os.path.abspath(args.bundle)
    if not os.path.isdir(args.ardour_lib) or not shutil.which(args.lua):
        print("Ardour 7 is not installed; skipping")
        return 77

    scenario = SCENARIOS[args.scenario]
    try:
        matched = run_scenario(args.scenario, scenario, args)
    except Failure as failure:
        if scenario.get("failure") and scenario["failure"] in str(failure):
            print(f"failed as it must: {failure}")
            return 0
        print(f"FAILED: {failure}")
        return 1
    if scenario.get("failure"):
        print(f"FAILED: the run should have failed with '{scenario['failure']}'")
        return 1
    if scenario.get("mismatch"):
        print("mismatch detected, as it must be" if not matched else "FAILED: the wrong expectation was met")
        return 0 if not matched else 1
    print("passed" if matched else "FAILED: the export differs from the expected signal")
    return 0 if matched else 1


if __name__ == "__main__":
    sys.exit(main())
