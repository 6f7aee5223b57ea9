"""Firefox ESR driven through its own WebDriver BiDi endpoint (Firefox implements the protocol
itself; there is no geckodriver to go through). A small client over python3-websockets: the
commands the page's tests use, one at a time, each waited for."""

import asyncio
import base64
import itertools
import json
import os
import pathlib
import re
import subprocess
import threading

import websockets

from browsers import WAIT_SECONDS, Browser

FIREFOX = "/usr/bin/firefox-esr"

# A fresh profile's preferences: no update, telemetry, studies, safe-browsing lists, remote
# settings, captive-portal or connectivity probe, prefetch or outside DNS; and, should anything
# still try, every connection goes through a proxy on the machine that answers nothing.
# Downloads are saved without asking into the folder the test gives.
PREFERENCES = {
    "app.update.auto": False,
    "app.update.checkInstallTime": False,
    "app.update.disabledForTesting": True,
    "app.normandy.enabled": False,
    "app.shield.optoutstudies.enabled": False,
    "browser.aboutwelcome.enabled": False,
    "browser.discovery.enabled": False,
    "browser.newtabpage.enabled": False,
    "browser.newtabpage.activity-stream.feeds.section.topstories": False,
    "browser.newtabpage.activity-stream.feeds.snippets": False,
    "browser.newtabpage.activity-stream.feeds.telemetry": False,
    "browser.ping-centre.telemetry": False,
    "browser.region.network.url": "",
    "browser.region.update.enabled": False,
    "browser.safebrowsing.blockedURIs.enabled": False,
    "browser.safebrowsing.downloads.enabled": False,
    "browser.safebrowsing.downloads.remote.enabled": False,
    "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False,
    "browser.safebrowsing.provider.google4.updateURL": "",
    "browser.safebrowsing.provider.mozilla.updateURL": "",
    "browser.search.geoSpecificDefaults": False,
    "browser.search.update": False,
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.startup.page": 0,
    "browser.topsites.contile.enabled": False,
    "browser.urlbar.suggest.quicksuggest.sponsored": False,
    "datareporting.healthreport.uploadEnabled": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "extensions.blocklist.enabled": False,
    "extensions.getAddons.cache.enabled": False,
    "extensions.systemAddon.update.enabled": False,
    "extensions.update.enabled": False,
    "geo.provider.network.url": "",
    "media.gmp-gmpopenh264.enabled": False,
    "media.gmp-manager.url": "",
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    "network.dns.disablePrefetch": True,
    "network.http.speculative-parallel-limit": 0,
    "network.prefetch-next": False,
    "network.trr.mode": 5,
    "network.proxy.type": 1,
    "network.proxy.http": "127.0.0.1",
    "network.proxy.http_port": 9,
    "network.proxy.ssl": "127.0.0.1",
    "network.proxy.ssl_port": 9,
    "network.proxy.socks_remote_dns": True,
    "network.proxy.no_proxies_on": "",
    "security.OCSP.enabled": 0,
    "security.remote_settings.crlite_filters.enabled": False,
    "security.remote_settings.intermediates.enabled": False,
    # Release builds take no other server than their own, but for tests (below): then this
    # one means none.
    "services.settings.server": "data:,#remote-settings-dummy/v1",
    "toolkit.telemetry.archive.enabled": False,
    "toolkit.telemetry.enabled": False,
    "toolkit.telemetry.server": "",
    "toolkit.telemetry.unified": False,
    "remote.active-protocols": 1,  # WebDriver BiDi only
    "browser.download.folderList": 2,
    "browser.download.useDownloadDir": True,
    "browser.download.always_ask_before_handling_new_types": False,
    "browser.download.alwaysOpenPanel": False,
    "browser.download.manager.showWhenStarting": False,
}


def user_js(download_dir):
    preferences = dict(PREFERENCES, **{"browser.download.dir": str(download_dir)})
    return "".join(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n"
                   for name, value in preferences.items())


class BidiError(RuntimeError):
    pass


