"""The page opened in a browser engine, driven as a user drives it: Chromium (Debian's chromium and
chromedriver) and WebKitGTK (webkit2gtk-driver's MiniBrowser, under Xvfb) through selenium, and
Firefox ESR through its own WebDriver BiDi endpoint, by firefox_bidi.py. Shared by the page's
tests and the page's scripts (measurements, screenshots).

Each engine runs on a fresh profile that keeps it off every outside service: the page is opened
from file://, with the engine's default rules for such a page, as a double click opens it."""

import base64
import os
import pathlib
import subprocess
import tempfile
import time
import warnings

ENGINES = ("chromium", "firefox", "webkit")
# Generous: the machine is shared, and a slow wait costs nothing when the page is quick.
WAIT_SECONDS = 30

# WebDriver's codes for the keys that are not characters.
BACKSPACE = "\ue003"
ENTER = "\ue007"
ESCAPE = "\ue00c"
CONTROL = "\ue009"
END = "\ue010"
HOME = "\ue011"


class Browser:
    """What the tests and scripts need of a browser, the same in every engine. Scripts are
    function bodies: `arguments[i]` are the arguments given, `return` gives the result (a
    promise returned is waited for)."""

    name = "?"
    version = "?"

    def __init__(self, download_dir):
        self.download_dir = download_dir

    # ---- Each engine's own.

    def open(self, url):
        raise NotImplementedError

    def script(self, body, *arguments):
        raise NotImplementedError

    def _pointer_click(self, x, y):
        raise NotImplementedError

    def _key_actions(self, actions):
        """actions: [("down" | "up", key), ...] sent through the browser's input."""
        raise NotImplementedError

    def set_files(self, selector, path):
        raise NotImplementedError

    def _resize_window(self, width, height):
        raise NotImplementedError

    def screenshot_png(self):
        raise NotImplementedError

    def quit(self):
        raise NotImplementedError

    # ---- The same everywhere.

    def click(self, selector):
        """A click through the browser's input at the element's centre, as a user's."""
        x, y = self.script(
            "const element = document.querySelector(arguments[0]);"
            "element.scrollIntoView({block: 'nearest', inline: 'nearest'});"
            "const box = element.getBoundingClientRect();"
            "return [Math.floor(box.x + box.width / 2), Math.floor(box.y + box.height / 2)];",
            selector)
        self._pointer_click(x, y)

    def keys(self, selector, *parts):
        """Focuses the element (none: the page keeps its focus) and types each part: a string
        key after key, a tuple of keys held together (a chord such as (CONTROL, END)). A line
        break is typed as Entrée: WebKit's driver does not take "\\n" for it."""
        if selector is not None:
            # The body takes no focus: keys for the page as a whole go to it once nothing has it.
            self.script("const element = document.querySelector(arguments[0]);"
                        "if (element === document.body) document.activeElement?.blur();"
                        "else element.focus();", selector)
        actions = []
        for part in parts:
            if isinstance(part, tuple):
                actions += [("down", key) for key in part]
                actions += [("up", key) for key in reversed(part)]
            else:
                for key in part.replace("\n", ENTER):
                    actions += [("down", key), ("up", key)]
        self._key_actions(actions)

    def choose(self, selector, text=None, index=None):
        """A choice in a <select>, as the page sees it: the value set and "change" sent. A native
        list's pop-up is drawn by the engine outside the page, and no driver opens it alike."""
        self.script(
            "const select = document.querySelector(arguments[0]);"
            "const index = arguments[1] !== null ? arguments[1] :"
            " [...select.options].findIndex((option) => option.text === arguments[2]);"
            "if (index < 0) throw new Error('no option ' + arguments[2]);"
            "select.selectedIndex = index;"
            "select.dispatchEvent(new Event('input', {bubbles: true}));"
            "select.dispatchEvent(new Event('change', {bubbles: true}));",
            selector, index, text)

    def set_viewport(self, width, height):
        """Sizes the window so that the page gets width × height: WebKit's window keeps a
        toolbar (and, after a download, a bar for a while) inside its size, and settles to a new
        size some time after it is asked for it."""
        wanted = [width, height]
        asked = list(wanted)
        for _ in range(8):
            self._resize_window(*asked)
            inner = self._settled_viewport()
            if inner == wanted:
                return
            asked = [asked[0] + width - inner[0], asked[1] + height - inner[1]]
        raise RuntimeError(f"{self.name}: viewport {inner}, wanted {width} × {height}")

    def _settled_viewport(self):
        """The page's size once two readings a tenth of a second apart agree."""
        last = None
        for _ in range(30):
            inner = self.script("return [window.innerWidth, window.innerHeight];")
            if inner == last:
                return inner
            last = inner
            time.sleep(0.1)
        return last

    def screenshot(self, path):
        pathlib.Path(path).write_bytes(self.screenshot_png())

    def open_page(self, page_path):
        self.open(page_url(page_path))
        self.wait(lambda: self.script("return document.body.dataset.ready") == "yes",
                  "the page never became ready")

    def wait(self, condition, message="", seconds=WAIT_SECONDS):
        deadline = time.monotonic() + seconds
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise TimeoutError(f"{self.name}: {message}")
            time.sleep(0.02)


