"""What the browser edition's tests share: kelvopack run through
scripts/kelvopack, headless Chromium, a quiz page's elements read and typed
into as a player would, and the examples' expected answers."""
import os
import pathlib
import subprocess
import tomllib

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"
AXE = pathlib.Path(__file__).resolve().parent / "node_modules" / "axe-core" / "axe.min.js"

GREEN, RED, AMBER, ORANGE = "rgb(0, 255, 0)", "rgb(255, 0, 0)", "rgb(255, 203, 38)", "rgb(255, 100, 0)"
NO_CODE = "      "  # six blanks, as the player's code box


def build(source, output, *options):
    """kelvopack build SOURCE -o OUTPUT [OPTIONS]; returns what it printed on stderr."""
    pathlib.Path(output).parent.mkdir(parents=True, exist_ok=True)
    env = dict(os.environ, KELVOPACK_EXE=os.environ["KELVOPACK"], KELVOPACK_WINEPREFIX=os.environ["WINEPREFIX"])
    done = subprocess.run([str(ROOT / "scripts" / "kelvopack"), "build", str(source), "-o", str(output), *options],
                          env=env, capture_output=True, text=True)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stderr


def browser(downloads=None, storage=True):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--window-size=1200,900", "--disable-gpu"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    if downloads:
        options.add_experimental_option("prefs", {"download.default_directory": str(downloads),
                                                  "download.prompt_for_download": False})
    driver = webdriver.Chrome(options=options)
    if not storage:
        # What private mode or a full quota does to the page: every access throws.
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
            "Object.defineProperty(window, 'localStorage', {get() {"
            " throw new DOMException('Access is denied for this document.', 'SecurityError'); }});"})
    return driver


class Page:
    """A quiz page in the driver's current frame, opened from `url`."""
    def __init__(self, driver, name, url=None):
        self.driver, self.name, self.url = driver, name, url

    def open(self, reload=False):
        self.driver.refresh() if reload else self.driver.get(self.url)
        return self.wait()

    def wait(self):
        WebDriverWait(self.driver, 10).until(lambda d: d.execute_script(
            "return document.documentElement.dataset.ready || document.documentElement.dataset.failed"))
        return self

    def by_id(self, id):
        return self.driver.find_element(By.ID, str(id))

    def text(self, id):
        return self.driver.execute_script("return document.getElementById(arguments[0]).textContent", str(id))

    def value(self, id):
        return self.by_id(id).get_attribute("value")

    def verdict(self, box):
        return tuple(self.driver.execute_script("const label = document.getElementById(arguments[0]);"
                                                "return [label.textContent, getComputedStyle(label).backgroundColor]",
                                                str(box + 1000)))

    def type(self, box, text, key):
        element = self.by_id(box)
        element.click()
        element.send_keys(Keys.CONTROL, "a")
        element.send_keys(text, key)

    def focused(self):
        return self.driver.switch_to.active_element.get_attribute("id")

    def hidden(self, id):
        return self.driver.execute_script("return document.getElementById(arguments[0]).hidden", str(id))

    def severe_logs(self):
        return [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]

    def audit(self):
        """Serious and critical findings of axe-core on the page as it stands."""
        self.driver.execute_script(AXE.read_text(encoding="utf-8"))
        result = self.driver.execute_async_script(
            "axe.run(document, {resultTypes: ['violations']}).then(arguments[0]);")
        return [(v["id"], [n["html"][:80] for n in v["nodes"]]) for v in result["violations"]
                if v["impact"] in ("serious", "critical")]


def boxes_of(quiz):
    """Answer box ids with their expected answers, in the order of the saved-answers file."""
    two = "second_answer" in quiz["question"][0]
    boxes = []
    for question in quiz["question"]:
        boxes.append((4001 + len(boxes), question["answer"]))
        if two:
            boxes.append((4001 + len(boxes), question["second_answer"]))
    return boxes


def quiz_of(name):
    return tomllib.loads((EXAMPLES / name / (name + ".toml")).read_text(encoding="utf-8"))


class QuizPlay:
    """Playing a whole quiz right, for a unittest.TestCase."""
    def play_every_answer(self, page, quiz, checks_after_question=lambda number: None, checks_after_box=lambda box: None):
        """Types every right answer and leaves each box with Tab; score and code follow."""
        boxes = boxes_of(quiz)
        per_question = len(boxes) // len(quiz["question"])
        codes = quiz.get("codes", [])
        for index, (box, answer) in enumerate(boxes):
            page.type(box, answer, Keys.TAB)
            self.assertEqual(page.verdict(box), ("BRAVO", GREEN), (page.name, box))
            checks_after_box(box)
            if index + 1 < len(boxes) and "clip" not in quiz["question"][0]:   # clips take the focus between boxes
                self.assertEqual(page.focused(), str(box + 1), "Tab moves to the next box")
            if (index + 1) % per_question == 0:
                right = (index + 1) // per_question
                self.assertEqual(page.text(32), f" {right} / {len(quiz['question'])}")
                self.assertEqual(page.text(30), codes[right - 1] if right <= len(codes) else "")
                checks_after_question(right)

    def assert_all_right(self, page, quiz):
        """Every box holds its right answer, judged "BRAVO", and the score is full."""
        for box, answer in boxes_of(quiz):
            self.assertEqual((page.value(box), page.verdict(box)), (answer, ("BRAVO", GREEN)), (page.name, box))
        self.assertEqual(page.text(32), f" {len(quiz['question'])} / {len(quiz['question'])}")
