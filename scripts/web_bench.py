"""The page in each browser engine against the native command line, side by side: converting
the bench's 8 MB document, four programs run (a counted loop of 10^7 assignments, Fibonacci by
its two recursive calls, lists grown one append at a time, Euclid's recursion over many pairs),
the page's time to be ready and size on disk; and, in the page alone, a 5 MB document opened
(panes filled and checked) and the time a key typed in its program takes to be shown. Run by
scripts/web-bench.sh, with Debian's python (python3-selenium, python3-websockets)."""

import argparse
import os
import pathlib
import re
import statistics
import subprocess
import sys
import tempfile
import time

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[1]
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(SOURCE_DIR / "tests" / "web"))
import browsers  # noqa: E402
from browsers import as_uint8_array_script  # noqa: E402

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
PAGE_FILES = ("index.html", "page.css", "editor.js", "checker.js", "page.js",
              "tortuval-module.js")
# Keys typed in the 5 MB document's program: while typing, and right after a pause in the
# typing, when the page starts checking the edit.
KEYS_TYPED = 20
PAUSES_S = (0.49, 0.5, 0.51, 0.52, 0.55, 0.6, 0.7)

# Each key's time, from the browser's keydown to the frame after it: the key shown.
KEY_WATCH = """
window.keyTimes = [];
document.addEventListener("keydown", (event) => {
  const start = event.timeStamp;
  requestAnimationFrame(() => setTimeout(() => keyTimes.push(performance.now() - start), 0));
}, true);
"""


def best_native_ms(command):
    best = float("inf")
    for _ in range(TRIES):
        start = time.monotonic()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        best = min(best, (time.monotonic() - start) * 1000)
    return best


def page_conversion_ms(browser, document, native_program):
    browser.script(as_uint8_array_script("bytes", document.read_bytes())
                   + "window.benchDocument = bytes;")
    best = min(browser.script(
        f"return tortuvalPage.convertTimed('{document.name}', window.benchDocument);")
        for _ in range(TRIES))
    # The time counts only if the page made the same program.
    page_lines = browser.script(
        "return tortuvalPage.module.program().split(/\\r\\n/).length;")
    native_lines = len(native_program.read_bytes().split(b"\r\n"))
    if page_lines != native_lines:
        sys.exit(f"the page's program has {page_lines} lines, the native one {native_lines}")
    return best


def page_run_ms(browser, program, expected):
    best = float("inf")
    for _ in range(TRIES):
        outcome, elapsed, transcript = browser.script(
            as_uint8_array_script("bytes", program) + """
            return tortuvalPage.openBytes("bench.lgo", bytes).then(() => {
              const start = performance.now();
              return tortuvalPage.run({stepByStep: false}).then((end) =>
                  [end.state, performance.now() - start,
                   document.getElementById("transcript").textContent]);
            });
            """)
        if outcome != "Programme terminé." or transcript.strip() != expected:
            sys.exit(f"the page's run ended badly: {outcome}, {transcript!r}")
        best = min(best, elapsed)
    return best


def page_ready_ms(browser, page):
    times = []
    for _ in range(TRIES):
        browser.open("about:blank")
        browser.open_page(page)
        times.append(browser.script("return tortuvalPage.readyAtMs"))
    return times


def page_open_ms(browser, document, expected_summary):
    """The document opened as a file dropped on the page is: from the start to the frame that
    shows both panes filled and the check's summary."""
    best = float("inf")
    for _ in range(TRIES):
        browser.open_page(browser.page)  # a fresh page each time
        browser.script(as_uint8_array_script("bytes", document.read_bytes())
                       + "window.openedDocument = bytes;")
        elapsed, summary = browser.script(f"""
            const start = performance.now();
            return tortuvalPage.openBytes("{document.name}", window.openedDocument).then(() =>
              new Promise((shown) => requestAnimationFrame(() => setTimeout(shown, 0))))
              .then(() => [performance.now() - start,
                           document.getElementById("check-line").textContent]);""")
        if summary != expected_summary:
            sys.exit(f"{browser.name}: the page's check says {summary!r}, "
                     f"the command line's {expected_summary!r}")
        best = min(best, elapsed)
    return best


def typing_ms(browser):
    """Keys typed in the program opened last, one by one, then one right after each pause."""
    browser.script(KEY_WATCH)
    browser.click("#program .cm-line")
    for _ in range(KEYS_TYPED):
        browser.keys(None, "x")
        time.sleep(0.1)
    time.sleep(0.3)
    typing = browser.script("return keyTimes.splice(0);")
    for pause in PAUSES_S:
        browser.keys(None, "y")
        time.sleep(pause)
        browser.keys(None, "z")
        time.sleep(1.5)
    after_pause = browser.script("return keyTimes.splice(0);")[1::2]
    return typing, after_pause


