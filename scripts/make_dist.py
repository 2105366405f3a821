#!/usr/bin/env python3
"""Packs the release zip: both screen savers without their debugging symbols, the Japanese read-me
as Shift-JIS text with CRLF line ends (made from docs/README.ja.md), and the MIT licence,
LICENSE.

Usage: make_dist.py --scr64 FILE --scr32 FILE [--out-dir DIR]   (prints the zip's path)
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import unicodedata
import zipfile

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
README_NAME = "はじめにお読みください.txt"
# The machine field of a PE header, and the MinGW-w64 strip for it, by the folder the program goes
# into.
MACHINES = {"64bit": 0x8664, "32bit": 0x014C}
STRIP = {"64bit": "x86_64-w64-mingw32-strip", "32bit": "i686-w64-mingw32-strip"}
WRAP_COLUMNS = 76
# Characters a Japanese line must not start with; they stay at the end of the line before.
NO_LINE_START = set("、。，．・：；？！」』）】〕ーぁぃぅぇぉっゃゅょァィゥェォッャュョ)]}.,:;!?")


def project_version(root=ROOT):
    """The version kept in CMakeLists.txt's project() call."""
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        match = re.search(r"project\(\s*Kineloop\s+VERSION\s+([0-9.]+)", f.read())
    if not match:
        raise SystemExit("make_dist: no project VERSION in CMakeLists.txt")
    return match.group(1)


def pe_machine(data):
    """The machine type of a Windows program's bytes, or None when they are not one."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    offset = int.from_bytes(data[0x3C:0x40], "little")
    if data[offset:offset + 4] != b"PE\0\0" or len(data) < offset + 6:
        return None
    return int.from_bytes(data[offset + 4:offset + 6], "little")


def columns(text):
    """Width on a Japanese text screen: wide and ambiguous characters take two columns."""
    return sum(2 if unicodedata.east_asian_width(c) in "WFA" else 1 for c in text)


def wrap(text, indent):
    """Breaks a paragraph into lines of at most WRAP_COLUMNS, between Japanese characters or at
    spaces between Latin words; continuation lines get `indent`."""
    units = re.findall(r"[\x21-\x7e]+ *| +|.", text)
    lines, line = [], ""
    for unit in units:
        fits = columns(line + unit.rstrip()) <= WRAP_COLUMNS
        if fits or not line.strip() or unit[0] in NO_LINE_START:
            line += unit
        else:
            lines.append(line.rstrip())
            line = indent + unit.lstrip()
    lines.append(line.rstrip())
    return lines


def readme_text(markdown, version):
    """The plain-text read-me from the Markdown one: pictures left out, headings marked, long
    paragraphs wrapped for an editor without word wrap."""
    out = []
    for raw in markdown.splitlines():
        line = raw.rstrip()
        if re.fullmatch(r"!\[[^\]]*\]\([^)]*\)", line.strip()):
            continue
        if line.startswith("# "):
            title = line[2:].strip()
            out += [title, "=" * columns(title), "", "バージョン " + version]
            continue
        if line.startswith("## "):
            out.append("■ " + line[3:].strip())
            continue
        item = re.match(r"( *)(- |\d+\. )", line)
        indent = " " * len(item.group(0)) if item else ""
        out += wrap(line, indent)
    while out and not out[-1]:
        out.pop()
    # Consecutive blank lines (where a picture was) become one.
    text = re.sub(r"\n{3,}", "\n\n", "\n".join(out) + "\n")
    return text.replace("\n", "\r\n").encode("cp932")


def stripped(folder, path, work_dir):
    """The program's bytes without the debugging symbols of the build (a tenth of the size)."""
    with tempfile.TemporaryDirectory(dir=work_dir) as temporary:
        out = os.path.join(temporary, "Kineloop.scr")
        subprocess.run([STRIP[folder], "--strip-all", "-o", out, path], check=True)
        with open(out, "rb") as f:
            return f.read()


def build_zip(scr64, scr32, out_dir, root=ROOT):
    version = project_version(root)
    entries = []
    with open(os.path.join(root, "docs", "README.ja.md"), encoding="utf-8") as f:
        entries.append((README_NAME, readme_text(f.read(), version)))
    programs = (("64bit", scr64), ("32bit", scr32))
    for folder, path in programs:
        with open(path, "rb") as f:
            if pe_machine(f.read(0x1000)) != MACHINES[folder]:
                raise SystemExit(f"make_dist: {path} is not a {folder} Windows program")
    os.makedirs(out_dir, exist_ok=True)
    for folder, path in programs:
        entries.append((folder + "/Kineloop.scr", stripped(folder, path, out_dir)))
    with open(os.path.join(root, "LICENSE"), "rb") as f:
        entries.append(("LICENSE", f.read()))

    out = os.path.join(out_dir, f"Kineloop-{version}.zip")
    temporary = out + ".part"
    # zipfile sets the UTF-8 flag on every entry whose name is not ASCII.
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, data in entries:
            z.writestr(name, data)
    os.replace(temporary, out)
    return out


def main(argv):
    parser = argparse.ArgumentParser(description="Packs the Kineloop release zip.")
    parser.add_argument("--scr64", required=True)
    parser.add_argument("--scr32", required=True)
    parser.add_argument("--out-dir", default=os.path.join(ROOT, "dist"))
    args = parser.parse_args(argv)
    print(build_zip(args.scr64, args.scr32, args.out_dir))


if __name__ == "__main__":
    main(sys.argv[1:])
