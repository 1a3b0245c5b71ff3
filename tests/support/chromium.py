"""Headless Chromium driven through its DevTools protocol over a pipe, for
the tests of games built for the web: no driver to install, only Debian's
chromium and Python.

    with Browser() as browser:
        page = browser.open("http://127.0.0.1:8000/")
        page.wait_for(lambda: page.console_has("ready"), 30)
        png = page.screenshot()
"""
import base64
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time

FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-extensions", "--mute-audio", "--remote-debugging-pipe",
    # A page in a background tab or an occluded window still gets its frames.
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows",
]


def chromium_path():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        found = shutil.which(name)
        if found:
            return found
    return None


class ProtocolError(Exception):
    pass


class Browser:
    """One Chromium process with a fresh profile."""

    def __init__(self, executable=None, window=(1024, 800)):
        self.executable = executable or chromium_path()
        if not self.executable:
            raise RuntimeError("no chromium on PATH (apt-get install chromium)")
        self.window = window
        self._next_id = 0
        self._lock = threading.Lock()
        self._replies = {}
        self._reply_ready = threading.Condition(self._lock)
        self._sessions = {}

    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix="vindle-chromium-")
        to_browser_read, self._to_browser = os.pipe()
        self._from_browser, from_browser_write = os.pipe()

        def use_pipes():
            # Chromium reads commands on fd 3 and writes replies on fd 4.
            os.dup2(to_browser_read, 3)
            os.dup2(from_browser_write, 4)

        self.log = open(os.path.join(self.profile, "chromium.log"), "wb")
        self.process = subprocess.Popen(
            [self.executable, *FLAGS, f"--user-data-dir={self.profile}",
             f"--window-size={self.window[0]},{self.window[1]}", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=subprocess.STDOUT,
            preexec_fn=use_pipes, close_fds=False)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        return self

    def __exit__(self, *exc):
        try:
            self.call("Browser.close", timeout=5)
        except Exception:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        for fd in (self._to_browser, self._from_browser):
            try:
                os.close(fd)
            except OSError:
                pass
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self._from_browser, 1 << 16)
            except OSError:
                chunk = b""
            if not chunk:
                with self._lock:
                    self._closed = True
                    self._reply_ready.notify_all()
                return
            pending += chunk
            while b"\0" in pending:
                raw, pending = pending.split(b"\0", 1)
                message = json.loads(raw)
                if "id" in message:
                    with self._lock:
                        self._replies[message["id"]] = message
                        self._reply_ready.notify_all()
                else:
                    page = self._sessions.get(message.get("sessionId"))
                    if page:
                        page._event(message["method"], message.get("params", {}))

    def send(self, method, params=None, session=None):
        with self._lock:
            self._next_id += 1
            ident = self._next_id
        message = {"id": ident, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        return ident

    def call(self, method, params=None, session=None, timeout=30):
        ident = self.send(method, params, session)
        return self.reply(ident, method, timeout)

    def reply(self, ident, method="", timeout=30):
        deadline = time.monotonic() + timeout
        with self._lock:
            while ident not in self._replies:
                left = deadline - time.monotonic()
                if left <= 0 or getattr(self, "_closed", False):
                    raise ProtocolError(f"no reply to {method} within {timeout} s")
                self._reply_ready.wait(left)
            message = self._replies.pop(ident)
        if "error" in message:
            raise ProtocolError(f"{method}: {message['error'].get('message')}")
        return message.get("result", {})

    def open(self, url, width=None, height=None):
        """A new tab showing url, with its console, dialogs and errors recorded."""
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        page = Page(self, session, target)
        self._sessions[session] = page
        for domain in ("Page", "Runtime"):
            self.call(f"{domain}.enable", session=session)
        if width and height:
            self.call("Emulation.setDeviceMetricsOverride",
                      {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False}, session=session)
        page.navigate(url)
        return page


class Page:
    def __init__(self, browser, session, target):
        self.browser, self.session, self.target = browser, session, target
        self.console = []      # (type, text) in order
        self.errors = []       # uncaught exceptions
        self.dialogs = queue.Queue()  # (type, message) of boxes still waiting for an answer
        self.dialog_log = []
        self._changed = threading.Condition()

    def _event(self, method, params):
        with self._changed:
            if method == "Runtime.consoleAPICalled":
                text = " ".join(str(arg.get("value", arg.get("description", ""))) for arg in params.get("args", []))
                self.console.append((params.get("type"), text))
            elif method == "Runtime.exceptionThrown":
                details = params.get("exceptionDetails", {})
                self.errors.append(details.get("exception", {}).get("description") or details.get("text"))
            elif method == "Page.javascriptDialogOpening":
                entry = (params.get("type"), params.get("message"))
                self.dialog_log.append(entry)
                self.dialogs.put(entry)
            self._changed.notify_all()

    def call(self, method, params=None, timeout=30):
        return self.browser.call(method, params, self.session, timeout)

    def navigate(self, url):
        self.call("Page.navigate", {"url": url})

    def evaluate(self, expression, timeout=30):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                 "awaitPromise": True}, timeout)
        if "exceptionDetails" in result:
            raise ProtocolError(f"{expression}: {result['exceptionDetails'].get('text')}")
        return result.get("result", {}).get("value")

    def wait_for(self, condition, timeout):
        """Waits until condition() is true; returns its last value."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value or time.monotonic() >= deadline:
                return value
            with self._changed:
                self._changed.wait(0.05)

    def console_lines(self, kind=None):
        with self._changed:
            return [text for t, text in self.console if kind is None or t == kind]

    def console_has(self, text, kind=None):
        return any(text in line for line in self.console_lines(kind))

    def wait_for_console(self, text, timeout=30, kind=None):
        return self.wait_for(lambda: self.console_has(text, kind), timeout)

    def next_dialog(self, timeout=30):
        try:
            return self.dialogs.get(timeout=timeout)
        except queue.Empty:
            return None

    def answer_dialog(self, accept):
        # The box is modal: the page's thread is blocked until it is answered,
        # so no reply can be awaited behind it.
        self.browser.send("Page.handleJavaScriptDialog", {"accept": accept}, self.session)

    def key(self, key, code, key_code, down=True, text=None):
        params = {"type": "keyDown" if down else "keyUp", "key": key, "code": code,
                  "windowsVirtualKeyCode": key_code, "nativeVirtualKeyCode": key_code}
        if down and text:
            params["type"] = "keyDown"
            params["text"] = text
        self.call("Input.dispatchKeyEvent", params)

    def press(self, key, code, key_code, text=None):
        self.key(key, code, key_code, True, text)
        self.key(key, code, key_code, False)

    def mouse(self, kind, x, y, button="none", clicks=0):
        self.call("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y, "button": button,
                                               "clickCount": clicks})

    def screenshot(self):
        """The page as a PNG (bytes)."""
        data = self.call("Page.captureScreenshot", {"format": "png"})["data"]
        return base64.b64decode(data)

    def screenshot_of(self, x, y, width, height):
        """A rectangle of the page, in CSS pixels, as a PNG (bytes)."""
        clip = {"x": x, "y": y, "width": width, "height": height, "scale": 1}
        data = self.call("Page.captureScreenshot", {"format": "png", "clip": clip})["data"]
        return base64.b64decode(data)
