"""Headless Chromium opened on the page: shared by the browser tests and the page's scripts
(measurements, screenshots). Uses Debian's chromium, chromedriver and python3-selenium."""

import base64
import pathlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# Generous: the machine is shared, and a slow wait costs nothing when the page is quick.
WAIT_SECONDS = 30


def start_chromium(width=1280, height=900, download_dir=None):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    # No flag that loosens file:// rules: the page must open as a double click opens it.
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-dev-shm-usage", f"--window-size={width},{height}"):
        options.add_argument(argument)
    if download_dir is not None:
        options.add_experimental_option("prefs", {
            "download.default_directory": str(download_dir),
            "download.prompt_for_download": False,
            "download.directory_upgrade": True,
            "safebrowsing.enabled": False,
        })
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.set_script_timeout(WAIT_SECONDS * 4)
    return driver


def page_url(page_path):
    return pathlib.Path(page_path).resolve().as_uri()


def wait_until(driver, condition, seconds=WAIT_SECONDS, message=""):
    return WebDriverWait(driver, seconds, poll_frequency=0.02).until(condition, message)


def open_page(driver, page_path):
    driver.get(page_url(page_path))
    wait_until(driver, lambda d: d.execute_script("return document.body.dataset.ready") == "yes",
               message="the page never became ready")


def as_uint8_array_script(variable, data):
    """JavaScript that defines `variable` as a Uint8Array holding `data` (bytes)."""
    encoded = base64.b64encode(data).decode("ascii")
    return (f"const {variable} = Uint8Array.from(atob('{encoded}'), (c) => c.charCodeAt(0));")
