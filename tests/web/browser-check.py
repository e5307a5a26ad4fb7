#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web program's site in Debian's Chromium, headless (cdp.py), served
from 127.0.0.1 as a static web server serves it:
  - the page: Russian, its icon and manifest, what it says without
    JavaScript, without WebAssembly, when the download fails and when the
    program cannot start; nothing fetched from elsewhere, nothing stored,
    no breach of its Content-Security-Policy;
  - the windows' client areas against docs/screenshots/, within a fuzz of
    10 % (scripts/compare-screenshots.py), each under its caption;
  - every variant taken end to end by keyboard and by mouse, one by touch on
    a phone-sized screen; after each answer the window shows something new
    and the answered list is gone; by keyboard, the whole answer is drawn
    in the browser's first frame after the answer's key (how many
    milliseconds after the key is printed, not checked: a loaded machine is
    slower), and after every key the node of the accessibility tree with the
    focus has the role, name and description the desktop program gives;
    Exit ends the program and the page offers a restart;
  - a new version of the site taking the kept one's place at the next visit;
    the page reloaded with the network off (the browser's offline switch,
    the server stopped): the start window, the warm-up taken.
Usage: browser-check.py SITE LAYOUT.json [PICTURES-DIR]"""
import base64
import io
import json
import re
import pathlib
import shutil
import subprocess
import sys
import tempfile

from PIL import Image

from cdp import Browser, Failure, Site

HERE = pathlib.Path(__file__).resolve().parent
SOURCE = HERE.parent.parent

# Key names as the browser sends them: (key, code, Windows key code, text).
KEYS = {"Down": ("ArrowDown", "ArrowDown", 40, ""), "Up": ("ArrowUp", "ArrowUp", 38, ""),
        "Tab": ("Tab", "Tab", 9, ""), "space": (" ", "Space", 32, " "), "Return": ("Enter", "Enter", 13, "\r")}

# Drawn on the program's canvases: after each key, the first drawing (its
# frame, its time and the picture it left), for the verdict's timing.
PROBE = """
(() => {
  window.velitarProbe = {frames: 0, keyFrame: 0, keyTime: 0, first: null};
  for (const name of ['putImageData', 'drawImage']) {
    const original = CanvasRenderingContext2D.prototype[name];
    CanvasRenderingContext2D.prototype[name] = function (...args) {
      const result = original.apply(this, args);
      if (velitarProbe.keyTime && !velitarProbe.first)
        velitarProbe.first = {frame: velitarProbe.frames, time: performance.now(), picture: this.canvas.toDataURL()};
      return result;
    };
  }
  const tick = () => { velitarProbe.frames++; requestAnimationFrame(tick); };
  requestAnimationFrame(tick);
  addEventListener('keydown', () => {
    velitarProbe.keyTime = performance.now(); velitarProbe.keyFrame = velitarProbe.frames; velitarProbe.first = null;
  }, true);
})();
"""

WINDOWS = """
(() => [...(document.getElementById('qt-shadow-container')?.shadowRoot?.querySelectorAll('.qt-window') ?? [])]
  .filter(w => w.getClientRects().length && getComputedStyle(w).visibility !== 'hidden')
  .map(w => { const r = w.querySelector('canvas.qt-window-content').getBoundingClientRect();
              return {caption: w.querySelector('.window-name')?.textContent ?? null,
                      x: r.x + scrollX, y: r.y + scrollY, width: r.width, height: r.height}; }))()
