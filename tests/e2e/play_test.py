#!/usr/bin/env python3
"""A player opens the example text quiz, types answers (accents included),
reads the verdicts by their colours, saves, scrolls, closes with the close
box and finds everything again at the next start: the real player
of the build tree (32- or 64-bit) with the quiz packed into it by the Linux
kelvopack, driven only from outside."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from desktop import Player, bind_accent_keys

PLAYER = os.environ.get("KELVO_PLAYER")
KELVOPACK = os.environ.get("KELVOPACK")
QUIZ_EXE = os.environ.get("KELVO_QUIZ_EXE")   # the example already built elsewhere (by the studio): played as it is
QUIZ = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "capitales", "capitales.toml")
TITLE = "Capitales d'Europe"

GREEN, RED, ORANGE, AMBER = (0, 255, 0), (255, 0, 0), (255, 100, 0), (255, 203, 38)

# The example: five text rows, Paris, Vienne, Ath\u00e8nes, Varsovie, Copenhague.
PANEL_ORIGIN = (6, 51)        # the panel's client area in the main window's
ROW_PITCH = 25


def box_centre(row):
    return PANEL_ORIGIN[0] + 610 + 85, PANEL_ORIGIN[1] + 5 + ROW_PITCH * (row - 1) + 10


def label_probe(row, scrolled=0):
    """A point inside verdict label `row`, clear of its centred text."""
    return PANEL_ORIGIN[0] + 790 + 6, PANEL_ORIGIN[1] + 5 + ROW_PITCH * (row - 1) + 4 - scrolled


class PlayTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kelvo-e2e-")
        self.exe = os.path.join(self.folder, "capitales.exe")
        if QUIZ_EXE:
            shutil.copy(QUIZ_EXE, self.exe)
        else:
            subprocess.run([KELVOPACK, "build", QUIZ, "-o", self.exe, "--player", PLAYER], check=True, stdout=subprocess.DEVNULL)
        self.saved = os.path.join(self.folder, "capitales.txt")
        self.player = None

    def tearDown(self):
        if self.player:
            self.player.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

    def open(self):
        self.player = Player(self.exe, self.folder, TITLE)
        self.player.resize(1000, 300)
        return self.player

    def saved_bytes_once_written(self, timeout=10):
        """The saved file, waited for: a busy display delays the key's release."""
        deadline = time.monotonic() + timeout
        while not os.path.exists(self.saved) and time.monotonic() < deadline:
            time.sleep(0.1)
        with open(self.saved, "rb") as file:
            return file.read()

    def colour(self, row, scrolled=0):
        return self.player.pixel(*label_probe(row, scrolled))

    def answer(self, row, text):
        player = self.player
        player.click(*box_centre(row))
        player.key("End", "shift+Home")
        player.type(text)
        player.key("Return")

    def close(self):
        self.player.close_box()
        self.assertEqual(self.player.wait(), 0)
        self.player = None

    def test_answers_verdict_colours_and_saved_file_survive_a_restart(self):
        player = self.open()
        self.answer(1, "paris")
        player.key("Tab")                    # Tab to the next box, which selects its text
        player.type("vienen")
        player.key("Return")
        self.answer(3, "ath\xe8nes")
        self.answer(4, "varsovi")
        verdicts = [self.colour(row) for row in range(1, 6)]
        self.assertEqual(verdicts[:4], [GREEN, ORANGE, GREEN, AMBER])
        self.assertNotIn(verdicts[4], (GREEN, ORANGE, AMBER, RED))   # "?" keeps the default colours
        self.answer(5, "Oslo")
        self.assertEqual(self.colour(5), RED)

        player.key("F2")
        expected = b"paris\r\nvienen\r\nath\xe8nes\r\nvarsovi\r\nOslo\r\n"
        self.assertEqual(self.saved_bytes_once_written(), expected)
        self.close()
        with open(self.saved, "rb") as file:
            self.assertEqual(file.read(), expected)

        player = self.open()
        self.assertEqual([self.colour(row) for row in range(1, 6)], [GREEN, ORANGE, GREEN, AMBER, RED])

        # One wheel notch over the panel moves it 100 pixels; the scroll
        # bar's up arrow brings it back. A client 117 high leaves the panel
        # 30 pixels of view over 130 of rows: exactly 100 to scroll.
        player.resize(1000, 117)
        player.click(30, PANEL_ORIGIN[1] + 20, button=5)
        self.assertEqual(self.colour(5, scrolled=100), RED)
        player.click(player.geometry()["WIDTH"] - 6 - 8, PANEL_ORIGIN[1] + 8)
        self.assertEqual(self.colour(1), GREEN)
        player.resize(1000, 300)

        # F1 copies an answer into every box not yet right.
        self.answer(2, "Vienne")
        player.click(*box_centre(2))
        player.key("F1")
        self.assertEqual([self.colour(row) for row in range(1, 6)], [GREEN, GREEN, GREEN, RED, RED])
        self.close()
        with open(self.saved, "rb") as file:
            self.assertEqual(file.read(), b"paris\r\nVienne\r\nath\xe8nes\r\nVienne\r\nVienne\r\n")


if __name__ == "__main__":
    if not QUIZ_EXE and (not PLAYER or not KELVOPACK):
        sys.exit("KELVO_PLAYER and KELVOPACK must name the player and the Linux kelvopack, or KELVO_QUIZ_EXE the quiz")
    bind_accent_keys()
    unittest.main(verbosity=2)
