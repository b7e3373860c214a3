"""The studio's figures, in headless Chromium from file:// (Debian's
/usr/bin/python3 and its Selenium): the page's size, the time until the
form can be typed into and until the engine has checked it, a text quiz
saved, and the 96-photo quiz of scripts/bench-pictures opened as a folder,
its pictures prepared (with the progress shown) and saved, compared with
what kelvopack builds from the same folder with the studio's player; then
that work opened again (a reload: the work and its prepared pictures come
back from IndexedDB) and saved again.

  studio_bench.py STUDIO.html PHOTOS_FOLDER PLAYER KELVOPACK [RUNS]
"""
import subprocess
import pathlib
import shutil
import statistics
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

ROOT = pathlib.Path(__file__).resolve().parents[2]


def browser(downloads):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--window-size=1200,900", "--disable-gpu"):
        options.add_argument(argument)
    driver = webdriver.Chrome(options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": str(downloads)})
    return driver


def mark(driver, name):
    return driver.execute_script(f"return document.documentElement.dataset.{name} || null")


def wait(driver, script, timeout=300):
    WebDriverWait(driver, timeout, poll_frequency=0.02).until(lambda d: d.execute_script(script))


def fresh(driver, page):
    driver.get(page.as_uri())
    driver.execute_script("indexedDB.deleteDatabase('kelvo-studio')")
    driver.refresh()
    wait(driver, "return document.documentElement.dataset.ready")


def open_folder(driver, folder):
    driver.find_element(By.ID, "open-folder").send_keys(str(folder))
    wait(driver, "return document.getElementById('status').textContent.includes('ouvert')")


def save(driver, button, downloads=None):
    """The engine's time for one save (data-save-ms); with `downloads`, also the file."""
    driver.execute_script("delete document.documentElement.dataset.saved")
    driver.find_element(By.ID, button).click()
    wait(driver, "return document.documentElement.dataset.saved || null")
    if downloads is None:
        return int(mark(driver, "saveMs"))
    target = downloads / mark(driver, "saved")
    WebDriverWait(driver, 60, 0.1).until(lambda d: target.exists() and not list(downloads.glob("*.crdownload")))
    return int(mark(driver, "saveMs")), target.read_bytes()


def photo_quiz(photos, folder):
    """The 96-photo quiz of scripts/bench-photos (photo n, revealing photo n + 1), in a folder of its own."""
    folder.mkdir(parents=True, exist_ok=True)
    for file in sorted(photos.glob("photo*.jpg")) + [photos / "pictures96.toml"]:
        shutil.copy(file, folder)
    return folder


def main(page, photos, player, kelvopack, runs=5):
    page, photos = pathlib.Path(page).resolve(), pathlib.Path(photos).resolve()
    work = pathlib.Path(tempfile.mkdtemp(prefix="kelvo-studio-bench-"))
    downloads = work / "downloads"
    downloads.mkdir()
    driver = browser(downloads)
    exe = "save-exe"
    try:
        size = page.stat().st_size
        print(f"== The page: {size / 1048576:.2f} MB ({size} bytes), player and engines inside")
        drawn, ready = [], []
        for _ in range(runs):
            fresh(driver, page)
            drawn.append(int(mark(driver, "drawnAt")))
            ready.append(int(mark(driver, "readyAt")))
        print(f"== Opening, median of {runs}: form drawn (ready to type) {statistics.median(drawn)} ms, "
              f"engine started and the form checked {statistics.median(ready)} ms")

        fresh(driver, page)
        open_folder(driver, ROOT / "examples" / "capitales")
        wait(driver, "return !document.documentElement.dataset.busy")
        timings = {}
        for button in ("save-html", exe, "save-zip"):
            try:
                timings[button] = statistics.median(save(driver, button) for _ in range(runs))
            except Exception:
                timings[button] = None
        print(f"== Text quiz (capitales) saved, median of {runs}: " +
              ", ".join(f"{b[5:]} {t} ms" if t is not None else f"{b[5:]} not written" for b, t in timings.items()))

        folder = photo_quiz(photos, work / "pictures96")
        fresh(driver, page)
        began = time.monotonic()
        open_folder(driver, folder)
        opened = time.monotonic() - began
        seen = set()
        while driver.execute_script("return !!document.documentElement.dataset.busy"):
            seen.add(driver.execute_script("return document.getElementById('progress-line').hidden ? '' : "
                                           "document.getElementById('progress-text').textContent"))
            time.sleep(0.2)
        prepared = time.monotonic() - began
        valid = mark(driver, "valid") == "1"
        saved = {}
        for button in (exe, "save-html"):
            saved[button] = save(driver, button, downloads)[0] / 1000
        total = time.monotonic() - began
        built = work / "pictures96-kelvopack.exe"
        subprocess.run([kelvopack, "build", folder / "pictures96.toml", "-o", built, "--player", player], check=True,
                       capture_output=True)
        same = (downloads / "pictures96.exe").read_bytes() == built.read_bytes()
        shown = sorted(s for s in seen if s)

        wait(driver, "return document.documentElement.dataset.kept === '1'")
        for old in downloads.iterdir():
            old.unlink()
        began = time.monotonic()
        driver.refresh()
        wait(driver, "return document.documentElement.dataset.ready && !document.documentElement.dataset.busy")
        reopened, ready_at = time.monotonic() - began, int(mark(driver, "readyAt"))
        prepared_again = mark(driver, "picturesPrepared")
        resaved = save(driver, exe, downloads)[1] == built.read_bytes()
        print(f"== 96 photos ({sum(p.stat().st_size for p in folder.glob('*.jpg')) / 1048576:.0f} MB) opened as a folder: "
              f"read {opened:.1f} s, prepared {prepared:.1f} s (valid: {valid}), saved " +
              ", ".join(f"{b[5:]} {t:.1f} s" for b, t in saved.items()) +
              f"; all {total:.1f} s")
        print(f"   the .exe {'is' if same else 'is NOT'} byte for byte what kelvopack builds from that folder")
        print(f"   progress shown {len(shown)} times, e.g. {shown[:1] + shown[-1:]}; "
              f"{driver.find_element(By.ID, 'pictures-summary').text}")
        print(f"== Opened again (reload): ready and checked in {reopened:.1f} s (the page's mark: {ready_at} ms), "
              f"{prepared_again} pictures prepared again; the .exe saved again {'is' if resaved else 'is NOT'} kelvopack's")
        print("== Targets")
        print(f"page under 2 MB: {size / 1048576:.2f} MB: {'met' if size < 2 * 1048576 else 'NOT met'}")
        print(f"ready to type under 1 s: {statistics.median(drawn)} ms: {'met' if statistics.median(drawn) < 1000 else 'NOT met'}")
        best = timings.get(exe) or timings["save-html"]
        print(f"text quiz saved under 100 ms: {best} ms: {'met' if best is not None and best < 100 else 'NOT met'}")
        print(f"96 photos prepared and saved under 90 s: {total:.1f} s: {'met' if total < 90 and valid else 'NOT met'}")
    finally:
        driver.quit()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(*sys.argv[1:5], *(int(a) for a in sys.argv[5:]))
