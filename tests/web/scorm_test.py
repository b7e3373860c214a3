"""The browser edition as a SCORM package, as a learning platform runs it.
Packages written by kelvopack for every example and both versions are read
by real readers (Info-ZIP's unzip -t, Python's zipfile) and their manifests
validated against the schema files they carry (xmllint --schema). Each
package's page is then served over loopback HTTP in a frame of a host page
that runs scorm-again, the run-time learning platforms embed, and played
with real keys in headless Chromium: what the run-time holds afterwards,
every call's error code, a second session from the platform's data alone,
the page without a platform, and the 4096 characters of SCORM 1.2.

Runs with Debian's /usr/bin/python3 (its Selenium). Environment:
  KELVOPACK   kelvopack.exe         WINEPREFIX   its Wine prefix
"""
import functools
import http.server
import pathlib
import random
import re
import shutil
import subprocess
import tempfile
import threading
import unittest
import urllib.parse
import xml.etree.ElementTree as ElementTree
import zipfile

from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from page_support import EXAMPLES, Page, QuizPlay, boxes_of, browser, build, quiz_of

HERE = pathlib.Path(__file__).resolve().parent
RUNTIME = HERE / "node_modules" / "scorm-again" / "dist"
WORK = pathlib.Path(tempfile.mkdtemp(prefix="kelvo-scorm-"))
SITE = WORK / "site"
NAMES = ("capitales", "drapeaux", "formes", "sons", "video")
LEARNER = "eleve-1"
TOO_LONG = "trop longues pour la plateforme"


class Version:
    """What differs between the versions, as their data models and packaging name it."""
    def __init__(self, name, number, elements, time, namespaces, done, learner, entry):
        self.name, self.number, self.elements, self.time = name, number, elements, re.compile(time)
        self.namespaces, self.done, self.learner, self.entry = namespaces, done, learner, entry

    def state(self, data, element):
        """An element's value in the run-time's data (as renderCMIToJSONObject gives it)."""
        for part in element.split("."):
            data = data[part]
        return data

    def next_session(self, learner, suspend_data=None):
        """The data a platform starts a session with: the learner, and a suspended session's data."""
        data = {}
        self.put(data, self.learner, learner)
        if suspend_data is not None:
            self.put(data, self.entry, "resume")
            data["suspend_data"] = suspend_data
        return data

    @staticmethod
    def put(data, element, value):
        *path, last = element.split(".")[1:]
        for part in path:
            data = data.setdefault(part, {})
        data[last] = value


SCORM12 = Version("1.2", 12,
                  {"raw": "cmi.core.score.raw", "min": "cmi.core.score.min", "max": "cmi.core.score.max",
                   "time": "cmi.core.session_time", "exit": "cmi.core.exit"},
                  r"^\d{2,4}:\d{2}:\d{2}(\.\d{1,2})?$",
                  {"http://www.imsproject.org/xsd/imscp_rootv1p1p2": "imscp_rootv1p1p2.xsd",
                   "http://www.adlnet.org/xsd/adlcp_rootv1p2": "adlcp_rootv1p2.xsd",
                   "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1": "imsmd_rootv1p2p1.xsd"},
                  {"cmi.core.lesson_status": ("incomplete", "passed")},
                  "cmi.core.student_id", "cmi.core.entry")
SCORM2004 = Version("2004", 2004,
                    {"raw": "cmi.score.raw", "min": "cmi.score.min", "max": "cmi.score.max",
                     "time": "cmi.session_time", "exit": "cmi.exit", "scaled": "cmi.score.scaled"},
                    r"^P(?=\d|T\d)(\d+Y)?(\d+M)?(\d+D)?(T(\d+H)?(\d+M)?(\d+(\.\d{1,2})?S)?)?$",
                    {"http://www.imsglobal.org/xsd/imscp_v1p1": "imscp_v1p1.xsd",
                     "http://www.adlnet.org/xsd/adlcp_v1p3": "adlcp_v1p3.xsd",
                     "http://www.adlnet.org/xsd/adlseq_v1p3": "adlseq_v1p3.xsd",
                     "http://www.adlnet.org/xsd/adlnav_v1p3": "adlnav_v1p3.xsd",
                     "http://www.imsglobal.org/xsd/imsss": "imsss_v1p0.xsd"},
                    {"cmi.completion_status": ("incomplete", "completed"), "cmi.success_status": ("unknown", "passed")},
                    "cmi.learner_id", "cmi.entry")