"""
# The element with the browser's focus, inside the program's shadow roots.
FOCUSED = """(() => { let a = document.activeElement;
  while (a?.shadowRoot?.activeElement) a = a.shadowRoot.activeElement; return a; })()"""
PRAISE = ("Правильно, но вопрос простой... Теперь Вы можете приступить к собственно тесту, "
          "выбрав один из пяти вариантов.")
RIGHT = "Ответ правильный."
PASSED = "Поздравляем! Тест пройден."
FAILED = "Сожалеем, но тест не пройден."
TOLD = []  # each key whose focused node was checked
TIMES = []  # ms from each answer's key to its first drawing
FRAMES = "new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(true))))"


class Page:
    def __init__(self, browser, layout, phone=False):
        self.b, self.layout, self.phone = browser, layout, phone
        b = browser
        b.open_page()
        if phone:
            b.call("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=3, mobile=True)
            b.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        else:
            b.call("Emulation.setDeviceMetricsOverride", width=1024, height=768, deviceScaleFactor=1, mobile=False)
        b.call("Page.addScriptToEvaluateOnNewDocument", source=PROBE)
        b.call("Emulation.setFocusEmulationEnabled", enabled=True)  # the tab has the focus, as a user's has
        b.call("Accessibility.enable")

    def told(self, what, role, name=None, description=None, says=(), not_says=(), current=None):
        """The node of the browser's accessibility tree with the focus, as a
        screen reader gets it: its role, name and description (whole, or
        with the texts of says in it), for a list box the option its active
        descendant names."""
        element = self.b.call("Runtime.evaluate", expression=FOCUSED)["result"]
        node = {}
        if "objectId" in element:
            node = self.b.call("Accessibility.getPartialAXTree", objectId=element["objectId"],
                               fetchRelatives=False)["nodes"][0]
        got = {k: (node.get(k) or {}).get("value", "") for k in ("role", "name", "description")}
        related = [p["value"].get("relatedNodes", []) for p in node.get("properties", [])
                   if p["name"] == "activedescendant"]
        if related and related[0]:
            option = self.b.call("Accessibility.getPartialAXTree", backendNodeId=related[0][0]["backendDOMNodeId"],
                                 fetchRelatives=False)["nodes"][0]
            got["current"] = (option.get("name") or {}).get("value", "")
        if got["role"] != role or (name is not None and got["name"] != name) or \
                (description is not None and got["description"] != description) or \
                not all(t in got["description"] for t in says) or any(t in got["description"] for t in not_says) or \
                (current is not None and got.get("current") != current):
            raise Failure(f"{what}: the focused node is {got}; expected {role} {name!r} {description!r} {says}"
                          f" {current!r}")
        TOLD.append(what)

    def load(self, url, caption):
        self.b.call("Page.navigate", url=url)
        return self.window(caption)

    def window(self, caption, timeout=30):
        """The one window shown, once it is the one of that caption, drawn."""
        found = self.b.wait_for(f"(() => {{ const w = {WINDOWS}; return w.length === 1 && w[0].caption === "
                                f"{json.dumps(caption)} && w[0].width > 0 ? w[0] : null; }})()",
                                f"the window «{caption}» alone on the page", timeout)
        self.b.evaluate(FRAMES)
        return found

    def picture(self, window):
        return self.b.screenshot((window["x"], window["y"], window["width"], window["height"]))

    def keys(self, *names):
        for name in names:
            ctrl = name.startswith("ctrl+")
            key, code, vk, text = KEYS.get(name.removeprefix("ctrl+"), (name, f"Key{name.upper()}", 0, name))
            common = {"key": key, "code": code, "windowsVirtualKeyCode": vk, "modifiers": 2 if ctrl else 0}
            if ctrl:
                self.b.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Control", code="ControlLeft",
                            windowsVirtualKeyCode=17, modifiers=2)
            self.b.call("Input.dispatchKeyEvent", type="keyDown", text="" if ctrl else text, **common)
            self.b.call("Input.dispatchKeyEvent", type="keyUp", **common)
            if ctrl:
                self.b.call("Input.dispatchKeyEvent", type="keyUp", key="Control", code="ControlLeft",
                            windowsVirtualKeyCode=17)
        self.b.evaluate(FRAMES)

    def tap(self, window, rect):
        """A click, or on the phone a tap, in the middle of rect (window coordinates)."""
        x, y = window["x"] + rect[0] + rect[2] / 2, window["y"] + rect[1] + rect[3] / 2
        if self.phone:
            # Touch points are in the page's CSS pixels, from the visible part's corner.
            left, top = self.b.evaluate("[visualViewport.pageLeft, visualViewport.pageTop]")
            point = {"x": x - left, "y": y - top}
            self.b.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[point])
            self.b.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        else:
            for kind in ("mousePressed", "mouseReleased"):
                self.b.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)
        self.b.evaluate(FRAMES)


def wrong_row(right):
    return 1 if right == 0 else 0


def take_variant(page, site, variant, wrong, how, pictures):
    """The warm-up, then the variant by keyboard, mouse or touch: after each
    answer something new is drawn and the list is gone; Exit at the end."""
    layout = page.layout
    start = page.load(site.url, layout["start"]["caption"])
    if pictures is not None:
        pictures.mkdir(exist_ok=True)
    if pictures is not None and how == "keyboard" and variant == 1:
        page.picture(start).save(pictures / "start-asking.png")
    if how == "keyboard":
        controls = layout["start"]["controls"]
        warm_up = controls["List1"]
        # From the start, with nothing switched on: the tree in Russian but
        # for the windows' captions.
        captions = {layout["start"]["caption"], *(v["caption"] for v in layout["variants"])}
        english = [name for node in page.b.call("Accessibility.getFullAXTree")["nodes"] if not node.get("ignored")
                   for name in [(node.get("name") or {}).get("value", "")]
                   if re.search("[A-Za-z]", name) and name not in captions]
        if english:
            raise Failure(f"English in the accessibility tree: {english}")
        page.told("the warm-up list", "listbox", warm_up["name"], warm_up["description"])
        for i in (1, 2):
            page.keys("ctrl+Down")
            page.told(f"Ctrl+Down {i} in the warm-up list", "listbox", warm_up["name"],
                      current=warm_up["rows"][i]["text"])
        page.keys("space")
        page.told("the warm-up answered", "button", "1", says=[PRAISE])
        for n in range(2, variant + 1):
            page.keys("Tab")
            page.told(f"Tab to button {n}", "button", str(n), controls[f"Command{n + 1}"]["description"])
        page.keys("space")
    else:
        page.tap(start, layout["start"]["controls"]["List1"]["rows"][2]["rect"])
        if pictures is not None and how == "mouse" and variant == 1:
            page.picture(start).save(pictures / "start-passed.png")
        page.tap(start, layout["start"]["controls"][f"Command{variant + 1}"]["rect"])
    design = layout["variants"][variant - 1]
    window = page.window(design["caption"])
    if (round(window["width"]), round(window["height"])) != tuple(design["size"]):
        raise Failure(f"variant {variant}: client area {window['width']} x {window['height']}, designed {design['size']}")
    controls = design["controls"]
    if how == "keyboard":
        page.told("the test window opened", "button", "Выход", controls["Command1"]["description"])
        page.keys("Tab")
    score = 0
    for k in range(1, 13):
        list_design = design["controls"][f"List{k}"]
        right = design["right"][k - 1]
        row = wrong_row(right) if k in wrong else right
        score += row == right
        if k > 1:
            if how == "keyboard":
                page.keys("space")
            else:
                page.tap(window, design["controls"][f"Command{k}"]["rect"])
        if how == "keyboard":
            page.told(f"question {k}", "listbox", list_design["name"], list_design["description"])
        before = page.picture(window)
        if how == "keyboard":
            if row == 0:
                answer = ["Down"]
            elif k == 3 and [r["text"][0] for r in list_design["rows"]].count(list_design["rows"][row]["text"][0]) == 1:
                answer = [list_design["rows"][row]["text"][0].lower()]  # its first letter
            else:
                answer = ["ctrl+Down"] * row + ["space" if k % 2 else "Return"]
            for i, key in enumerate(answer[:-1], 1):
                page.keys(key)
                page.told(f"question {k}, Ctrl+Down {i}", "listbox", list_design["name"],
                          current=list_design["rows"][i]["text"])
            page.keys(answer[-1])
            total = f"Правильных ответов: {score}."
            if k < 12:
                page.told(f"question {k} answered ({answer[-1]})", "button", controls[f"Command{k + 1}"]["name"],
                          says=[RIGHT, total] if row == right else [total], not_says=[] if row == right else [RIGHT])
            else:
                page.told("question 12 answered", "textbox", controls["Text2"]["name"],
                          says=[PASSED if score >= 11 else FAILED, total])
            probe = page.b.evaluate("velitarProbe")
            after = page.picture(window)
            first = probe["first"]
            # Checked: the first drawing after the key, in the first frame
            # after it, shows the whole answer. Measured, not checked (a
            # loaded machine is slower): how long after the key.
            if not first or Image.open(io.BytesIO(base64.b64decode(
                    first["picture"].split(",", 1)[1]))).convert("RGB").tobytes() != after.tobytes():
                raise Failure(f"variant {variant}, question {k}: the first drawing after the key did not show the"
                              " whole answer")
            if first["frame"] - probe["keyFrame"] != 1:
                raise Failure(f"variant {variant}, question {k}: the answer drawn in frame"
                              f" {first['frame'] - probe['keyFrame']} after its key, not in the first")
            TIMES.append(first["time"] - probe["keyTime"])
        else:
            page.tap(window, list_design["rows"][row]["rect"])
        after = page.picture(window)
        scale = after.width / window["width"]  # the screen's pixels a CSS pixel
        x, y, w, h = (round(v * scale) for v in list_design["rect"])
        if after.tobytes() == before.tobytes() or after.crop((x, y, x + w, y + h)).tobytes() == \
                before.crop((x, y, x + w, y + h)).tobytes():
            if pictures is not None:
                before.save(pictures / "failed-before.png")
                after.save(pictures / "failed-after.png")
            raise Failure(f"variant {variant}, question {k} ({how}): nothing new drawn, or the list is still shown")
        if pictures is not None and variant == 1 and k == 12:
            after.save(pictures / ("test-passed.png" if not wrong else "test-failed.png"))
        if pictures is not None and variant == 4 and k == 5 and 5 in wrong:
            after.save(pictures / "test-variant4-reproach.png")
    page.tap(window, design["controls"]["Command1"]["rect"])  # Exit
    page.b.wait_for("!document.getElementById('ended').hidden && "
                    "document.getElementById('ended').innerText.includes('Программа завершена')",
                    f"variant {variant}: Exit ends the program and the page says so", 10)
    timing = ""
    if how == "keyboard":
        ms = sorted(TIMES[-12:])
        timing = (f"; after each of its {len(TOLD)} keys the focused node of the accessibility tree as on the"
                  f" desktop; the verdict drawn whole in the first frame after its key, {ms[5]:.0f} ms (median) to"
                  f" {ms[-1]:.0f} ms after it")
    TOLD.clear()
    print(f"ok   variant {variant} by {how}: 12 answers, {len(wrong)} wrong, each drawn and its list gone{timing}")


def single_states(browser, site, layout, pictures):
    """The states the committed pictures show that no whole run passes: the
    wrong warm-up answer, variant 1's first question before and after a
    wrong answer."""
    page = Page(browser, layout)
    start = page.load(site.url, layout["start"]["caption"])
    page.tap(start, layout["start"]["controls"]["List1"]["rows"][3]["rect"])
    page.picture(start).save(pictures / "start-failed.png")
    start = page.load(site.url, layout["start"]["caption"])
    page.tap(start, layout["start"]["controls"]["List1"]["rows"][2]["rect"])
    page.tap(start, layout["start"]["controls"]["Command2"]["rect"])
    design = layout["variants"][0]
    window = page.window(design["caption"])
    page.picture(window).save(pictures / "test-asking.png")
    page.tap(window, design["controls"]["List1"]["rows"][wrong_row(design["right"][0])]["rect"])
    page.picture(window).save(pictures / "test-answered.png")
    # A screen reader's activation clicks the element itself: an option, a button.
    page.load(site.url, layout["start"]["caption"])
    for role, name in (("option", layout["start"]["controls"]["List1"]["rows"][2]["text"]), ("button", "1")):
        page.b.evaluate(f"[...document.getElementById('qt-shadow-container').shadowRoot.querySelectorAll("
                        f"'[role={role}]')].find(e => e.textContent === {json.dumps(name)}).click()")
    window = page.window(design["caption"])
    print("ok   a screen reader's click on the option «Литургия», then on button 1, opens variant 1")
    # Restart after Exit: the start window again.
    page.tap(window, design["controls"]["Command1"]["rect"])
    page.b.wait_for("!document.getElementById('ended').hidden", "the page says that the program has ended", 10)
    page.b.evaluate("document.getElementById('restart').click()")
    page.window(layout["start"]["caption"])
    print("ok   after Exit, «Начать снова» starts the program again")


def page_itself(browser, site):
    """The page before the program: language, title, icon, manifest, and its
    messages where the program cannot run."""
    b = browser
    b.open_page()
    b.call("Page.navigate", url=site.url)
    b.wait_for("document.readyState === 'complete'", "the page loaded")
    head = b.evaluate("({lang: document.documentElement.lang, title: document.title,"
                      " icon: document.querySelector('link[rel=icon]')?.href,"
                      " manifest: document.querySelector('link[rel=manifest]')?.href,"
                      " text: document.body.innerText})")
    if head["lang"] != "ru" or head["title"] != "Велитарь" or not head["icon"] or not head["manifest"]:
        raise Failure(f"the page's language, title, icon or manifest: {head}")
    manifest = b.evaluate("fetch('manifest.webmanifest').then(r => r.json())")
    if manifest["name"] != "Велитарь" or manifest["lang"] != "ru" or not any(i["sizes"] == "512x512" for i in manifest["icons"]):
        raise Failure(f"the manifest: {manifest}")
    if any(word in head["text"] for word in ("Loading", "Qt", "exit")):
        raise Failure(f"English on the page: {head['text']}")

    def message(setup, expect, what):
        b.open_page()
        setup()
        b.call("Page.navigate", url=site.url)
        b.wait_for(f"document.body?.innerText.includes({json.dumps(expect)})", what, 30)
        print(f"ok   {what}")

    message(lambda: b.call("Emulation.setScriptExecutionDisabled", value=True), "нужен JavaScript",
            "without JavaScript the page says in Russian that it needs it")
    message(lambda: b.call("Page.addScriptToEvaluateOnNewDocument", source="delete window.WebAssembly"),
            "не умеет выполнять WebAssembly", "without WebAssembly the page says so in Russian")
    message(lambda: (b.call("Network.setBypassServiceWorker", bypass=True),
                     b.call("Network.setBlockedURLs", urls=["*velitar.wasm"])),
            "Не удалось загрузить программу", "a failed download is told in Russian, with a retry")
    # The program started where its window system cannot start (another platform named).
    hook = """Object.defineProperty(window, 'velitar_entry', {configurable: true,
      set(f) { this.realEntry = f; },
      get() { return config => this.realEntry(config).then(instance => {
        const callMain = instance.callMain; instance.callMain = () => callMain(['-platform', 'nowhere']);
        return instance; }); } });"""
    message(lambda: b.call("Page.addScriptToEvaluateOnNewDocument", source=hook),
            "графическая платформа браузера не запускается", "a start failure is told in the page, in Russian")


def phone(browser, site, layout, pictures):
    """Variant 3 by touch on a phone-sized screen (390 x 844 CSS pixels,
    device pixel ratio 3): scaled to the width, no sideways scrolling, drawn
    at the screen's density."""
    page = Page(browser, layout, phone=True)
    take_variant(page, site, 3, set(), "touch", pictures / "phone")
    page.load(site.url, layout["start"]["caption"])
    fit = browser.evaluate("""(() => { const c = document.getElementById('qt-shadow-container').shadowRoot
        .querySelector('.qt-window canvas.qt-window-content');
      return {scroll: document.documentElement.scrollWidth - document.documentElement.clientWidth,
              layout: document.documentElement.clientWidth, seen: visualViewport.width * visualViewport.scale,
              scale: visualViewport.scale, dpr: devicePixelRatio,
              density: c.width / c.getBoundingClientRect().width}; })()""")
    # Sharp: one pixel of the program's canvas for each pixel of the screen
    # (the device pixel ratio, times the scale the page is shown at).
    screen_pixels = fit["dpr"] * fit["scale"]
    if fit["scroll"] > 0 or abs(fit["seen"] - 390) > 1 or abs(fit["density"] - screen_pixels) > 0.01:
        raise Failure(f"on the phone: {fit}")
    print(f"ok   on the phone: the page {fit['layout']} CSS pixels wide, shown at {fit['scale']:.3f} across 390,"
          f" no sideways scrolling; the windows drawn at {fit['density']:.3f} canvas pixels a CSS pixel,"
          f" one a screen pixel")


