"""Pictures of the page in headless Chromium, for the documentation: example 8 in its panes, and
example 7 stepped through its first segments (the strip, the variables, the drawing so far).
Run by scripts/web-screenshots.sh, with Debian's python (python3-selenium)."""

import argparse
import pathlib
import sys

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[1]
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(SOURCE_DIR / "tests" / "web"))
from chromium import open_page, start_chromium, wait_until  # noqa: E402

from selenium.webdriver.common.by import By  # noqa: E402

WIDTH, HEIGHT = 1280, 800
# Example 7 stepped, at the sizes of a school's screens and of a projector's.
STEPPED_SIZES = [(1024, 768), (1920, 1080)]
# Steps, one an algorithm line: enough for the curve to come into the frame (it starts below it).
STEPS = 100


def choose_example(driver, radio_value):
    driver.find_element(By.CSS_SELECTOR, f"input[name=example][value='{radio_value}']").click()
    wait_until(driver, lambda d: d.execute_script(
        "return document.querySelector('input[name=example]:checked')?.value") == str(radio_value))


def run_phase(driver):
    return driver.execute_script("return tortuvalPage.runView().phase;")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--out", required=True, help="the folder the pictures go to")
    args = parser.parse_args()
    out = pathlib.Path(args.out)
    out.mkdir(parents=True, exist_ok=True)

    def save(driver, name):
        # The driver says false, without raising, when it could not write the picture.
        if not driver.save_screenshot(str(out / name)):
            sys.exit(f"Image non enregistrée : {out / name}")
        print(f"Image enregistrée : {out / name}")

    def sized(width, height):
        driver = start_chromium(width, height)
        # The picture is the page's own area, whatever room the browser keeps for itself.
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
        open_page(driver, args.page)
        return driver

    driver = sized(WIDTH, HEIGHT)
    try:
        choose_example(driver, 7)  # example 8, Euclid
        driver.execute_script("document.activeElement.blur();")
        save(driver, "page-exemple-8.png")
    finally:
        driver.quit()

    for width, height in STEPPED_SIZES:
        driver = sized(width, height)
        try:
            choose_example(driver, 6)  # example 7, the curve
            driver.find_element(By.ID, "run-step").click()
            wait_until(driver, lambda d: run_phase(d) == "stepping")
            for _ in range(STEPS):
                version = driver.execute_script("return tortuvalPage.runView().variablesVersion;")
                driver.find_element(By.ID, "step").click()
                wait_until(driver, lambda d: d.execute_script(
                    "const view = tortuvalPage.runView();"
                    "return view.phase === 'stepping' && view.variablesVersion !== arguments[0]"
                    " && document.getElementById('run-state').textContent === view.state;",
                    version))
            save(driver, f"page-pas-a-pas-{width}x{height}.png")
        finally:
            driver.quit()


if __name__ == "__main__":
    main()
