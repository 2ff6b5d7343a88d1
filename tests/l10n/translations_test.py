#!/usr/bin/env python3
# The translations against the sources and against their own source texts: every text of the sources is in
# each .ts file, finished, and none is left over (lupdate run on a copy must change nothing); and every
# translation keeps what the program or the reader relies on: its placeholders, its one accelerator, the
# spaces at either end (texts are joined to names and sentences) and the line breaks.
# SPDX-License-Identifier: GPL-3.0-or-later
#   translations_test.py SOURCE_FOLDER
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

root = sys.argv[1]


def text_of(element):
    """The text with its <byte> characters (a carriage return is stored as one)."""
    text = element.text or ""
    for child in element:
        if child.tag == "byte":
            value = child.get("value")
            text += chr(int(value[1:], 16) if value.startswith("x") else int(value))
        text += child.tail or ""
    return text


def accelerators(text):
    # "&&" is a literal ampersand.
    return len(re.findall(r"&(?!&)", text.replace("&&", "")))


def kept(source, translation):
    """What a translation lost of its source, or an empty list."""
    faults = []
    if sorted(re.findall(r"%\d|%n", source)) != sorted(re.findall(r"%\d|%n", translation)):
        faults.append("placeholders")
    if accelerators(source) != accelerators(translation):
        faults.append("accelerator")
    if (source[:1] == " ") != (translation[:1] == " ") or (source[-1:] == " ") != (translation[-1:] == " "):
        faults.append("spaces at an end")
    if source.count("\n\r") != translation.count("\n\r"):
        faults.append("line breaks")
    return faults


failures = []
files = sorted(glob.glob(os.path.join(root, "translations", "tazen_*.ts")))
if len(files) < 5:
    failures.append(f"expected the five translations, found {[os.path.basename(f) for f in files]}")
with tempfile.TemporaryDirectory() as scratch:
    copies = []
    for path in files:
        copy = os.path.join(scratch, os.path.basename(path))
        shutil.copyfile(path, copy)
        copies.append(copy)
    subprocess.run([os.path.join(root, "translations", "update"), "-ts", *copies], check=True)
    for path, copy in zip(files, copies):
        name = os.path.basename(path)
        with open(path, "rb") as committed, open(copy, "rb") as updated:
            if committed.read() != updated.read():
                failures.append(f"{name}: not up to date with the sources (run translations/update)")
        for message in ET.parse(copy).iter("message"):
            source = text_of(message.find("source"))
            translation_element = message.find("translation")
            state = translation_element.get("type")
            translation = text_of(translation_element)
            if state in ("unfinished", "obsolete", "vanished") or not translation:
                failures.append(f"{name}: {state or 'empty'}: {source!r}")
                continue
            for fault in kept(source, translation):
                failures.append(f"{name}: {fault} not kept: {source!r} -> {translation!r}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
