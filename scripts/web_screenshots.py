"""Pictures of the page for the documentation, in each browser engine (tests/web/browsers.py):
example 7 stepped through its first segments (the strip, the variables, the drawing so far) at
1024 x 768 in every engine, and in Chromium at a projector's other sizes (1366 x 768, 1920 x 1080)
and at 1024 x 768 zoomed to 150 % (a window of 683 x 512); example 8 in its panes, in LOGO and
in Python, in Chromium.
Run by scripts/web-screenshots.sh, with Debian's python (python3-selenium,
python3-websockets)."""

import argparse
import pathlib
import sys

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[1]
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(SOURCE_DIR / "tests" / "web"))
import browsers  # noqa: E402

CURVE = 6   # the radio of example 7
EUCLID = 7  # the radio of example 8
# Steps, one an algorithm line: enough for the curve to come into the frame (it starts below it).
STEPS = 100
# Example 7 stepped, beside 1024 x 768 in every engine: (picture, viewport) in Chromium.
CHROMIUM_ONLY = [("page-1366x768-chromium.png", (1366, 768)),
                 ("page-1920x1080-chromium.png", (1920, 1080)),
                 ("page-1024x768-150pct.png", (683, 512))]


def choose_example(browser, radio_value):
    browser.click(f"input[name=example][value='{radio_value}']")
    browser.wait(lambda: browser.script(
        "return document.querySelector('input[name=example]:checked')?.value")
        == str(radio_value), "the example's radio")


def step_the_curve(browser):
    choose_example(browser, CURVE)
    browser.click("#run-step")
    browser.wait(lambda: browser.script("return tortuvalPage.runView().phase;") == "stepping",
                 "the stepped run")
    for _ in range(STEPS):
        version = browser.script("return tortuvalPage.runView().variablesVersion;")
        browser.click("#step")
        # Taken, and drawn: the state line shows the model's.
        browser.wait(lambda: browser.script(
            "const view = tortuvalPage.runView();"
            "return view.phase === 'stepping' && view.variablesVersion !== arguments[0]"
            " && document.getElementById('run-state').textContent === view.state;", version),
            "the step taken")


def show_euclid_in_python(browser):
    choose_example(browser, EUCLID)
    browser.click("input[name=language][value='python']")
    browser.wait(lambda: browser.script(
        "return document.querySelector('#python .cm-content')?.textContent.includes('while')"),
        "the Python program")
    browser.script("document.querySelector('#python .cm-scroller').scrollTop = 1e6;")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--out", required=True, help="the folder the pictures go to")
    parser.add_argument("--engine", choices=browsers.ENGINES, action="append",
                        help="an engine to take pictures in (repeatable; default: all three)")
    args = parser.parse_args()
    out = pathlib.Path(args.out)
    out.mkdir(parents=True, exist_ok=True)

    def take(browser, name, size, action):
        browser.open_page(args.page)
        browser.set_viewport(*size)
        action(browser)
        browser.script("document.activeElement?.blur();")  # no focus ring in the picture
        browser.screenshot(out / name)
        print(f"Image enregistrée : {out / name}")

    for engine in args.engine or browsers.ENGINES:
        browser = browsers.start(engine)
        try:
            take(browser, f"page-1024x768-{engine}.png", (1024, 768), step_the_curve)
            if engine == "chromium":
                for name, size in CHROMIUM_ONLY:
                    take(browser, name, size, step_the_curve)
                take(browser, "page-exemple-8.png", (1280, 800),
                     lambda browser: choose_example(browser, EUCLID))
                take(browser, "page-exemple-8-python.png", (1280, 800), show_euclid_in_python)
        finally:
            browser.quit()


if __name__ == "__main__":
    main()