def offline(browser, site, folder, layout):
    """Opened once, the site works with the network off; a new version of
    the site replaces the kept one at the next visit with the network on."""
    page = Page(browser, layout)
    kept = ("navigator.serviceWorker.ready.then(r => !!r.active && !!navigator.serviceWorker.controller)"
            " .then(ok => ok && caches.keys()).then(k => k && k.length === 1"
            " && caches.open(k[0]).then(c => c.match('page.css')).then(r => r && r.text()))")
    page.load(site.url, layout["start"]["caption"])
    browser.wait_for(kept, "the service worker keeps the site", 60)
    worker = (folder / "sw.js").read_text(encoding="utf-8")
    (folder / "sw.js").write_text(worker.replace("const version = '", "const version = 'new-"), encoding="utf-8")
    with open(folder / "page.css", "a", encoding="utf-8") as css:
        css.write("/* the new version */\n")
    page.load(site.url, layout["start"]["caption"])
    browser.wait_for(f"({kept}).then(css => css && css.includes('the new version'))",
                     "the next visit with the network on keeps the new version in place of the old", 60)
    site.stop()
    browser.call("Network.emulateNetworkConditions", offline=True, latency=0, downloadThroughput=-1,
                 uploadThroughput=-1)
    start = page.load(site.url, layout["start"]["caption"])
    page.keys("ctrl+Down", "ctrl+Down", "space")
    stored = browser.evaluate("({cookies: document.cookie, local: localStorage.length, session: sessionStorage.length})")
    if stored != {"cookies": "", "local": 0, "session": 0}:
        raise Failure(f"the page stores something: {stored}")
    print("ok   a new version of the site replaced the kept one at the next visit; reloaded with the network"
          " off and the server stopped: the start window, the warm-up taken; no cookies, nothing in local or"
          " session storage")
    return page.picture(start)