VERSIONS = (SCORM12, SCORM2004)


def package_path(version, name):
    return WORK / version.name / (name + ".zip")


def percent(right, questions):
    return round(100 * right / questions, 2)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


class Platform:
    """The host page in the driver's top frame; the quiz page in its frame."""
    def __init__(self, test, driver, base):
        self.test, self.driver, self.base = test, driver, base

    def start(self, version, page, data, fresh_storage=True):
        self.driver.switch_to.default_content()
        self.driver.get(self.base + "host.html")
        if fresh_storage:
            self.driver.execute_script("localStorage.clear()")
        self.driver.execute_script("startSession(arguments[0], arguments[1], arguments[2])", version.number, data, page)
        self.driver.switch_to.frame("content")
        return Page(self.driver, page).wait()

    def in_host(self, script, *arguments):
        self.driver.switch_to.default_content()
        try:
            return self.driver.execute_script(script, *arguments)
        finally:
            self.driver.switch_to.frame("content")

    def calls(self):
        return self.in_host("return window.calls")

    def set_values(self):
        """The last value the page set for each element."""
        return {call["args"][0]: call["args"][1] for call in self.calls() if call["name"].endswith("SetValue")}

    def commits(self):
        return sum(call["name"].endswith("Commit") for call in self.calls())

    def end(self):
        """The page leaves (as when the pupil closes it); what the run-time kept."""
        self.driver.switch_to.default_content()
        self.driver.execute_script("endSession()")
        WebDriverWait(self.driver, 10).until(lambda d: any(
            call["name"] in ("LMSFinish", "Terminate") for call in d.execute_script("return window.calls")))
        return self.driver.execute_script("return window.session.renderCMIToJSONObject()")["cmi"]

    def assert_no_error(self):
        for call in self.calls():
            self.test.assertEqual((call["error"], call["result"] != "false"), ("0", True), call)


