"""The browser edition played as a player would: pages written by the real
kelvopack.exe (under Wine), opened from file:// in headless Chromium through
Selenium, typed into with real keys, read back (verdicts, colours, score,
code, reveals), reloaded, opened without storage, audited with axe-core, and
damaged on purpose.

Runs with Debian's /usr/bin/python3 (its Selenium). Environment:
  KELVOPACK   kelvopack.exe         WINEPREFIX   its Wine prefix
"""
import pathlib
import shutil
import tempfile
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from page_support import AMBER, EXAMPLES, GREEN, NO_CODE, ORANGE, RED, Page, QuizPlay, browser, build, quiz_of

WORK = pathlib.Path(tempfile.mkdtemp(prefix="kelvo-web-"))


def local(driver, name):
    """The page NAME.html written into WORK, opened from file://."""
    return Page(driver, name, (WORK / (name + ".html")).as_uri())


class BrowserEdition(QuizPlay, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.warnings = {name: build(EXAMPLES / name / (name + ".toml"), WORK / (name + ".html"))
                        for name in ("capitales", "drapeaux", "formes", "sons", "video")}
        cls.downloads = WORK / "downloads"
        cls.downloads.mkdir()
        cls.driver = browser(downloads=cls.downloads)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(WORK, ignore_errors=True)

    def test_text_quiz_verdicts_fill_files_and_reload(self):
        quiz = quiz_of("capitales")
        page = local(self.driver, "capitales").open()
        self.assertEqual(self.driver.execute_script("return document.documentElement.lang"), "fr")
        self.assertEqual(self.driver.title, quiz["title"])
        self.assertEqual((page.text(32), page.text(30)), (" 0 / 5", NO_CODE))
        # Enter checks the box and leaves the focus in it; the rules are the player's.
        for typed, verdict in (("zzzz", ("FAUX", RED)), ("ATHÈNES", ("Quasiment", AMBER)),
                               ("athenez", ("Presque", AMBER)), ("nèhtAes", ("Anagramme", ORANGE)),
                               ("  ATHèNES ", ("BRAVO", GREEN))):
            page.type(4003, typed, Keys.ENTER)
            self.assertEqual(page.verdict(4003), verdict, typed)
            self.assertEqual(page.focused(), "4003")
        self.assertEqual(page.text(32), " 1 / 5")
        # F1 copies the box into every box not yet right, each checked.
        page.type(4001, "Rome", Keys.F1)
        self.assertEqual([page.value(box) for box in range(4001, 4006)], ["Rome", "Rome", "  ATHèNES ", "Rome", "Rome"])
        self.assertEqual(page.verdict(4005), ("FAUX", RED))
        self.assertEqual(page.audit(), [], "accessibility with verdicts of every colour")
        page.type(4003, Keys.DELETE, Keys.ENTER)
        self.assertEqual((page.verdict(4003), page.text(32)), (("?", "rgb(240, 240, 240)"), " 0 / 5"))

        self.play_every_answer(page, quiz)
        self.assert_all_right(page.open(reload=True), quiz)

        # The saved-answers file of the player, written and read by the page;
        # a character Windows-1252 lacks is judged and saved as "?".
        page.type(4005, "Copenhague★", Keys.ENTER)
        self.assertEqual(page.verdict(4005), ("Quasiment", AMBER))
        self.by_id_click(page, "download")
        saved = self.downloads / "capitales.txt"
        WebDriverWait(self.driver, 10).until(lambda d: saved.exists() and saved.stat().st_size > 0)
        self.assertEqual(saved.read_bytes(), b"Paris\r\nVienne\r\nAth\xe8nes\r\nVarsovie\r\nCopenhague?\r\n")
        from_player = WORK / "capitales-joueur.txt"
        from_player.write_bytes(b"paris\r\n\r\nATH\xe8NES\r\nVarsovi")   # last line without CR LF
        page.by_id("open-file").send_keys(str(from_player))
        WebDriverWait(self.driver, 10).until(lambda d: page.value(4001) == "paris")
        self.assertEqual([page.verdict(box)[0] for box in range(4001, 4006)], ["BRAVO", "?", "BRAVO", "Quasiment", "?"])
        self.assertEqual((page.text(32), page.text(30)), (" 2 / 5", ""))
        page.open(reload=True)
        self.assertEqual(page.value(4003), "ATHèNES")
        self.assertEqual(page.severe_logs(), [])

    def by_id_click(self, page, id):
        page.by_id(id).click()

    def test_picture_quiz_reveals_text_and_picture(self):
        quiz = quiz_of("drapeaux")
        page = local(self.driver, "drapeaux").open()
        pictures = {number: page.by_id(9900 + number).get_attribute("src")
                    for number in range(1, len(quiz["question"]) + 1)}
        self.assertTrue(pictures[1].startswith("data:image/bmp;base64,"))
        self.assertTrue(page.hidden(8001))

        def revealed(number):
            self.assertFalse(page.hidden(8000 + number))
            self.assertEqual(page.text(8000 + number), quiz["question"][number - 1].get("reveal_text", ""))
            shown = page.by_id(9900 + number).get_attribute("src")
            self.assertTrue(shown.startswith("data:image/") and shown != pictures[number])
        self.play_every_answer(page, quiz, revealed)
        # A wrong answer hides the text again; the picture stays revealed, as in the player.
        page.type(4001, "Espagne", Keys.ENTER)
        self.assertTrue(page.hidden(8001))
        self.assertNotEqual(page.by_id(9901).get_attribute("src"), pictures[1])
        page.type(4001, "France", Keys.ENTER)
        self.assertEqual(page.audit(), [])
        self.assert_all_right(page.open(reload=True), quiz)

    def test_two_answer_grid_reveals_everything_at_the_end(self):
        quiz = quiz_of("formes")
        page = local(self.driver, "formes").open()
        self.assertEqual(page.by_id(4001).accessible_name, "1. Forme")
        self.assertEqual(page.by_id(4002).accessible_name, "1. Couleur")

        def all_at_end(right):
            shown = [not page.hidden(8000 + n) for n in range(1, 5)]
            self.assertEqual(shown, [right == 4] * 4, right)
        self.play_every_answer(page, quiz, all_at_end)
        self.assertEqual(page.audit(), [])
        self.assert_all_right(page.open(reload=True), quiz)
        self.assertFalse(page.hidden(8004))

    def test_audio_and_video_quizzes(self):
        quiz = quiz_of("sons")
        page = local(self.driver, "sons").open()
        clips = self.driver.find_elements(By.CSS_SELECTOR, "audio[controls]")
        self.assertEqual([clip.get_attribute("src")[:22] for clip in clips], ["data:audio/mpeg;base64"] * 3)
        self.play_every_answer(page, quiz, lambda number: self.assertFalse(page.hidden(8000 + number)))
        self.assertEqual(page.audit(), [])

        # AVI clips: a French notice in each cell, a warning from kelvopack, nothing refused.
        self.assertEqual(self.warnings["video"].count("format AVI"), 3)
        page = local(self.driver, "video").open()
        notices = [n.text for n in self.driver.find_elements(By.CSS_SELECTOR, ".cell .notice")]
        self.assertEqual(len(notices), 3)
        self.assertIn("ne peut pas être vu dans un navigateur", notices[0])
        self.play_every_answer(page, quiz_of("video"))
        self.assertEqual(page.audit(), [])

    def test_layout_reflows_from_a_phone_to_a_wide_screen(self):
        for width, columns in ((360, 1), (1200, 3)):
            self.driver.set_window_size(width, 800)
            for name in ("capitales", "drapeaux", "formes", "sons"):
                page = local(self.driver, name).open()
                overflow = self.driver.execute_script(
                    "return document.documentElement.scrollWidth - document.documentElement.clientWidth")
                self.assertLessEqual(overflow, 0, (name, width))
                if name != "capitales":
                    tracks = self.driver.execute_script("return getComputedStyle("
                        "document.getElementById('quiz-list')).gridTemplateColumns.split(' ').length")
                    self.assertEqual(tracks, columns, (name, width))
        self.driver.set_window_size(1200, 900)

    def test_contrast_holds_whatever_colour_the_teacher_picks(self):
        source = (EXAMPLES / "capitales" / "capitales.toml").read_text(encoding="utf-8")
        for colour in ("#777777", "#ffff00", "#0000ff", "#00ff00"):
            name = "couleur-" + colour[1:]
            (WORK / (name + ".toml")).write_text(source.replace('"#5a5f96"', f'"{colour}"'), encoding="utf-8")
            build(WORK / (name + ".toml"), WORK / (name + ".html"))
            self.assertEqual(local(self.driver, name).open().audit(), [], colour)

    def test_without_storage_the_page_says_so_once_and_plays_on(self):
        driver = browser(storage=False)
        try:
            page = local(driver, "capitales").open()
            page.type(4001, "Paris", Keys.ENTER)
            page.type(4002, "Vienne", Keys.ENTER)
            self.assertEqual(page.verdict(4002), ("BRAVO", GREEN))
            notice = driver.find_element(By.ID, "quiz-notice").text
            self.assertIn("ne garde pas les réponses", notice)
            self.assertEqual(notice.count("navigation privée"), 1)
            self.assertEqual(page.severe_logs(), [])
        finally:
            driver.quit()

    def test_a_damaged_payload_shows_a_french_message_and_no_script_error(self):
        html = (WORK / "capitales.html").read_text(encoding="utf-8")
        start = html.index('"quiz":"') + len('"quiz":"') + 20
        changed = "B" if html[start] != "B" else "C"
        (WORK / "abimee.html").write_text(html[:start] + changed + html[start + 1:], encoding="utf-8")
        page = local(self.driver, "abimee").open()
        self.assertIn("Cette page de quiz est abîmée", page.by_id("quiz-status").text)
        self.assertEqual(self.driver.find_elements(By.ID, "quiz-list"), [])
        self.assertEqual(page.severe_logs(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
