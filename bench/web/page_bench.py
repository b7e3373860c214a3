"""Time from navigation until every answer box of a quiz page accepts typing,
in headless Chromium (the page marks "kelvo-ready" once its engine has
drawn and evaluated every box), and the page's size.
    /usr/bin/python3 page_bench.py RUNS ENGINE.js NAME=PAGE.html [LIMIT_MS] ...
"""
import pathlib
import statistics
import sys

from selenium import webdriver
from selenium.webdriver.support.ui import WebDriverWait


def ready_ms(driver, page):
    driver.get("about:blank")
    driver.get(page.as_uri())
    WebDriverWait(driver, 30).until(lambda d: d.execute_script("return document.documentElement.dataset.ready"))
    return driver.execute_script("return performance.getEntriesByName('kelvo-ready')[0].startTime")


def main():
    runs, engine = int(sys.argv[1]), pathlib.Path(sys.argv[2])
    script = engine.read_text()
    wasm = script.split('wasmBinaryFile="data:application/octet-stream;base64,', 1)[1].split('"', 1)[0]
    print(f"engine in the page: {len(script)} bytes ({len(script) // 1024} KB), of which WebAssembly "
          f"{len(wasm)} bytes as base64 ({len(wasm) * 3 // 4} bytes)")
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1200,900"):
        options.add_argument(argument)
    driver = webdriver.Chrome(options=options)
    status = 0
    print(f"{'page':<12} {'bytes':>10} {'KB':>7}  {'median ms':>9} {'fastest':>8} {'slowest':>8}  target")
    try:
        for argument in sys.argv[3:]:
            name, rest = argument.split("=", 1)
            path, _, limit = rest.partition(":")
            page = pathlib.Path(path)
            ready_ms(driver, page)  # the first load also warms the browser up
            times = [ready_ms(driver, page) for _ in range(runs)]
            median = statistics.median(times)
            verdict = ""
            if limit:
                met = median < float(limit)
                status |= 0 if met else 1
                verdict = f"under {limit} ms: {'met' if met else 'NOT met'}"
            size = page.stat().st_size
            print(f"{name:<12} {size:>10} {size // 1024:>7}  {median:>9.1f} {min(times):>8.1f} {max(times):>8.1f}  {verdict}")
    finally:
        driver.quit()
    limit_kb = 150
    print(f"engine under {limit_kb} KB in the page: {len(script) // 1024} KB: {'met' if len(script) < limit_kb * 1024 else 'NOT met'}")
    return status


if __name__ == "__main__":
    sys.exit(main())