class ScormPackage(QuizPlay, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for version in VERSIONS:
            for name in NAMES:
                build(EXAMPLES / name / (name + ".toml"), package_path(version, name), "--scorm", version.name)
                with zipfile.ZipFile(package_path(version, name)) as package:
                    package.extractall(SITE / version.name / name)
        for name in NAMES:
            build(EXAMPLES / name / (name + ".toml"), WORK / "pages" / (name + ".html"))
        for runtime in ("scorm12.min.js", "scorm2004.min.js"):
            shutil.copy(RUNTIME / runtime, SITE)
        shutil.copy(HERE / "scorm_host.html", SITE / "host.html")
        (SITE / "favicon.ico").write_bytes(b"")   # browsers ask for one
        cls.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(QuietHandler, directory=str(SITE)))
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.base = f"http://127.0.0.1:{cls.server.server_port}/"
        cls.driver = browser()

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()
        shutil.rmtree(WORK, ignore_errors=True)

    def assert_package(self, version, path, title=None):
        """Real readers read it; its manifest validates and lists only files it holds; returns its page's name."""
        tested = subprocess.run(["unzip", "-tq", str(path)], capture_output=True, text=True)
        self.assertEqual(tested.returncode, 0, tested.stdout + tested.stderr)
        with zipfile.ZipFile(path) as package:
            self.assertIsNone(package.testzip())
            names = package.namelist()
            self.assertEqual(names[0], "imsmanifest.xml")
            self.assertEqual({info.date_time for info in package.infolist()}, {(1980, 1, 1, 0, 0, 0)})
            folder = WORK / "validated" / version.name / path.stem
            package.extractall(folder)
        imports = "".join(f'<xs:import namespace="{space}" schemaLocation="{file}"/>'
                          for space, file in version.namespaces.items())
        (folder / "all-schemas.xsd").write_text(
            f'<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">{imports}</xs:schema>', encoding="utf-8")
        checked = subprocess.run(["xmllint", "--noout", "--nonet", "--schema", "all-schemas.xsd", "imsmanifest.xml"],
                                 cwd=folder, capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stderr)

        manifest = ElementTree.parse(folder / "imsmanifest.xml").getroot()
        listed = [urllib.parse.unquote(element.get("href")) for element in manifest.iter()
                  if element.tag.endswith(("}resource", "}file"))]
        located = manifest.get("{http://www.w3.org/2001/XMLSchema-instance}schemaLocation").split()[1::2]
        self.assertEqual([name for name in listed + located if name not in names], [], "listed but missing")
        self.assertEqual(len(set(listed)), 1, "one SCO: the page")
        if title is not None:
            self.assertEqual({element.text for element in manifest.iter() if element.tag.endswith("}title")}, {title})
        return listed[0]

    def test_every_package_is_read_validated_and_carries_the_page_as_written(self):
        for version in VERSIONS:
            for name in NAMES:
                with self.subTest(version=version.name, example=name):
                    page = self.assert_package(version, package_path(version, name), quiz_of(name)["title"])
                    self.assertEqual(page, name + ".html")
                    with zipfile.ZipFile(package_path(version, name)) as package:
                        self.assertEqual(package.read(page), (WORK / "pages" / page).read_bytes())

    def test_packages_are_reproducible_and_any_title_or_name_validates(self):
        for version in VERSIONS:
            again = WORK / "again" / version.name / "capitales.zip"
            build(EXAMPLES / "capitales" / "capitales.toml", again, "--scorm", version.name)
            self.assertEqual(again.read_bytes(), package_path(version, "capitales").read_bytes(), version.name)

        # The longest title (the manifest of 1.2 keeps 200 characters), with
        # characters XML escapes, under a file name with a blank and an accent.
        title = ("Éé & <Œ> " * 29)[:259]
        source = (EXAMPLES / "capitales" / "capitales.toml").read_text(encoding="utf-8")
        odd = WORK / "odd" / "mon quiz é.toml"
        odd.parent.mkdir()
        odd.write_text(re.sub(r'^title = .*$', f'title = "{title}"', source, count=1, flags=re.M), encoding="utf-8")
        for version, kept in ((SCORM12, title[:200]), (SCORM2004, title)):
            path = WORK / "odd" / version.name / "mon quiz é.zip"
            warnings = build(odd, path, "--scorm", version.name)
            self.assertEqual(self.assert_package(version, path, kept), "mon quiz é.html")
            self.assertEqual("200 caractères" in warnings, version is SCORM12, warnings)

    def test_every_example_reports_to_the_platform_and_resumes_from_its_data_alone(self):
        platform = Platform(self, self.driver, self.base)
        for version in VERSIONS:
            for name in NAMES:
                with self.subTest(version=version.name, example=name):
                    self.play_in_platform(platform, version, name)

    def play_in_platform(self, platform, version, name):
        quiz = quiz_of(name)
        questions = len(quiz["question"])
        page_url = f"{version.name}/{name}/{name}.html"
        page = platform.start(version, page_url, version.next_session(LEARNER))
        commits = [platform.commits()]

        def one_commit_per_check(box):
            commits.append(platform.commits())
            self.assertEqual(commits[-1] - commits[-2], 1, box)

        def reported(right):
            values = platform.set_values()
            self.assertEqual(float(values[version.elements["raw"]]), percent(right, questions))
            for element, (before, after) in version.done.items():
                self.assertEqual(values[element], after if right == questions else before, (element, right))
        self.play_every_answer(page, quiz, reported, one_commit_per_check)
        # Hidden (another tab, the phone locked): the session so far is committed.
        self.driver.execute_script("Object.defineProperty(document, 'visibilityState', {value: 'hidden'});"
                                   "document.dispatchEvent(new Event('visibilitychange'))")
        self.assertEqual(platform.commits(), commits[-1] + 1)

        data = platform.end()
        state = functools.partial(version.state, {"cmi": data})
        self.assertEqual([state(version.elements[key]) for key in ("raw", "min", "max", "exit")],
                         ["100", "0", "100", "suspend"])
        self.assertEqual({element: state(element) for element in version.done},
                         {element: after for element, (_, after) in version.done.items()})
        if version is SCORM2004:
            self.assertEqual(float(state(version.elements["scaled"])), 1.0)
        self.assertRegex(state(version.elements["time"]), version.time)
        self.assertTrue(data["suspend_data"].startswith("K1"), data["suspend_data"])
        platform.assert_no_error()

        # A second session, on a fresh browser: the platform's data alone brings every answer back.
        self.assert_all_right(platform.start(version, page_url, version.next_session(LEARNER, data["suspend_data"])), quiz)
        platform.assert_no_error()

        # Another pupil on the same computer sees none of those answers.
        page = platform.start(version, page_url, version.next_session("eleve-2"), fresh_storage=False)
        self.assertEqual([page.value(box) for box, _ in boxes_of(quiz)], [""] * len(boxes_of(quiz)))

        # Without a platform the page keeps its answers in the browser, as ever.
        page = Page(self.driver, name, self.base + page_url)
        self.driver.switch_to.default_content()
        page.open()
        box, answer = boxes_of(quiz)[0]
        page.type(box, answer, Keys.ENTER)
        self.assertEqual(page.open(reload=True).value(box), answer)
        keys = self.driver.execute_script("return Object.keys(localStorage)")
        self.assertEqual(len([key for key in keys if re.fullmatch("kelvo-[0-9a-f]{16}", key)]), 1, keys)
        self.assertEqual(page.severe_logs(), [])

    def test_answers_just_within_4096_characters_reach_scorm12_and_longer_ones_stay_on_this_device(self):
        # A text quiz of 16 questions, answered with texts no codec shrinks.
        questions = "".join(f'\n[[question]]\nprompt = "Question {n}"\nanswer = "r{n}"\n' for n in range(1, 17))
        source = WORK / "limite" / "limite.toml"
        source.parent.mkdir(exist_ok=True)
        source.write_text('title = "Limite"\nkind = "text"\n' + questions, encoding="utf-8")
        build(source, WORK / "limite" / "limite.zip", "--scorm", "1.2")
        with zipfile.ZipFile(WORK / "limite" / "limite.zip") as package:
            package.extractall(SITE / "limite")
        platform = Platform(self, self.driver, self.base)
        page = platform.start(SCORM12, "limite/limite.html", SCORM12.next_session(LEARNER))
        noise = random.Random(4096)

        def answer(box, text):
            element = page.by_id(box)
            element.click()
            element.send_keys(Keys.CONTROL, "a")
            element.send_keys(text or Keys.DELETE, Keys.ENTER)
            return platform.set_values()["cmi.suspend_data"]

        # Fill boxes with 259 incompressible characters until they no longer
        # fit, then find the length of the last answer where they stop fitting.
        box, text = 4001, ""
        while True:
            text = "".join(chr(noise.randrange(0x21, 0x7F)) for _ in range(259))
            if answer(box, text) == "":
                break
            box += 1
        fits, over = 0, 259
        while over - fits > 1:
            middle = (fits + over) // 2
            fits, over = (middle, over) if answer(box, text[:middle]) else (fits, middle)

        just_within = answer(box, text[:fits])
        self.assertTrue(4096 - 8 < len(just_within) <= 4096, len(just_within))
        self.assertNotIn(TOO_LONG, page.by_id("quiz-notice").text)

        self.assertEqual(answer(box, text[:over]), "", "over the limit: the platform keeps no stale answers")
        self.assertIn(TOO_LONG, page.by_id("quiz-notice").text)
        self.assertEqual(platform.set_values()["cmi.core.score.raw"], "0", "the score is reported all the same")
        kept = self.driver.execute_script("return Object.keys(localStorage).map((key) => [key, localStorage[key]])")
        self.assertEqual([(key.endswith("-" + LEARNER), text[:over] in value) for key, value in kept], [(True, True)])
        platform.assert_no_error()


if __name__ == "__main__":
    unittest.main(verbosity=2)
