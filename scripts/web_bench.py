"""The page in headless Chromium against the native command line, side by side: converting the
bench's 8 MB document, four programs run (a counted loop of 10^7 assignments, Fibonacci by its
two recursive calls, lists grown one append at a time, Euclid's recursion over many pairs), and
the page's time to be ready and size on disk. Run by scripts/web-bench.sh, with Debian's python
(python3-selenium)."""

import argparse
import os
import pathlib
import subprocess
import sys
import tempfile
import time

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[1]
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(SOURCE_DIR / "tests" / "web"))
from chromium import (as_uint8_array_script, open_page, page_url, start_chromium,  # noqa: E402
                      wait_until)

TRIES = 3
# Each run: its row's label, the program, what it prints. Sized to take native runs past 100 ms,
# so that the process's start counts little.
RUNS = (
    ("counted loop, 10^7 assignments",
     b'soit "x 0\r\nREPETE 10000000 [ soit "x :x + 1 ]\r\nECRIS :x\r\n', "10000000"),
    ("Fibonacci 32, 7 million calls",
     b'POUR fib :n\r\nsi :n < 2 [ rends :n ]\r\nrends ( fib :n - 1 ) + ( fib :n - 2 )\r\n'
     b'FIN\r\nECRIS fib 32\r\n', "2178309"),
    ("100 lists of 20,000 appends",
     b'REPETE 100 [ DEFINIS "L LISTE REPETE 20000 [ SOIT "L PH :L boucle ] ]\r\n'
     b'ECRIS card :L\r\n', "20000"),
    ("GCD of 360,000 pairs, recursive",
     b'POUR pgcd :a :b\r\nsi :b = 0 [ rends :a ]\r\nrends pgcd :b :a % :b\r\nFIN\r\n'
     b'soit "s 0\r\nsoit "i 1\r\nREPETE 600 [ soit "j 1 REPETE 600 [ soit "s :s + pgcd :i :j '
     b'soit "j :j + 1 ] soit "i :i + 1 ]\r\nECRIS :s\r\n', None),
)
PAGE_FILES = ("index.html", "page.css", "page.js", "tortuval-module.js")

# Records, from the document's first script on, when the page says it is ready.
READY_WATCH = """
new MutationObserver((changes, watch) => {
  if (document.body && document.body.dataset.ready === "yes") {
    window.readyAtMs = performance.now();
    watch.disconnect();
  }
}).observe(document, {subtree: true, attributes: true, attributeFilter: ["data-ready"]});
"""


def best_native_ms(command):
    best = float("inf")
    for _ in range(TRIES):
        start = time.monotonic()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        best = min(best, (time.monotonic() - start) * 1000)
    return best


def page_conversion_ms(driver, document, native_program):
    driver.execute_script(as_uint8_array_script("bytes", document.read_bytes())
                          + "window.benchDocument = bytes;")
    best = min(driver.execute_script(
        f"return tortuvalPage.convertTimed('{document.name}', window.benchDocument);")
        for _ in range(TRIES))
    # The time counts only if the page made the same program.
    page_lines = driver.execute_script(
        "return tortuvalPage.module.program().split(/\\r\\n/).length;")
    native_lines = len(native_program.read_bytes().split(b"\r\n"))
    if page_lines != native_lines:
        sys.exit(f"the page's program has {page_lines} lines, the native one {native_lines}")
    return best


def page_run_ms(driver, program, expected):
    best = float("inf")
    for _ in range(TRIES):
        outcome, elapsed, transcript = driver.execute_async_script(
            as_uint8_array_script("bytes", program) + """
            const done = arguments[arguments.length - 1];
            tortuvalPage.openBytes("bench.lgo", bytes).then(() => {
              const start = performance.now();
              tortuvalPage.run({stepByStep: false}).then((end) => done(
                  [end.state, performance.now() - start,
                   document.getElementById("transcript").textContent]));
            });
            """)
        if outcome != "Programme terminé." or transcript.strip() != expected:
            sys.exit(f"the page's run ended badly: {outcome}, {transcript!r}")
        best = min(best, elapsed)
    return best


def page_ready_ms(driver, page):
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": READY_WATCH})
    times = []
    for _ in range(TRIES):
        driver.get("about:blank")
        driver.get(page_url(page))
        wait_until(driver, lambda d: d.execute_script("return window.readyAtMs") is not None)
        times.append(driver.execute_script("return window.readyAtMs"))
    return times


def row(what, native_ms, page_ms, target):
    ratio = native_ms / page_ms
    verdict = "ok" if ratio >= target else "BELOW TARGET"
    print(f"{what:<34}{native_ms:>10.0f} ms{page_ms:>10.0f} ms{ratio:>9.2f}x"
          f"   target >= {target}x native: {verdict}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--tool", required=True)
    args = parser.parse_args()
    page = pathlib.Path(args.page)

    with tempfile.TemporaryDirectory(prefix="tortuval-web-bench-") as work:
        work = pathlib.Path(work)
        document = work / "bench-8.alg"
        subprocess.run([args.tool, "generate", "8", str(document)], check=True)
        document_mb = document.stat().st_size / 2**20
        native_convert = best_native_ms([args.cli, str(document), "-o", str(work / "out.lgo")])
        runs = []
        for label, program, expected in RUNS:
            path = work / "bench.lgo"
            path.write_bytes(program)
            if expected is None:  # what the native run prints is what the page must print
                expected = subprocess.run([args.cli, "--run", str(path)], check=True,
                                          capture_output=True, text=True).stdout.strip()
            runs.append((label, program, expected, best_native_ms([args.cli, "--run", str(path)])))

        driver = start_chromium()
        try:
            open_page(driver, page)
            page_convert = page_conversion_ms(driver, document, work / "out.lgo")
            page_runs = [page_run_ms(driver, program, expected)
                         for _, program, expected, _ in runs]
            ready = page_ready_ms(driver, page)
            version = driver.capabilities.get("browserVersion", "?")
        finally:
            driver.quit()

    size = sum((page.parent / name).stat().st_size for name in PAGE_FILES)
    print(f"native: {args.cli}; page: {page} in headless Chromium {version}; "
          f"best of {TRIES}; load {', '.join(f'{x:.2f}' for x in os.getloadavg())}")
    print(f"{'':<34}{'native':>13}{'page':>13}{'speed':>10}")
    row(f"convert {document_mb:.1f} MB document (*)", native_convert,
        page_convert, 0.2)
    for (label, _, _, native_ms), page_ms in zip(runs, page_runs):
        row(label, native_ms, page_ms, 0.5)
    print(f"page ready after loading: best {min(ready):.0f} ms (each: "
          f"{', '.join(f'{t:.0f}' for t in ready)} ms)   target < 1000 ms: "
          f"{'ok' if min(ready) < 1000 else 'ABOVE TARGET'}")
    print(f"page size on disk ({' + '.join(PAGE_FILES)}): {size / 2**20:.2f} MB   "
          f"target < 2 MB: {'ok' if size < 2 * 2**20 else 'ABOVE TARGET'}")
    print("(*) both convert and check the program; native: the whole process, reading the "
          "file and writing the program; page: the C++ call alone.")


if __name__ == "__main__":
    main()