class FirefoxBrowser(Browser):
    def __init__(self, process, url, download_dir):
        super().__init__(download_dir)
        self.process = process
        self.loop = asyncio.new_event_loop()
        asyncio.set_event_loop(self.loop)  # the connection's own futures are made on it
        self.ids = itertools.count(1)
        self.socket = self._await(websockets.connect(url, max_size=None))
        session = self.command("session.new", {"capabilities": {}})
        self.version = session["capabilities"].get("browserVersion", "?")
        contexts = self.command("browsingContext.getTree", {})["contexts"]
        self.context = contexts[0]["context"]

    def _await(self, coroutine):
        return self.loop.run_until_complete(asyncio.wait_for(coroutine, WAIT_SECONDS * 4))

    async def _exchange(self, message):
        await self.socket.send(json.dumps(message))
        while True:
            answer = json.loads(await self.socket.recv())
            if answer.get("id") == message["id"]:  # events in between are not needed
                return answer

    def command(self, method, params):
        answer = self._await(self._exchange({"id": next(self.ids), "method": method,
                                             "params": params}))
        if answer.get("type") == "error":
            raise BidiError(f"{method}: {answer.get('error')}: {answer.get('message')}")
        return answer["result"]

    # ---- The engine's own.

    def open(self, url):
        self.command("browsingContext.navigate",
                     {"context": self.context, "url": url, "wait": "complete"})

    def _call(self, body, arguments):
        result = self.command("script.callFunction", {
            "functionDeclaration": f"function() {{ {body} }}",
            "arguments": [serialize(argument) for argument in arguments],
            "target": {"context": self.context},
            "awaitPromise": True,
            "resultOwnership": "none",
        })
        if result["type"] == "exception":
            details = result["exceptionDetails"]
            raise BidiError(f"script: {details.get('text')}\n{body}")
        return result["result"]

    def script(self, body, *arguments):
        return deserialize(self._call(body, arguments))

    def _pointer_click(self, x, y):
        self.command("input.performActions", {"context": self.context, "actions": [{
            "type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
            "actions": [{"type": "pointerMove", "x": x, "y": y},
                        {"type": "pointerDown", "button": 0},
                        {"type": "pointerUp", "button": 0}]}]})
        self.command("input.releaseActions", {"context": self.context})

    def _key_actions(self, actions):
        self.command("input.performActions", {"context": self.context, "actions": [{
            "type": "key", "id": "keyboard",
            "actions": [{"type": "keyDown" if direction == "down" else "keyUp", "value": key}
                        for direction, key in actions]}]})

    def set_files(self, selector, path):
        element = self._call("return document.querySelector(arguments[0]);", [selector])
        self.command("input.setFiles", {"context": self.context,
                                        "element": {"sharedId": element["sharedId"]},
                                        "files": [str(path)]})

    def _resize_window(self, width, height):
        # Headless: the viewport is what there is to size.
        self.command("browsingContext.setViewport",
                     {"context": self.context, "viewport": {"width": width, "height": height}})

    def screenshot_png(self):
        data = self.command("browsingContext.captureScreenshot", {"context": self.context})
        return base64.b64decode(data["data"])

    def quit(self):
        try:
            self.command("session.end", {})
            self._await(self.socket.close())
        except Exception:
            pass
        finally:
            self.loop.close()
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def serialize(value):
    """A Python value as a BiDi LocalValue."""
    if value is None:
        return {"type": "null"}
    if isinstance(value, bool):
        return {"type": "boolean", "value": value}
    if isinstance(value, (int, float)):
        return {"type": "number", "value": value}
    if isinstance(value, str):
        return {"type": "string", "value": value}
    if isinstance(value, (list, tuple)):
        return {"type": "array", "value": [serialize(item) for item in value]}
    raise TypeError(f"cannot pass {type(value).__name__} to the page")


def deserialize(remote):
    """A BiDi RemoteValue as the Python value selenium gives for the same result."""
    kind, value = remote["type"], remote.get("value")
    if kind in ("undefined", "null"):
        return None
    if kind == "number":
        if isinstance(value, str):  # NaN, -0, Infinity
            return float(value.replace("Infinity", "inf"))
        return value
    if kind in ("string", "boolean"):
        return value
    if kind in ("array", "set", "nodelist", "htmlcollection"):
        return [deserialize(item) for item in value or []]
    if kind in ("object", "map"):
        return {key if isinstance(key, str) else deserialize(key): deserialize(item)
                for key, item in value or []}
    return remote  # a node, a function…: its reference, as the protocol gives it


def start_firefox(download_dir, profile_dir):
    profile = pathlib.Path(profile_dir) / "profile"
    profile.mkdir()
    (profile / "user.js").write_text(user_js(download_dir))
    process = subprocess.Popen(
        [FIREFOX, "--headless", "--no-remote", "--profile", str(profile),
         "--remote-debugging-port", "0", "--width", "1280", "--height", "900", "about:blank"],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
        # Firefox's own switch for tests: it refuses any connection off the machine.
        env=dict(os.environ, MOZ_DISABLE_NONLOCAL_CONNECTIONS="1"))
    # Firefox says where it listens once its endpoint is up.
    for line in process.stderr:
        found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
        if found:
            break
    else:
        raise BidiError(f"firefox-esr ended before its WebDriver BiDi endpoint was up "
                        f"(exit {process.wait()})")
    # What it prints later is read and let go: a full pipe would stop it.
    threading.Thread(target=lambda: [None for _ in process.stderr], daemon=True).start()
    try:
        return FirefoxBrowser(process, found[1] + "/session", download_dir)
    except BaseException:
        process.kill()  # a session that could not start leaves no browser behind
        process.wait()
        raise
