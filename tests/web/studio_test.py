"""The studio used as a teacher would: kelvo-studio.html opened from file://
in headless Chromium through Selenium, each example typed in from an empty
studio with its media files chosen, saved, opened again and saved again,
compared byte for byte with what the real kelvopack writes from the
example's source; validation errors, the keyboard alone, a reload, storage
disabled, damaged files, axe-core and a 360-pixel screen.

Runs with Debian's /usr/bin/python3 (its Selenium). Environment:
  STUDIO      kelvo-studio.html     PLAYER      the player it carries
  PLAYER64, STUDIO_ENGINE  where Wine runs no 32-bit quiz: the 64-bit player and the studio's engine, which make
              the page's twin that the quiz played under Wine comes from
  KELVOPACK   kelvopack (the native one, or kelvopack.exe run through scripts/kelvopack)
  WINEPREFIX  where the studio's quiz is played (default: the player's build tree's)
"""
import io
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import tomllib
import unittest
import zipfile

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"
NAMES = ("capitales", "drapeaux", "formes", "sons", "video")
AXE = pathlib.Path(__file__).resolve().parent / "node_modules" / "axe-core" / "axe.min.js"
STUDIO = pathlib.Path(os.environ["STUDIO"]).resolve()
PLAYER = pathlib.Path(os.environ["PLAYER"]).resolve()
WORK = pathlib.Path(tempfile.mkdtemp(prefix="kelvo-studio-"))
MAKES_EXECUTABLES = os.environ.get("STUDIO_EXE", "1") == "1"


def kelvopack(*arguments, input=None):
    """Runs kelvopack; returns (status, stdout, stderr)."""
    tool = os.environ.get("KELVOPACK", "")
    command = [tool] if tool and not tool.endswith(".exe") else [str(ROOT / "scripts" / "kelvopack")]
    env = dict(os.environ, KELVOPACK_EXE=tool) if tool.endswith(".exe") else dict(os.environ)
    done = subprocess.run(command + [str(a) for a in arguments], env=env, input=input, capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def reference(name):
    """kelvopack's files for an example: its .exe, .html and extracted folder."""
    folder = WORK / "reference" / name
    if not folder.exists():
        folder.mkdir(parents=True)
        source = EXAMPLES / name / (name + ".toml")
        for output in (name + ".html",) + ((name + ".exe",) if MAKES_EXECUTABLES else ()):
            status, out, err = kelvopack("build", source, "-o", folder / output, "--player", PLAYER)
            assert status == 0, out + err
        if not MAKES_EXECUTABLES:
            status, out, err = kelvopack("build", source, "-o", folder / (name + ".exe"), "--player", PLAYER)
            assert status == 0, out + err
        status, out, err = kelvopack("extract", folder / (name + ".exe"), "-o", folder / "extracted")
        assert status == 0, out + err
    return folder


def browser(downloads, storage=True, width=1200):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", f"--window-size={width},900", "--disable-gpu"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    options.add_experimental_option("prefs", {"download.default_directory": str(downloads),
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": str(downloads)})
    if not storage:
        # What a browser with storage turned off does: every access throws.
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
            "Object.defineProperty(window, 'indexedDB', {get() {"
            " throw new DOMException('Access is denied for this document.', 'SecurityError'); }});"})
    return driver


