"""A quiz's SCORM package against its page: the sizes, and the time until
every answer box accepts typing, in headless Chromium over loopback HTTP:
the page opened by itself, the page in the frame of the host page
(tests/web/scorm_host.html) without a run-time, and in that frame inside a
learning platform (the host with scorm-again). Each time runs from the
page's own navigation (the frame's, in a frame) to its "kelvo-ready" mark,
so inside the platform the run-time's finding, initialising, reading and
the first report and commit are counted. The target compares the two
framed loads, which differ by the platform alone; loads alternate, median
of RUNS after one warm-up of each.
    /usr/bin/python3 scorm_bench.py RUNS SITE NAME=PAGE.html:PACKAGE.zip[:VERSION] ...
SITE holds host.html, scorm12.min.js and scorm2004.min.js; each package is
unpacked into it.
"""
import functools
import http.server
import pathlib
import statistics
import sys
import threading
import zipfile

from selenium import webdriver
from selenium.webdriver.support.ui import WebDriverWait

LIMIT = 1.2


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


def ready(driver):
    WebDriverWait(driver, 30).until(lambda d: d.execute_script("return document.documentElement.dataset.ready"))
    return driver.execute_script("return performance.getEntriesByName('kelvo-ready')[0].startTime")


def alone_ms(driver, base, url):
    # From a page of the same site, as the platform's frame is: no new process.
    driver.switch_to.default_content()
    driver.get(base + "blank.html")
    driver.get(base + url)
    return ready(driver)


def framed_ms(driver, base, version, page):
    """In the host's frame; inside the platform when `version` is given."""
    driver.switch_to.default_content()
    driver.get(base + "blank.html")
    driver.get(base + "host.html")
    if version:
        driver.execute_script("localStorage.clear(); startSession(arguments[0], null, arguments[1])", version, page)
    else:
        driver.execute_script("localStorage.clear(); document.getElementById('content').src = arguments[0]", page)
    driver.switch_to.frame("content")
    return ready(driver)


def main():
    runs, site = int(sys.argv[1]), pathlib.Path(sys.argv[2])
    (site / "blank.html").write_text("<!DOCTYPE html><title>-</title>", encoding="utf-8")
    (site / "favicon.ico").write_bytes(b"")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=str(site)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_port}/"
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1200,900"):
        options.add_argument(argument)
    driver = webdriver.Chrome(options=options)
    status = 0
    print(f"{'package':<14} {'page bytes':>11} {'zip bytes':>10} {'zip/page':>8}  {'alone ms':>8} {'framed ms':>9}"
          f" {'platform ms':>11} {'ratio':>6}  target")
    try:
        for argument in sys.argv[3:]:
            name, rest = argument.split("=", 1)
            page, package, *version = rest.split(":")
            version = int(version[0]) if version else 12
            with zipfile.ZipFile(package) as archive:
                archive.extractall(site / name)
            url = f"{name}/{pathlib.Path(page).name}"
            times = {"alone": [], "framed": [], "platform": []}
            measures = {"alone": lambda: alone_ms(driver, base, url), "framed": lambda: framed_ms(driver, base, None, url),
                        "platform": lambda: framed_ms(driver, base, version, url)}
            for measure in measures.values():
                measure()
            for _ in range(runs):
                for key, measure in measures.items():
                    times[key].append(measure())
            median = {key: statistics.median(values) for key, values in times.items()}
            ratio = median["platform"] / median["framed"]
            status |= 0 if ratio <= LIMIT else 1
            page_size, package_size = pathlib.Path(page).stat().st_size, pathlib.Path(package).stat().st_size
            print(f"{name:<14} {page_size:>11} {package_size:>10} {package_size / page_size:>8.2f}  "
                  f"{median['alone']:>8.1f} {median['framed']:>9.1f} {median['platform']:>11.1f} {ratio:>6.2f}  "
                  f"at most {LIMIT} x: {'met' if ratio <= LIMIT else 'NOT met'}")
    finally:
        driver.quit()
        server.shutdown()
    return status


if __name__ == "__main__":
    sys.exit(main())