def main():
    site_dir, layout_file = pathlib.Path(sys.argv[1]), sys.argv[2]
    pictures = pathlib.Path(sys.argv[3] if len(sys.argv) > 3 else tempfile.mkdtemp(prefix="velitar-web-"))
    pictures.mkdir(parents=True, exist_ok=True)
    layout = json.loads(pathlib.Path(layout_file).read_text(encoding="utf-8"))
    # Served from a copy, which the check of a new version changes.
    served = pathlib.Path(tempfile.mkdtemp(prefix="velitar-site-")) / "site"
    shutil.copytree(site_dir, served)
    site = Site(served)
    browser = Browser()
    problems = []
    try:
        page_itself(browser, site)
        runs = {"keyboard": {1: set(), 2: {2, 5, 11}, 3: {7}, 4: {2, 5, 11}, 5: {7}},
                "mouse": {1: {4, 8, 12}, 2: {7}, 3: {2, 5, 11}, 4: {5}, 5: {3, 6, 9}}}
        for how, variants in runs.items():
            page = Page(browser, layout)
            for variant, wrong in variants.items():
                take_variant(page, site, variant, wrong, how, pictures)
        single_states(browser, site, layout, pictures)
        phone(browser, site, layout, pictures)
        errors = [line for line in browser.console if "Content Security Policy" in line or "Refused" in line]
        if errors:
            raise Failure(f"the page broke its Content-Security-Policy: {errors}")
        foreign = [url for url in browser.requests if not url.startswith((site.url, "data:", "blob:", "about:"))]
        if foreign:
            raise Failure(f"fetched from elsewhere: {foreign}")
        print(f"ok   {len(browser.requests)} requests, all to the site itself; no breach of the page's"
              " Content-Security-Policy")
        passed = offline(browser, site, served, layout)
        if passed.tobytes() != Image.open(pictures / "start-passed.png").convert("RGB").tobytes():
            raise Failure("offline, the start window after the warm-up differs from the one drawn online")
    except Failure as failure:
        problems.append(str(failure))
    finally:
        browser.close()
        shutil.rmtree(served.parent, ignore_errors=True)
    if problems:
        print(f"FAIL {problems[0]}")
        sys.exit(1)
    compared = subprocess.run([sys.executable, str(SOURCE / "scripts" / "compare-screenshots.py"), "--fuzz", "10",
                               str(SOURCE / "docs" / "screenshots"), str(pictures)])
    sys.exit(compared.returncode)


if __name__ == "__main__":
    main()