class Studio:
    def __init__(self, driver, downloads):
        self.driver, self.downloads = driver, downloads

    def open(self, reload=False):
        self.driver.refresh() if reload else self.driver.get(STUDIO.as_uri())
        self.wait("return document.documentElement.dataset.ready")
        return self.settled()

    def wait(self, script, timeout=60):
        WebDriverWait(self.driver, timeout, poll_frequency=0.05).until(lambda d: d.execute_script(script))

    def settled(self):
        self.wait("return !document.documentElement.dataset.busy")
        return self

    def by_id(self, id):
        return self.driver.find_element(By.ID, id)

    def type(self, id, text):
        element = self.by_id(id)
        self.driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", element)
        element.click()
        element.send_keys(Keys.CONTROL, "a")
        element.send_keys(Keys.DELETE)
        if text:
            element.send_keys(text)

    def choose(self, id, value):
        Select(self.by_id(id)).select_by_value(value)

    def tick(self, id, on):
        element = self.by_id(id)
        if element.is_selected() != on:
            self.driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", element)
            element.click()

    def file(self, id, path):
        self.by_id(id).send_keys(str(path))
        self.settled()
        self.wait(f"return document.getElementById('{id}-name').textContent !== 'aucun fichier'")

    def click(self, id):
        # A check under way may still show problems and move the button: a click
        # aimed before that lands beside it, and nothing says so.
        self.settled()
        element = self.by_id(id)
        self.driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", element)
        element.click()

    def status(self):
        return self.by_id("status").text

    def problems(self):
        return self.driver.execute_script(
            "return Array.from(document.querySelectorAll('.problem')).filter(p => !p.hidden)"
            ".map(p => [p.closest('[data-field]') ? p.closest('[data-field]').dataset.field : p.dataset.slot || '', p.textContent])")

    def values(self):
        return self.driver.execute_script(
            "return Array.from(document.querySelectorAll('#form input, #form select')).map(e => [e.id, e.type === 'checkbox' ? e.checked : e.value])")

    def pictures(self):
        """Each picture field: whether its picture shows as stored, and what it says of it."""
        return self.driver.execute_script(
            "return Array.from(document.querySelectorAll('.media:not([hidden])')).map(m => [m.dataset.field,"
            " !m.querySelector('img').hidden && !!m.querySelector('img').src, m.querySelector('[data-about]').textContent])")

    def prepared(self):
        """How many pictures the engine has prepared since the page was opened."""
        return self.driver.execute_script("return document.documentElement.dataset.picturesPrepared")

    def save(self, button):
        """Clicks a save button; returns the downloaded file's bytes."""
        for old in self.downloads.iterdir():
            old.unlink()
        self.settled()
        self.driver.execute_script("delete document.documentElement.dataset.saved")
        self.click(button)
        self.wait("return document.documentElement.dataset.saved || null")
        name = self.driver.execute_script("return document.documentElement.dataset.saved")
        target = self.downloads / name
        WebDriverWait(self.driver, 30, 0.05).until(lambda d: target.exists() and not any(
            p.suffix == ".crdownload" for p in self.downloads.iterdir()))
        return target.read_bytes()

    def open_file(self, path):
        self.driver.execute_script("document.getElementById('status').textContent = ''")
        self.by_id("open-file").send_keys(str(path))
        self.wait("return document.getElementById('status').textContent.match(/ouvert\\.|Impossible/) !== null")
        return self.settled()

    def audit(self):
        self.driver.execute_script(AXE.read_text(encoding="utf-8"))
        result = self.driver.execute_async_script("axe.run(document, {resultTypes: ['violations']}).then(arguments[0]);")
        return [(v["id"], [n["html"][:80] for n in v["nodes"]]) for v in result["violations"]
                if v["impact"] in ("serious", "critical")]


def fill_in(studio, name):
    """Types an example's source into an empty studio, choosing its media files."""
    quiz = tomllib.loads((EXAMPLES / name / (name + ".toml")).read_text(encoding="utf-8"))
    questions = quiz["question"]
    studio.type("f-file", name)
    for key in ("title", "author", "explanation"):
        studio.type("f-" + key, quiz.get(key, ""))
    studio.choose("f-kind", quiz["kind"])
    studio.settled()
    if quiz.get("reveal", "none") != "none":
        studio.choose("f-reveal", quiz["reveal"])
    studio.type("f-colour", quiz.get("colour", "#5a5f96"))
    studio.tick("f-two_answers", "second_answer" in questions[0])
    studio.settled()
    for index, caption in enumerate(quiz.get("captions", [])):
        studio.type(f"f-captions-{index}", caption)
    for _ in questions[1:]:
        studio.click("add-question")
    studio.settled()
    for number, question in enumerate(questions, 1):
        for key, value in question.items():
            if key in ("picture", "reveal_picture", "clip"):
                studio.file(f"f-q{number}-{key}", EXAMPLES / name / value)
            else:
                studio.type(f"f-q{number}-{key}", str(value))
    for index, code in enumerate(quiz.get("codes", [])):
        if code:
            studio.type(f"f-code-{index}", code)
    return studio.settled()


