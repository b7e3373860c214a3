#!/usr/bin/env python3
"""A player opens the quiz, types answers, reads the verdicts by their
colours, saves, closes with the close box and finds everything again at the
next start: the real 64-bit executable, driven only from outside."""

import os
import shutil
import sys
import tempfile
import unittest

from desktop import Player, bind_accent_keys

PLAYER = os.environ.get("KELVO_PLAYER")

GREEN, RED, ORANGE, AMBER = (0, 255, 0), (255, 0, 0), (255, 100, 0), (255, 203, 38)

# The demonstration quiz: seven text rows, every expected answer "test".
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
        self.exe = os.path.join(self.folder, "kelvo.exe")
        shutil.copy(PLAYER, self.exe)
        self.saved = os.path.join(self.folder, "kelvo.txt")
        self.player = None

    def tearDown(self):
        if self.player:
            self.player.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

    def open(self):
        self.player = Player(self.exe, self.folder, "Nom du kelvo")
        self.player.resize(1000, 300)
        return self.player

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
        self.answer(1, "Test")
        player.key("Tab")                    # Tab to the next box, which selects its text
        player.type("tset")
        player.key("Return")
        self.answer(3, "tes")
        self.answer(4, "\xe9\xe8\xe0")
        verdicts = [self.colour(row) for row in range(1, 6)]
        self.assertEqual(verdicts[:4], [GREEN, ORANGE, AMBER, RED])
        self.assertNotIn(verdicts[4], (GREEN, ORANGE, AMBER, RED))   # "?" keeps the default colours

        self.answer(5, "")
        player.key("F2")
        expected = b"Test\r\ntset\r\ntes\r\n\xe9\xe8\xe0\r\n\r\n\r\n\r\n"
        with open(self.saved, "rb") as file:
            self.assertEqual(file.read(), expected)

        self.close()
        with open(self.saved, "rb") as file:
            self.assertEqual(file.read(), expected)

        player = self.open()
        self.assertEqual([self.colour(row) for row in range(1, 5)], [GREEN, ORANGE, AMBER, RED])

        self.answer(5, "test")

        # One wheel notch over the panel moves it 100 pixels; the scroll
        # bar's up arrow brings it back.
        player.resize(1000, 150)
        player.click(30, PANEL_ORIGIN[1] + 20, button=5)
        self.assertEqual(self.colour(5, scrolled=100), GREEN)
        player.click(player.geometry()["WIDTH"] - 6 - 8, PANEL_ORIGIN[1] + 8)
        self.assertEqual(self.colour(1), GREEN)
        player.resize(1000, 300)

        # F1 copies a right answer into every box not yet right.
        player.click(*box_centre(5))
        player.key("F1")
        self.assertEqual([self.colour(row) for row in range(1, 8)], [GREEN] * 7)
        self.close()
        with open(self.saved, "rb") as file:
            self.assertEqual(file.read(), b"Test\r\n" + b"test\r\n" * 6)


if __name__ == "__main__":
    if not PLAYER:
        sys.exit("KELVO_PLAYER must name the 64-bit player")
    bind_accent_keys()
    unittest.main(verbosity=2)
