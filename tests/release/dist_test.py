#!/usr/bin/env python3
"""Packs the release zip from the two built screen savers and checks what a user unpacks from it.

Usage: dist_test.py SCR64 SCR32 WORK_FOLDER
"""
import os
import re
import sys
import unittest
import zipfile

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import make_dist  # noqa: E402

SCR64, SCR32, WORK = sys.argv[1:4]
README = "はじめにお読みください.txt"
HEADINGS = ["概要", "動作環境", "インストール", "使い方と設定", "BGM（音楽）",
            "設定ファイルと一時ファイル", "アンインストール（削除）", "メッセージ", "利用条件"]


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = make_dist.build_zip(SCR64, SCR32, WORK)
        cls.zip = zipfile.ZipFile(cls.path)

    @classmethod
    def tearDownClass(cls):
        cls.zip.close()

    def test_is_named_by_the_project_version(self):
        self.assertEqual(os.path.basename(self.path),
                         f"Kineloop-{make_dist.project_version()}.zip")
        self.assertIsNone(self.zip.testzip())

    def test_holds_each_screen_saver_for_its_machine(self):
        self.assertEqual(make_dist.pe_machine(self.zip.read("64bit/Kineloop.scr")), 0x8664)
        self.assertEqual(make_dist.pe_machine(self.zip.read("32bit/Kineloop.scr")), 0x014C)

    def test_holds_the_licence(self):
        with open(os.path.join(ROOT, "LICENSE"), "rb") as f:
            self.assertEqual(self.zip.read("LICENSE"), f.read())
        self.assertIn(b"MIT License", self.zip.read("LICENSE"))

    def test_refuses_the_programs_swapped(self):
        with self.assertRaises(SystemExit):
            make_dist.build_zip(SCR32, SCR64, os.path.join(WORK, "swapped"))

    def test_readme_is_shift_jis_with_crlf_line_ends_and_every_section(self):
        data = self.zip.read(README)
        text = data.decode("cp932")
        bare = data.replace(b"\r\n", b"")
        self.assertFalse(b"\n" in bare or b"\r" in bare, "a line end other than CR LF")
        for heading in HEADINGS:
            self.assertIn("\r\n■ " + heading + "\r\n", text)

    def test_readme_says_what_the_markdown_says(self):
        squeeze = lambda s: re.sub(r"\s+", "", s)
        text = squeeze(self.zip.read(README).decode("cp932"))
        with open(os.path.join(ROOT, "docs", "README.ja.md"), encoding="utf-8") as f:
            for line in f:
                if line.strip() and not line.startswith("!["):
                    self.assertIn(squeeze(re.sub(r"^#+ ", "", line)), text)

    def test_japanese_name_is_flagged_utf8(self):
        info = self.zip.getinfo(README)
        self.assertTrue(info.flag_bits & 0x800)
        with open(self.path, "rb") as f:
            self.assertIn(README.encode("utf-8"), f.read())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