def zip_files(archive):
    """The zip's files by name (its one folder left out), checked as unzip -t would."""
    with zipfile.ZipFile(io.BytesIO(archive)) as opened:
        assert opened.testzip() is None
        return {info.filename.split("/", 1)[1]: opened.read(info) for info in opened.infolist()}


def folder_files(folder):
    return {str(p.relative_to(folder)): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}


class StudioTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.downloads = WORK / "downloads"
        cls.downloads.mkdir(exist_ok=True)
        cls.driver = browser(cls.downloads)
        cls.studio = Studio(cls.driver, cls.downloads)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def fresh(self, page=STUDIO):
        """An empty studio: the work kept by the last test is forgotten."""
        self.driver.get(page.as_uri())
        self.driver.execute_script("indexedDB.deleteDatabase('kelvo-studio')")
        return self.studio.open(reload=True)

    def test_examples_typed_in_give_kelvopacks_files(self):
        for name in NAMES:
            with self.subTest(name):
                expected = reference(name)
                studio = fill_in(self.fresh(), name)
                self.assertEqual(studio.problems(), [], name)
                outputs = ["save-html"] + (["save-exe"] if MAKES_EXECUTABLES else [])
                for button in outputs:
                    saved = studio.save(button)
                    suffix = ".html" if button == "save-html" else ".exe"
                    self.assertTrue(saved == (expected / (name + suffix)).read_bytes(), f"{name}{suffix} differs")
                    (WORK / (name + "-studio" + suffix)).write_bytes(saved)
                self.assertEqual(zip_files(studio.save("save-zip")), folder_files(expected / "extracted"))

    def test_an_executable_it_writes_plays_under_wine(self):
        page, player = STUDIO, PLAYER
        if subprocess.run([ROOT / "scripts" / "runs-32-bit"]).returncode != 0:
            # Wine starts no 32-bit quiz here: the same page, carrying the 64-bit twin of the player.
            if not {"PLAYER64", "STUDIO_ENGINE"} <= os.environ.keys():
                self.skipTest("this machine runs no 32-bit programs, and PLAYER64 or STUDIO_ENGINE is not given")
            player = pathlib.Path(os.environ["PLAYER64"]).resolve()
            page = WORK / "kelvo-studio64.html"
            subprocess.run([sys.executable, ROOT / "web" / "studio" / "assemble_studio.py", os.environ["STUDIO_ENGINE"],
                            player, page], check=True)
        quiz = WORK / "joue" / "capitales.exe"
        quiz.parent.mkdir(exist_ok=True)
        quiz.write_bytes(fill_in(self.fresh(page), "capitales").save("save-exe"))
        prefix = os.environ.get("WINEPREFIX", str(player.parents[1] / "wineprefix"))   # the player's build tree's
        env = dict(os.environ, WINEPREFIX=prefix, KELVO_QUIZ_EXE=str(quiz))
        subprocess.run([ROOT / "scripts" / "wine-prefix"], env=env, check=True)
        game = subprocess.run([ROOT / "scripts" / "with-display", "/usr/bin/python3", "play_test.py"], cwd=ROOT / "tests" / "e2e",
                              env=dict(env, WINEDLLOVERRIDES="mscoree,mshtml=", WINEDEBUG="-all"), capture_output=True, text=True)
        self.assertEqual(game.returncode, 0, game.stdout + game.stderr)

    def test_saved_files_opened_and_saved_again_are_unchanged(self):
        suffixes = (".html", ".exe") if MAKES_EXECUTABLES else (".html",)
        for name in NAMES:
            for suffix in suffixes:
                if (name, suffix) == ("video", ".html"):
                    continue   # AVI clips do not play in a browser: the page holds none (below)
                with self.subTest(name + suffix):
                    original = reference(name) / (name + suffix)
                    studio = self.fresh().open_file(original)
                    self.assertIn("ouvert", studio.status())
                    self.assertTrue(studio.save("save-exe" if suffix == ".exe" else "save-html") == original.read_bytes())
        studio = self.fresh().open_file(reference("video") / "video.html")
        self.assertIn("choisissez-les à nouveau", studio.status())
        self.assertIn("question 1, clip", dict(studio.problems()))
        studio = self.fresh().open_file(self.zip_of("drapeaux"))
        self.assertTrue(studio.save("save-html") == (reference("drapeaux") / "drapeaux.html").read_bytes())

    def test_a_source_folder_chosen_whole_with_its_sub_folders(self):
        folder = WORK / "sous-dossiers" / "drapeaux"
        shutil.copytree(EXAMPLES / "drapeaux", folder / "images")
        source = (folder / "images" / "drapeaux.toml").read_text("utf-8")
        (folder / "images" / "drapeaux.toml").unlink()
        for picture in (folder / "images").iterdir():
            source = source.replace(f'"{picture.name}"', f'"images/{picture.name}"')
        (folder / "drapeaux.toml").write_text(source, encoding="utf-8")
        status, out, err = kelvopack("build", folder / "drapeaux.toml", "-o", folder / "drapeaux.html")
        self.assertEqual(status, 0, out + err)
        studio = self.fresh()
        studio.by_id("open-folder").send_keys(str(folder))
        studio.wait("return document.getElementById('status').textContent.includes('ouvert')")
        self.assertEqual(studio.by_id("f-q1-picture-name").text, "images/france.bmp")
        self.assertTrue(studio.settled().save("save-html") == (folder / "drapeaux.html").read_bytes())

    def zip_of(self, name):
        """The example's source folder zipped with deflate, as a teacher's zip tool does."""
        path = WORK / (name + "-folder.zip")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
            for file in sorted((EXAMPLES / name).iterdir()):
                archive.write(file, name + "/" + file.name)
        return path

    def test_validation_errors_stand_at_their_fields_in_kelvopacks_words(self):
        source = WORK / "fautes" / "fautes.toml"
        source.parent.mkdir(exist_ok=True)
        # One row per rule: the field, what is typed there, in TOML.
        rows = [
            ("title", "Étoile ★", 'title = "Étoile ★"'),              # no Windows-1252 byte
            ("author", "A" * 260, f'author = "{"A" * 260}"'),          # one character too many
            ("colour", "bleu", 'colour = "bleu"'),
            ("question 1, answer", " Paris", 'answer = " Paris"'),     # the player trims what is typed
            ("question 2, answer", "A|B", 'answer = "A|B"'),           # "|" separates stored fields
            ("question 2, prompt", "", ""),                            # a text quiz needs prompts
        ]
        header = "\n".join(toml for field, _, toml in rows if not field.startswith("question"))
        source.write_text(header + '\nkind = "text"\n\n[[question]]\nprompt = "Un"\n' + rows[3][2] +
                          '\n\n[[question]]\n' + rows[4][2] + "\n", encoding="utf-8")
        status, out, err = kelvopack("validate", source)
        self.assertEqual(status, 1, out + err)
        expected = {}
        for line in err.splitlines():
            if " : erreur : " in line and "(" in line:
                field = line[line.index("(") + 1:line.index(")")]
                expected.setdefault(field, []).append(line.split(" : erreur : ", 1)[1])
        studio = self.fresh()
        studio.click("add-question")
        for field, typed, _ in rows:
            if typed:
                studio.type("f-" + field.replace("question ", "q").replace(", ", "-"), typed)
        studio.type("f-q1-prompt", "Un")
        studio.settled()
        shown = {field: text for field, text in studio.problems()}
        for field, _, _ in rows:
            with self.subTest(field):
                self.assertIn(field, expected)
                for message in expected[field]:
                    self.assertIn("Erreur : " + message, shown.get(field, ""))
        before = list(self.downloads.iterdir())
        studio.click("save-html")
        studio.wait("return document.getElementById('status').textContent.includes('rien n')")
        self.assertEqual(list(self.downloads.iterdir()), before)

    def test_a_quiz_made_with_the_keyboard_alone(self):
        studio = self.fresh()
        body = self.driver.find_element(By.TAG_NAME, "body")
        body.click()
        keys = ActionChains(self.driver)

        def tab_to(id):
            for _ in range(80):
                if self.driver.switch_to.active_element.get_attribute("id") == id:
                    return
                keys.send_keys(Keys.TAB).perform()
            self.fail("Tab never reaches " + id)

        for id, text in (("f-file", "clavier"), ("f-title", "Au clavier"), ("f-q1-prompt", "Deux et deux ?"),
                         ("f-q1-answer", "quatre")):
            tab_to(id)
            keys.key_down(Keys.CONTROL).send_keys("a").key_up(Keys.CONTROL).send_keys(text).perform()
        tab_to("add-question")
        keys.send_keys(Keys.ENTER).perform()
        self.assertEqual(self.driver.switch_to.active_element.get_attribute("id"), "f-q2-prompt")
        keys.send_keys("Trois et trois ?").perform()
        tab_to("f-q2-answer")
        keys.send_keys("six").perform()
        tab_to("f-code-1")
        keys.send_keys("BRAVO").perform()
        studio.settled()
        for old in self.downloads.iterdir():
            old.unlink()
        tab_to("save-html")
        keys.send_keys(Keys.ENTER).perform()
        studio.wait("return document.documentElement.dataset.saved === 'clavier.html'")
        WebDriverWait(self.driver, 30).until(lambda d: (self.downloads / "clavier.html").exists())
        source = WORK / "clavier" / "clavier.toml"
        source.parent.mkdir(exist_ok=True)
        source.write_text('title = "Au clavier"\nkind = "text"\ncodes = ["", "BRAVO"]\n[[question]]\nprompt = "Deux et deux ?"\n'
                          'answer = "quatre"\n[[question]]\nprompt = "Trois et trois ?"\nanswer = "six"\n', encoding="utf-8")
        status, out, err = kelvopack("build", source, "-o", WORK / "clavier" / "clavier.html")
        self.assertEqual(status, 0, out + err)
        time.sleep(0.5)
        self.assertTrue((self.downloads / "clavier.html").read_bytes() == (WORK / "clavier" / "clavier.html").read_bytes())

    def test_playing_the_quiz_and_what_a_pupil_would_get(self):
        studio = fill_in(self.fresh(), "capitales")
        expected = [q["answer"] for q in tomllib.loads((EXAMPLES / "capitales" / "capitales.toml").read_text("utf-8"))["question"]]
        typed = ["  paris ", "athenes", "Vinene", "Varso", "Copenhague la belle"]
        _, verdicts, _ = kelvopack("check", input="".join(f"{e}\t{t}\n" for e, t in zip(expected, typed)))
        self.assertEqual(len(verdicts.splitlines()), len(typed))
        for number, (verdict, pupil) in enumerate(zip(verdicts.splitlines(), typed), 1):
            with self.subTest(pupil):
                studio.type(f"f-q{number}-pupil", pupil)
                studio.wait(f"return document.getElementById('f-q{number}-pupil-verdict').textContent === {verdict!r}", 10)
        studio.click("play")
        self.driver.switch_to.frame(studio.by_id("player-frame"))
        try:
            studio.wait("return document.documentElement.dataset.ready")
            box = self.driver.find_element(By.ID, "4001")
            box.send_keys("paris", Keys.ENTER)
            studio.wait("return document.getElementById('5001').textContent === 'BRAVO'")
            self.assertEqual(self.driver.find_element(By.ID, "32").text.strip(), "1 / 5")
        finally:
            self.driver.switch_to.default_content()
        studio.click("back")
        self.assertEqual(self.driver.switch_to.active_element.get_attribute("id"), "play")

    def test_its_policy_allows_no_network_request(self):
        page = STUDIO.read_text(encoding="utf-8")
        start = page.index('http-equiv="Content-Security-Policy" content="') + len('http-equiv="Content-Security-Policy" content="')
        policy = dict((d.split()[0], d.split()[1:]) for d in page[start:page.index('"', start)].split(";") if d.strip())
        self.assertEqual(policy["default-src"], ["'none'"])
        allowed = {"'none'", "'unsafe-inline'", "'wasm-unsafe-eval'", "data:", "blob:"}
        self.assertEqual({source for sources in policy.values() for source in sources} - allowed, set())

    def test_questions_moved_duplicated_removed_and_a_new_quiz_asked_first(self):
        studio = self.fresh()
        for _ in range(2):
            studio.click("add-question")
        for number, answer in enumerate(("un", "deux", "trois"), 1):
            studio.type(f"f-q{number}-answer", answer)
        answers = lambda: [v for k, v in studio.values() if k.endswith("-answer")]
        # One row per tool: the button, the question it acts on, the answers after it.
        rows = [("Descendre", 1, ["deux", "un", "trois"]), ("Monter", 3, ["deux", "trois", "un"]),
                ("Dupliquer", 1, ["deux", "deux", "trois", "un"]), ("Supprimer", 3, ["deux", "deux", "un"])]
        for label, number, expected in rows:
            with self.subTest(label):
                self.driver.find_element(By.CSS_SELECTOR, f'#q-{number} button[aria-label="{label} la question {number}"]').click()
                studio.settled()
                self.assertEqual(answers(), expected)
        self.assertEqual(studio.by_id("question-count").text, "(3 / 96)")
        studio.click("new")
        self.driver.switch_to.alert.dismiss()
        self.assertEqual(answers(), ["deux", "deux", "un"])
        studio.click("new")
        self.driver.switch_to.alert.accept()
        studio.wait("return document.getElementById('status').textContent.includes('ouvert')")
        self.assertEqual(answers(), [""])

    def test_the_work_comes_back_after_a_reload(self):
        studio = fill_in(self.fresh(), "drapeaux")
        studio.wait("return document.documentElement.dataset.kept === '1'")
        typed, pictures = studio.values(), studio.pictures()
        self.assertTrue(all(shown for _, shown, _ in pictures) and len(pictures) == 10, pictures)
        studio.open(reload=True)
        self.assertIn("retrouvé", studio.status())
        self.assertEqual(studio.values(), typed)
        # The prepared pictures come back too: none is prepared again, and the same bytes are saved.
        self.assertEqual((studio.pictures(), studio.prepared()), (pictures, "0"))
        button, suffix = ("save-exe", ".exe") if MAKES_EXECUTABLES else ("save-html", ".html")
        self.assertTrue(studio.save(button) == (reference("drapeaux") / ("drapeaux" + suffix)).read_bytes())
        studio.file("f-q1-picture", EXAMPLES / "formes" / "carre-bleu.gif")
        self.assertEqual(studio.prepared(), "1")   # the new picture only
        # A kept file that is no longer the one its picture was prepared from: that picture is prepared again.
        studio.wait("return document.documentElement.dataset.kept === '1'")
        self.driver.execute_async_script(
            "const done = arguments[0], open = indexedDB.open('kelvo-studio');"
            "open.onsuccess = () => { const tx = open.result.transaction('media', 'readwrite'), media = tx.objectStore('media');"
            " media.get('belgique.jpg').onsuccess = (e) => media.put(e.target.result, 'italie.jpg');"
            " tx.oncomplete = () => { open.result.close(); done(); }; };")
        studio.open(reload=True)
        shown = dict((field, about) for field, _, about in studio.pictures())
        self.assertEqual((studio.prepared(), shown["question 2, picture"]), ("1", shown["question 4, picture"]))

    def test_without_storage_a_notice_and_saving_still_works(self):
        downloads = WORK / "downloads-without-storage"
        downloads.mkdir()
        driver = browser(downloads, storage=False)
        try:
            studio = Studio(driver, downloads).open()
            notice = studio.by_id("notice")
            self.assertTrue(notice.is_displayed())
            self.assertIn("jusqu'à ce que vous l'enregistriez", notice.text)
            fill_in(studio, "capitales")
            self.assertTrue(studio.save("save-html") == (reference("capitales") / "capitales.html").read_bytes())
        finally:
            driver.quit()

    def test_damaged_files_leave_the_form_as_it_was(self):
        page = (reference("formes") / "formes.html").read_bytes()
        data = page.index(b'"quiz":"') + 20
        damaged = {"abimee.html": page[:data] + (b"B" if page[data:data + 1] != b"B" else b"C") + page[data + 1:],
                   "coupee.html": page[:data],
                   "pas-un-quiz.exe": b"MZ" + bytes(200),
                   "abime.exe": (reference("formes") / "formes.exe").read_bytes()[:3000],
                   "pas-un-zip.zip": b"PK\x03\x04" + bytes(40),
                   "hors-dossier.zip": self.zip_leaving_its_folder()}
        studio = fill_in(self.fresh(), "capitales")
        typed = studio.values()
        for name, bytes_ in damaged.items():
            with self.subTest(name):
                (WORK / name).write_bytes(bytes_)
                studio.open_file(WORK / name)
                self.assertIn("Impossible d'ouvrir " + name, studio.status())
                self.assertEqual(studio.values(), typed)

    @staticmethod
    def zip_leaving_its_folder():
        """A source whose picture would be written outside the quiz's folder."""
        archive = io.BytesIO()
        with zipfile.ZipFile(archive, "w") as opened:
            opened.writestr("q/q.toml", 'title = "A"\nkind = "picture"\n[[question]]\nanswer = "a"\npicture = "../../x.gif"\n')
            opened.writestr("q/../../x.gif", b"GIF89a")
        return archive.getvalue()

    def test_axe_finds_nothing_serious_empty_and_with_each_example(self):
        studio = self.fresh()
        self.assertEqual(studio.audit(), [])
        for name in NAMES:
            with self.subTest(name):
                studio.open_file(reference(name) / (name + ".html"))
                self.assertEqual(studio.audit(), [])

    def test_at_360_pixels_no_sideways_scrolling_and_every_control_reachable(self):
        self.driver.set_window_size(360, 800)
        try:
            studio = self.fresh().open_file(reference("formes") / "formes.html")
            width = self.driver.execute_script("return document.documentElement.clientWidth")
            self.assertLessEqual(self.driver.execute_script("return document.documentElement.scrollWidth"), width)
            outside = self.driver.execute_script(
                "return Array.from(document.querySelectorAll('button, input, select, label.button'))"
                ".filter(e => e.offsetParent !== null && !e.classList.contains('hidden-input'))"
                ".filter(e => { e.scrollIntoView({block: 'center'}); const r = e.getBoundingClientRect();"
                " return r.left < 0 || r.right > document.documentElement.clientWidth || r.width === 0; })"
                ".map(e => e.id || e.textContent)")
            self.assertEqual(outside, [])
        finally:
            self.driver.set_window_size(1200, 900)


if __name__ == "__main__":
    try:
        unittest.main(verbosity=2)
    finally:
        shutil.rmtree(WORK, ignore_errors=True)
