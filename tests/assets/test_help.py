#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks the help page in the program folder: a current copy, one
self-contained UTF-8 page, and the game's rules and figures as they are."""

import html.parser
import os
import re
import sys
import unittest

PROGRAM_DIR = os.environ.get("POKOPIN_PROGRAM_DIR", "")
SOURCE_DIR = os.environ.get("POKOPIN_SOURCE_DIR", "")
VERSION = os.environ.get("POKOPIN_VERSION_TEXT", "")

VOID = {"meta", "br", "hr", "img", "input", "link", "area", "base", "col", "wbr", "source"}

# mode: (moles per game, how long a mole stays up)
MODES = {
    "かんたん": ("30", "0.8〜1.0"),
    "ふつう": ("50", "0.6〜0.8"),
    "むずい": ("100", "0.6〜0.8"),
    "どむず": ("105", "0.4〜0.6"),
}


class Page(html.parser.HTMLParser):
    """Collects what the checks need: tags, text, table rows, references."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.errors = []
        self.attrs = []       # (tag, attribute dict) in document order
        self.text = []
        self.rows = []        # (table class, [cell texts])
        self.ids = set()
        self._tables = []
        self._row = None
        self._cell = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.attrs.append((tag, attrs))
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "table":
            self._tables.append(attrs.get("class", ""))
        elif tag == "tr":
            self._row = []
        elif tag in ("td", "th"):
            self._cell = []
        if tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if not self.open or self.open[-1] != tag:
            self.errors.append("</%s> closes <%s>" % (tag, self.open[-1] if self.open else "nothing"))
            return
        self.open.pop()
        if tag in ("td", "th") and self._row is not None:
            self._row.append("".join(self._cell).strip())
            self._cell = None
        elif tag == "tr":
            self.rows.append((self._tables[-1] if self._tables else "", self._row))
            self._row = None
        elif tag == "table":
            self._tables.pop()

    def handle_data(self, data):
        self.text.append(data)
        if self._cell is not None:
            self._cell.append(data)


def load():
    with open(os.path.join(PROGRAM_DIR, "Help.html"), "rb") as f:
        raw = f.read()
    page = Page()
    page.feed(raw.decode("utf-8"))
    page.close()
    return raw, page


def flat(text):
    return re.sub(r"\s+", " ", text)


class HelpPage(unittest.TestCase):
    def test_copy_is_current(self):
        with open(os.path.join(SOURCE_DIR, "assets", "help", "Help.html"), "rb") as f:
            source = f.read()
        self.assertIn(b"@POKOPIN_VERSION_TEXT@", source)
        self.assertEqual(load()[0], source.replace(b"@POKOPIN_VERSION_TEXT@", VERSION.encode()))

    def test_utf8_japanese_and_well_formed(self):
        raw, page = load()
        self.assertFalse(raw.startswith(b"\xef\xbb\xbf"), "no byte order mark")
        self.assertTrue(raw.lstrip().lower().startswith(b"<!doctype html>"))
        metas = [a for t, a in page.attrs if t == "meta" and "charset" in a]
        self.assertEqual([m["charset"].lower() for m in metas], ["utf-8"])
        self.assertEqual(page.attrs[0], ("html", {"lang": "ja"}))
        self.assertEqual(page.errors, [])
        self.assertEqual(page.open, [], "every element is closed")
        self.assertIn(("meta", {"name": "viewport", "content": "width=device-width, initial-scale=1"}),
                      page.attrs)

    def test_self_contained(self):
        raw, page = load()
        text = raw.decode("utf-8")
        for tag, attrs in page.attrs:
            with self.subTest(tag=tag, attrs=attrs):
                self.assertNotIn(tag, ("link", "script", "img", "iframe", "object", "embed"))
                self.assertNotIn("src", attrs)
                if "href" in attrs:
                    self.assertTrue(attrs["href"].startswith("#"), "only links within the page")
                    self.assertIn(attrs["href"][1:], page.ids, "link target exists")
        self.assertIsNone(re.search(r"url\(|@import|https?:", text), "no outside resources")

    def test_fits_640_px(self):
        raw, _ = load()
        css = raw.decode("utf-8")
        fixed = [int(w) for prop, w in re.findall(r"(?<![-\w])(width|min-width):\s*(\d+)px", css)]
        self.assertTrue(all(w <= 600 for w in fixed), "no fixed width wider than the window")

    def test_modes_with_quotas_and_stays(self):
        _, page = load()
        rows = {cells[0]: cells for _, cells in page.rows if cells and cells[0] in MODES}
        self.assertEqual(set(rows), set(MODES))
        for mode, (quota, stay) in MODES.items():
            with self.subTest(mode=mode):
                cells = " | ".join(rows[mode])
                self.assertRegex(cells, r"\b%s\b" % quota)
                self.assertIn(stay, cells)

    def test_hole_keys_laid_out_like_the_board(self):
        _, page = load()
        pads = [cells for cls, cells in page.rows if cls == "pad"]
        self.assertEqual(pads, [["7", "8", "9"], ["4", "5", "6"], ["1", "2", "3"],
                                ["Q", "W", "E"], ["A", "S", "D"], ["Z", "X", "C"]])

    def test_rules_and_figures(self):
        _, page = load()
        text = flat("".join(page.text))
        facts = [
            ("game length", "24 秒"),
            ("combo squares", "1、4、9、16"),
            ("combo drops by one", "コンボは 1 下がります"),
            ("miss below 700", "30 点"),
            ("miss from 700", "得点の 5%"),
            ("miss penalty examples", "700 点 → 665 点、1000 点 → 950 点"),
            ("miss at zero or below", "2 ×(このゲームのミス回数"),
            ("first action a miss", "−2 点"),
            ("two misses from 10", "−24 点"),
            ("start and stop keys", "Space"),
            ("num lock", "Num Lock"),
            ("key repeat", "押しっぱなし"),
            ("quit asks first", "終了しますか？"),
            ("log name", "Score.txt"),
            ("log encoding", "Shift-JIS"),
            ("line ends", "CR LF"),
            ("five lines", "5 行"),
            ("where the log is", "プログラムと同じフォルダ"),
            ("where an installed copy logs", "~/.local/share/pokopin/Score.txt"),
            ("XDG_DATA_HOME moves it", "$XDG_DATA_HOME/pokopin/Score.txt"),
            ("portable only with the help page beside", "Help.html"),
            ("warning when not written", "警告"),
        ]
        for label, needle in facts:
            with self.subTest(label):
                self.assertIn(needle, text)
        shortcuts = {cells[0]: cells[1] for _, cells in page.rows if len(cells) == 2}
        self.assertIn("終了", shortcuts.get("Ctrl+Q", ""))
        self.assertIn("Score.txt", shortcuts.get("Ctrl+S", ""))
        self.assertIn("ヘルプ", shortcuts.get("F1", ""))

    def test_log_example_matches_the_format(self):
        raw, _ = load()
        block = re.search(r"<pre>(.*?)</pre>", raw.decode("utf-8"), re.S).group(1)
        lines = block.split("\n")
        self.assertEqual(lines[0], f"Pokopin Version {VERSION} Score Record")
        self.assertRegex(lines[1], r"^\d{4}年\d{1,2}月\d{1,2}日 [日月火水木金土]曜日 "
                                   r"\d{1,2}時\d{1,2}分\d{1,2}秒$")
        self.assertRegex(lines[2], r"^☆(かんたん|ふつう|むずい|どむず) ☆PlayTime \d+秒  "
                                   r"☆COUNT \d+ ☆HIT \d+ ☆MISS \d+ ☆SCORE -?\d+$")
        self.assertEqual(lines[3], "-" * 74)
        self.assertEqual(lines[4], "", "the fifth line is empty")
        lines[2].encode("shift_jis")  # the log is written in Shift-JIS


if __name__ == "__main__":
    if not PROGRAM_DIR or not SOURCE_DIR:
        sys.exit("set POKOPIN_PROGRAM_DIR and POKOPIN_SOURCE_DIR")
    unittest.main()