def row(what, native_ms, page_ms, target):
    ratio = native_ms / page_ms
    verdict = "ok" if ratio >= target else "BELOW TARGET"
    print(f"{what:<34}{native_ms:>10.0f} ms{page_ms:>10.0f} ms{ratio:>9.2f}x"
          f"   target >= {target}x native: {verdict}")


def expected_summary(cli, document, work):
    """The page's check line for a document, from the command line's count of lines to review
    (it says nothing when there are none)."""
    said = subprocess.run([cli, str(document), "-o", str(work / "checked.lgo")], check=True,
                          capture_output=True, text=True).stderr
    found = re.search(r"(\d+) lignes? du programme", said)
    count = int(found[1]) if found else 0
    if count == 0:
        return "Programme vérifié : aucune remarque."
    return f"Programme vérifié : {count} ligne{'s' if count > 1 else ''} à revoir."


def verdict(ok, target):
    return f"target {target}: {'ok' if ok else 'MISSED'}"


def bench_engine(engine, page, work, document, runs, native_convert, big_document,
                 big_summary):
    browser = browsers.start(engine)
    browser.page = page
    try:
        browser.set_viewport(1280, 800)
        browser.open_page(page)
        page_convert = page_conversion_ms(browser, document, work / "out.lgo")
        page_runs = [page_run_ms(browser, program, expected) for _, program, expected, _ in runs]
        ready = page_ready_ms(browser, page)
        opened = page_open_ms(browser, big_document, big_summary)
        typing, after_pause = typing_ms(browser)
    finally:
        browser.quit()

    print(f"\n{engine} {browser.version} (load "
          f"{', '.join(f'{x:.2f}' for x in os.getloadavg())})")
    print(f"{'':<34}{'native':>13}{'page':>13}{'speed':>10}")
    row(f"convert {document.stat().st_size / 2**20:.1f} MB document (*)", native_convert,
        page_convert, 0.2)
    for (label, _, _, native_ms), page_ms in zip(runs, page_runs):
        row(label, native_ms, page_ms, 0.5)
    print(f"page ready after loading: best {min(ready):.0f} ms (each: "
          f"{', '.join(f'{t:.0f}' for t in ready)} ms)   {verdict(min(ready) < 1000, '< 1 s')}")
    big_mb = big_document.stat().st_size / 2**20
    print(f"{big_mb:.1f} MB document shown, both panes filled and checked: best {opened:.0f} ms"
          f"   {verdict(opened < 2000, '< 2 s')}")
    print(f"a key typed in its program, shown: median {statistics.median(typing):.0f} ms, "
          f"worst {max(typing):.0f} ms of {len(typing)}; right after a pause in the typing "
          f"(the check starts): worst {max(after_pause):.0f} ms of {len(after_pause)}   "
          f"{verdict(max(typing + after_pause) <= 50, '<= 50 ms')}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--tool", required=True)
    parser.add_argument("--engines", nargs="+", choices=browsers.ENGINES,
                        default=list(browsers.ENGINES))
    args = parser.parse_args()
    page = pathlib.Path(args.page)

    with tempfile.TemporaryDirectory(prefix="tortuval-web-bench-") as work:
        work = pathlib.Path(work)
        document = work / "bench-8.alg"
        subprocess.run([args.tool, "generate", "8", str(document)], check=True)
        native_convert = best_native_ms([args.cli, str(document), "-o", str(work / "out.lgo")])
        runs = []
        for label, program, expected in RUNS:
            path = work / "bench.lgo"
            path.write_bytes(program)
            if expected is None:  # what the native run prints is what the page must print
                expected = subprocess.run([args.cli, "--run", str(path)], check=True,
                                          capture_output=True, text=True).stdout.strip()
            runs.append((label, program, expected, best_native_ms([args.cli, "--run", str(path)])))

        big_document = work / "bench-5.alg"
        subprocess.run([args.tool, "generate", "5", str(big_document)], check=True)
        big_summary = expected_summary(args.cli, big_document, work)

        size = sum((page.parent / name).stat().st_size for name in PAGE_FILES)
        print(f"native: {args.cli}; page: {page}; best of {TRIES}")
        print(f"page size on disk ({' + '.join(PAGE_FILES)}): {size / 2**20:.2f} MB   "
              f"{verdict(size < 2 * 2**20, '< 2 MB')}")
        for engine in args.engines:
            bench_engine(engine, page, work, document, runs, native_convert, big_document,
                         big_summary)
    print("(*) both convert and check the program; native: the whole process, reading the "
          "file and writing the program; page: the C++ call alone.")


if __name__ == "__main__":
    main()
