# SPDX-License-Identifier: GPL-3.0-or-later
"""A site served on 127.0.0.1 as a static web server serves it, and Debian's
Chromium, headless, driven through its DevTools protocol over a
pipe (--remote-debugging-pipe: JSON messages ended by NUL on the browser's
file descriptors 3 and 4), so that nothing beyond Python is needed to drive
it: no WebSocket library, no Node.js packages."""
import base64
import functools
import http.server
import io
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time


class Failure(Exception):
    pass


class Site:
    """The site on 127.0.0.1, served as a static web server serves it."""

    def __init__(self, folder):
        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                              ".webmanifest": "application/manifest+json", ".js": "text/javascript"}

            def log_message(self, *args):
                pass

        handler = functools.partial(Handler, directory=str(folder))
        class Server(http.server.ThreadingHTTPServer):
            def handle_error(self, request, client_address):
                pass  # a tab closed while a file was on its way

        self.server = Server(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    def __init__(self, *arguments):
        self.profile = tempfile.mkdtemp(prefix="velitar-chromium-")
        to_browser, self._write = os.pipe()
        self._read, from_browser = os.pipe()

        def descriptors():
            os.dup2(to_browser, 3)
            os.dup2(from_browser, 4)

        # Moved out of 3 and 4 first, so that the child's dup2 cannot clobber them.
        to_browser, from_browser = os.dup(to_browser), os.dup(from_browser)
        binary = shutil.which("chromium") or "/usr/bin/chromium"
        self.process = subprocess.Popen(
            [binary, "--headless=new", "--remote-debugging-pipe", "--no-sandbox", "--no-first-run",
             "--no-default-browser-check", "--disable-background-networking", "--disable-extensions",
             "--disable-component-update", "--mute-audio", f"--user-data-dir={self.profile}", *arguments],
            preexec_fn=descriptors, pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self._id = 0
        self._replies = {}
        self._events = queue.Queue()
        self._lock = threading.Condition()
        self.console = []  # what the pages logged, the browser's own messages among it
        self.requests = []  # every address the pages asked for
        self.target = None
        threading.Thread(target=self._reader, daemon=True).start()
        self.session = None

    def _reader(self):
        buffer = b""
        while True:
            chunk = os.read(self._read, 1 << 16)
            if not chunk:
                with self._lock:
                    self._replies[None] = "closed"
                    self._lock.notify_all()
                return
            buffer += chunk
            while b"\0" in buffer:
                raw, buffer = buffer.split(b"\0", 1)
                message = json.loads(raw)
                if "id" in message:
                    with self._lock:
                        self._replies[message["id"]] = message
                        self._lock.notify_all()
                else:
                    method, params = message.get("method"), message.get("params", {})
                    if method == "Runtime.consoleAPICalled":
                        self.console.append(" ".join(str(a.get("value", "")) for a in params["args"]))
                    elif method == "Log.entryAdded":
                        self.console.append(params["entry"].get("text", ""))
                    elif method == "Network.requestWillBeSent":
                        self.requests.append(params["request"]["url"])
                    self._events.put(message)

    def call(self, method, timeout=30, session=True, **params):
        self._id += 1
        number = self._id
        message = {"id": number, "method": method, "params": params}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self._write, json.dumps(message).encode() + b"\0")
        end = time.monotonic() + timeout
        with self._lock:
            while number not in self._replies:
                if None in self._replies or not self._lock.wait(max(0, end - time.monotonic())):
                    raise Failure(f"Chromium did not answer {method} within {timeout} s")
            reply = self._replies.pop(number)
        if "error" in reply:
            raise Failure(f"{method}: {reply['error'].get('message')}")
        return reply.get("result", {})

    def open_page(self):
        """A new tab in place of the last one."""
        if self.target:
            self.call("Target.closeTarget", session=False, targetId=self.target)
        self.target = self.call("Target.createTarget", session=False, url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", session=False, targetId=self.target,
                                 flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Network", "Log"):
            self.call(f"{domain}.enable")

    def evaluate(self, expression, timeout=30):
        result = self.call("Runtime.evaluate", timeout=timeout, expression=expression, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in result:
            raise Failure(f"in the page: {result['exceptionDetails'].get('exception', {}).get('description')}")
        return result["result"].get("value")

    def wait_for(self, expression, what, timeout=30):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.05)
        raise Failure(f"not within {timeout} s: {what}")

    def screenshot(self, clip):
        """The page's pixels in clip (x, y, width, height in CSS pixels) as a PIL image."""
        from PIL import Image
        x, y, width, height = clip
        data = self.call("Page.captureScreenshot", format="png",
                         clip={"x": x, "y": y, "width": width, "height": height, "scale": 1})["data"]
        return Image.open(io.BytesIO(base64.b64decode(data))).convert("RGB")

    def close(self):
        try:
            self.call("Browser.close", session=False, timeout=5)
        except Failure:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)