class SeleniumBrowser(Browser):
    def __init__(self, driver, download_dir):
        super().__init__(download_dir)
        self.driver = driver
        self.version = driver.capabilities.get("browserVersion", "?")
        driver.set_script_timeout(WAIT_SECONDS * 4)

    def open(self, url):
        self.driver.get(url)

    def script(self, body, *arguments):
        return self.driver.execute_script(body, *arguments)

    def _pointer_click(self, x, y):
        from selenium.webdriver.common.actions.action_builder import ActionBuilder
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(x, y).pointer_down().pointer_up()
        actions.perform()

    def _key_actions(self, key_actions):
        from selenium.webdriver.common.actions.action_builder import ActionBuilder
        actions = ActionBuilder(self.driver)
        for direction, key in key_actions:
            if direction == "down":
                actions.key_action.key_down(key)
            else:
                actions.key_action.key_up(key)
        actions.perform()

    def set_files(self, selector, path):
        from selenium.webdriver.common.by import By
        self.driver.find_element(By.CSS_SELECTOR, selector).send_keys(str(path))

    def _resize_window(self, width, height):
        self.driver.set_window_size(width, height)

    def screenshot_png(self):
        return self.driver.get_screenshot_as_png()

    def quit(self):
        self.driver.quit()


def start_chromium(download_dir):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    # Off every outside service: no background fetches, no component or safe-browsing updates,
    # and every host name but the machine's own resolves to nothing.
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--no-first-run", "--no-default-browser-check",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--disable-domain-reliability",
                     "--disable-client-side-phishing-detection",
                     "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
                     "--window-size=1280,900"):
        options.add_argument(argument)
    options.add_experimental_option("prefs", {
        "download.default_directory": str(download_dir),
        "download.prompt_for_download": False,
        "download.directory_upgrade": True,
        # On: the download of a file type Chromium deems dangerous (a .py) goes through without
        # a question only then. Its lists are never fetched: no outside host resolves.
        "safebrowsing.enabled": True,
    })
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    return SeleniumBrowser(driver, download_dir)


MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


def start_display():
    """A virtual display of its own (Xvfb), for a browser that needs one: (its process, its
    DISPLAY). Xvfb picks a free display number and says which."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1200x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as said:
        number = said.readline().strip()
    if not number:
        process.kill()
        raise RuntimeError(f"Xvfb did not start (exit {process.wait()})")
    return process, f":{number}"


def start_webkit(download_dir, profile_dir):
    """MiniBrowser in automation mode, on a virtual display of its own. It saves a download
    without asking into the user's download folder, which a configuration folder of its own
    points at the test's folder."""
    from selenium import webdriver
    from selenium.webdriver.webkitgtk.service import Service
    config = pathlib.Path(profile_dir) / "config"
    config.mkdir(parents=True, exist_ok=True)
    (pathlib.Path(profile_dir) / "cache").mkdir(exist_ok=True)
    (config / "user-dirs.dirs").write_text(f'XDG_DOWNLOAD_DIR="{download_dir}"\n')
    display, display_name = start_display()
    environment = dict(os.environ, DISPLAY=display_name, XDG_CONFIG_HOME=str(config),
                       XDG_CACHE_HOME=str(pathlib.Path(profile_dir) / "cache"),
                       XDG_DATA_HOME=str(pathlib.Path(profile_dir) / "data"),
                       # No proxy to look up, no outside host to reach.
                       no_proxy="*", GIO_USE_PROXY_RESOLVER="dummy")
    # Selenium's WebKitGTK options still name the platform the old way, and warn of it.
    warnings.filterwarnings("ignore", message="platform is not a w3c capability")
    options = webdriver.WebKitGTKOptions()
    options.binary_location = MINIBROWSER
    options.add_argument("--automation")
    # The driver started here, with the environment above; selenium's WebKitGTK class would
    # start it with the test's own.
    service = Service(executable_path="/usr/bin/WebKitWebDriver", env=environment)
    try:
        service.start()
        driver = webdriver.Remote(command_executor=service.service_url, options=options)
    except BaseException:
        service.stop()
        display.kill()
        raise
    # The driver runs here: a file is given by its path, not uploaded as to a remote one.
    from selenium.webdriver.remote.file_detector import UselessFileDetector
    driver.file_detector = UselessFileDetector()
    browser = SeleniumBrowser(driver, download_dir)
    quit_driver = browser.quit

    def quit_driver_and_service():
        try:
            quit_driver()
        finally:
            service.stop()
            display.kill()
            display.wait()
    browser.quit = quit_driver_and_service
    browser.name = "webkit"
    browser.set_viewport(1280, 900)
    return browser


def start(engine, download_dir=None):
    """The engine's browser on a fresh profile of its own, removed by quit()."""
    profile = tempfile.TemporaryDirectory(prefix=f"tortuval-{engine}-")
    if download_dir is None:
        download_dir = pathlib.Path(profile.name) / "downloads"
        download_dir.mkdir()
    if engine == "chromium":
        browser = start_chromium(download_dir)
    elif engine == "webkit":
        browser = start_webkit(download_dir, profile.name)
    elif engine == "firefox":
        from firefox_bidi import start_firefox
        browser = start_firefox(download_dir, profile.name)
    else:
        raise ValueError(f"unknown engine {engine}: {', '.join(ENGINES)}")
    browser.name = engine
    quit_browser = browser.quit

    def quit_and_clean():
        try:
            quit_browser()
        finally:
            profile.cleanup()
    browser.quit = quit_and_clean
    return browser


def page_url(page_path):
    return pathlib.Path(page_path).resolve().as_uri()


def as_uint8_array_script(variable, data):
    """JavaScript that defines `variable` as a Uint8Array holding `data` (bytes)."""
    encoded = base64.b64encode(data).decode("ascii")
    return (f"const {variable} = Uint8Array.from(atob('{encoded}'), (c) => c.charCodeAt(0));")
