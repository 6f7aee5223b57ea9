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
# Enough for the curve to come into the frame (it starts below it).
STEPS = 120


def choose_example(driver, radio_value):
    driver.find_element(By.CSS_SELECTOR, f"input[name=example][value='{radio_value}']").click()
    wait_until(driver, lambda d: d.execute_script(
        "return document.querySelector('input[name=example]:checked')?.value") == str(radio_value))


def run_state(driver):
    return driver.find_element(By.ID, "run-state").text


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--out", required=True, help="the folder the pictures go to")
    args = parser.parse_args()
    out = pathlib.Path(args.out)
    out.mkdir(parents=True, exist_ok=True)

    def save(name):
        # The driver says false, without raising, when it could not write the picture.
        if not driver.save_screenshot(str(out / name)):
            sys.exit(f"Image non enregistrée : {out / name}")
        print(f"Image enregistrée : {out / name}")

    driver = start_chromium(WIDTH, HEIGHT)
    try:
        # The picture is the page's own area, whatever room the browser keeps for itself.
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": WIDTH, "height": HEIGHT, "deviceScaleFactor": 1, "mobile": False})
        open_page(driver, args.page)
        choose_example(driver, 7)  # example 8, Euclid
        driver.execute_script("document.activeElement.blur();")
        save("page-exemple-8.png")

        choose_example(driver, 6)  # example 7, the curve
        driver.find_element(By.ID, "run-step").click()
        stopped = lambda d: run_state(d).startswith("Pas à pas")  # noqa: E731
        wait_until(driver, stopped)
        for _ in range(STEPS):
            driver.find_element(By.ID, "step").click()
            # A step is over when the state is shown again: wait for its line to change.
            before = run_state(driver)
            wait_until(driver, lambda d: stopped(d) and run_state(d) != before or
                       d.find_element(By.ID, "continue").is_enabled())
        save("page-pas-a-pas.png")
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
