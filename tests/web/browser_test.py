#!/usr/bin/env python3
"""The browser page in headless Chromium, against the native zelgen.

Serves build-web/site/ from a local static server, drops the example looks on the page,
makes CAMB-001 standard and CAMB-002 extended look files, saves them and compares their
bytes with `zelgen make` (the page is given the native file's creation time), the check
table with `zelgen check --json` and the preview canvas with `zelgen preview`; drops each
bad file and reads zelgen's message; cancels a job; asserts that the browser asked for
nothing outside the page's origin; writes a screenshot. With --bench, also prints the page's
load time, a 65-grid CAMB-002 job in the page against the native one, and the module's size.

usage: browser_test.py SITE_DIR ZELGEN EXAMPLES_DIR ARTIFACTS_DIR [--bench]
"""

import functools
import http.server
import json
import os
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zipfile
import zlib

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

SITE, ZELGEN, EXAMPLES, ARTIFACTS = (os.path.abspath(a) for a in sys.argv[1:5])
BENCH = "--bench" in sys.argv
CREATED = "2026-03-04 05:06:07"  # the time stamp of every look file made here
LOOKS = ["contrast", "identity", "warm_teal"]


def zelgen(*args, cwd):
    return subprocess.run([ZELGEN, *args], cwd=cwd, capture_output=True, text=True)


def read_png(path):
    """8-bit RGB PNG (as zelgen writes them) to (width, height, bytes)."""
    data = open(path, "rb").read()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour == 2, "zelgen writes 8-bit RGB"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, out = zlib.decompress(idat), width * 3, bytearray()
    prev = bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], (prev[i - 3] if i >= 3 else 0)
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out += line
        prev = line
    return width, height, bytes(out)


class Page:
    def __init__(self, url, downloads):
        options = webdriver.ChromeOptions()
        for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--window-size=1280,720",
                     "--user-data-dir=" + tempfile.mkdtemp(prefix="zel-chromium-")]:
            options.add_argument(flag)
        options.binary_location = "/usr/bin/chromium"
        options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
        self.driver = webdriver.Chrome(
            service=webdriver.ChromeService("/usr/bin/chromedriver")
            if hasattr(webdriver, "ChromeService")
            else webdriver.chrome.service.Service("/usr/bin/chromedriver"),
            options=options)
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": downloads})
        self.downloads = downloads
        self.driver.get(url)
        self.wait_status("Ready")

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait_status(self, text, timeout=120):
        WebDriverWait(self.driver, timeout).until(
            lambda d: text in d.find_element(By.ID, "status").text)

    def drop(self, paths):
        """Drops files on the drop zone, as a file manager would."""
        picker = self.js("const i = document.createElement('input'); i.type = 'file';"
                         "i.multiple = true; i.id = 'test-picker'; document.body.append(i);"
                         "return i;")
        picker.send_keys("\n".join(paths))
        self.js("const t = new DataTransfer();"
                "for (const f of arguments[0].files) t.items.add(f);"
                "document.getElementById('drop').dispatchEvent("
                "new DragEvent('drop', {dataTransfer: t, bubbles: true}));"
                "arguments[0].remove();", picker)

    def clear_looks(self):
        self.js("window.zelPage.looks.length = 0;")

    def make(self, camera, created=None):
        Select(self.driver.find_element(By.ID, "camera")).select_by_value(camera)
        self.js("window.zelPage.created = arguments[0];", created)
        self.driver.find_element(By.ID, "make").click()
        self.wait_status("look file(s) made", timeout=300)
        return self.js("return window.zelPage.results.map(r => ({name: r.name, make: r.make,"
                       " check: r.check}));")

    def save(self, selector, name):
        target = os.path.join(self.downloads, name)
        if os.path.exists(target):
            os.remove(target)
        self.driver.find_element(By.CSS_SELECTOR, selector).click()
        for _ in range(200):
            if os.path.exists(target) and not os.path.exists(target + ".crdownload"):
                time.sleep(0.1)
                return open(target, "rb").read()
            time.sleep(0.05)
        raise AssertionError(f"{name} was not saved")


def native_looks(work, camera, layout):
    """The example looks made by zelgen, all with one fixed creation time."""
    out = os.path.join(work, camera)
    os.makedirs(out, exist_ok=True)
    for look in LOOKS:
        result = zelgen("make", f"{look}.cube", "-o", f"{camera}/{look}.zel", "--camera",
                        camera, "--job", layout, "--cube-out", f"{camera}/{look}.cube",
                        "--created", CREATED, "-q", cwd=work)
        assert result.returncode == 0, result.stderr
    return out, [int(v) for v in CREATED.replace("-", " ").replace(":", " ").split()]


def check_made_looks(page, work, camera, layout):
    out, created = native_looks(work, camera, layout)
    results = page.make(camera, created)
    assert [r["name"] for r in results] == LOOKS, results
    for i, look in enumerate(LOOKS):
        assert results[i]["make"]["ok"], results[i]
        # The saved look file and re-indexed look are zelgen's, byte for byte.
        saved = page.save(f"#result-{i} .save-zel", f"{look}.zel")
        assert saved == open(f"{out}/{look}.zel", "rb").read(), f"{camera} {look}.zel differs"
        cube = page.save(f"#result-{i} .save-cube", f"{look}.cube")
        assert cube == open(f"{out}/{look}.cube", "rb").read(), f"{camera} {look}.cube differs"
        # The check table shows zelgen check's figures.
        native = json.loads(zelgen("check", "--json", f"{out}/{look}.zel", "--look",
                                   f"{look}.cube", cwd=work).stdout)
        rows = page.js("return [...document.querySelectorAll('#result-' + arguments[0] +"
                       " ' table.check tr[data-pass]')].map(r => [...r.cells].map(c =>"
                       " c.textContent));", i)
        passes = native["fidelity"]["passes"]
        assert len(rows) == len(passes) > 0, (rows, passes)
        for row, p in zip(rows, passes):
            assert row[0] == str(p["pass"]) and row[1] == p["inputSpace"], row
            assert row[2] == f"{max(p['cube']['codeValueMax']):.1f}", (row, p)
            assert row[3] == f"{p['cube']['deltaE2000Max']:.2f}", (row, p)
            assert row[4] == f"{p['cube']['deltaE2000Mean']:.3f}", (row, p)
            assert row[5] == f"{p['cube']['deltaE2000P99']:.2f}", (row, p)
            assert ("within" if p["withinLimits"] else "OUTSIDE") in row[6], (row, p)
            worst = " ".join(f"{v:.3f}" for v in p["cube"]["worstInput"])
            assert worst in row[7], (row, p)
        verdict = page.js("return document.querySelector('#result-' + arguments[0] +"
                          " ' [class^=verdict]').textContent;", i)
        faithful = native["fidelity"]["withinLimits"] and not native["damaged"]
        assert ("NOT" not in verdict) == faithful, (verdict, faithful)
        check_preview(page, work, out, look, i, native)
    # Many looks as one .zip.
    archive = page.save("#save-zip", "looks.zip")
    with zipfile.ZipFile(__import__("io").BytesIO(archive)) as z:
        for look in LOOKS:
            assert z.read(f"{look}.zel") == open(f"{out}/{look}.zel", "rb").read()
            assert z.read(f"{look}.cube") == open(f"{out}/{look}.cube", "rb").read()
    return results


def check_preview(page, work, out, look, index, native, image=None):
    """The canvas is drawn, is zelgen preview's picture, and its source and camera panels
    differ no more than check's largest code-value error allows."""
    png = f"{out}/{look}.png"
    result = zelgen("preview", f"{out}/{look}.zel", "--look", f"{look}.cube", "-o", png,
                    *(["--image", image] if image else []), cwd=work)
    assert result.returncode == 0, result.stderr
    width, height, want = read_png(png)
    size, pixels = page.js(
        "const c = document.querySelector('#result-' + arguments[0] + ' canvas.preview');"
        "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
        "const rgb = []; for (let i = 0; i < d.length; i += 4) rgb.push(d[i], d[i+1], d[i+2]);"
        "return [[c.width, c.height], rgb];", index)
    got = bytes(pixels)
    assert size == [width, height], (size, width, height)
    assert got == want, f"the preview of {look} is not zelgen preview's picture"
    assert len(set(got[i:i + 3] for i in range(0, len(got), 3 * 97))) > 50, "blank preview"
    # Three panels under a title strip, each under its own label strip (glyphs 7 high drawn
    # twice their size with an 8-pixel margin above and below): source look, camera, difference.
    margin, label = 8, 2 * 7 + 2 * 8
    chart_height = (height - margin - 4 * label) // 3
    worst_step = max(max(p["cube"]["codeValueMax"]) for p in native["fidelity"]["passes"])
    largest = 0
    for y in range(chart_height):
        source = (2 * label + y) * width * 3
        camera = (3 * label + chart_height + y) * width * 3
        largest = max(largest, max(abs(got[source + i] - got[camera + i])
                                   for i in range(margin * 3, width * 3 - margin * 3)))
    # 10-bit steps to 8-bit levels, one level of rounding on either side.
    assert largest <= worst_step / 4 + 2, (look, largest, worst_step)


def write_png(path, width, height, pixel):
    """An 8-bit RGB PNG whose pixel (x, y) is pixel(x, y)."""
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                    for y in range(height))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def check_frame_preview(page, work):
    """A frame the browser decodes gives zelgen preview --image's picture."""
    frame = f"{work}/frame.png"
    write_png(frame, 96, 40, lambda x, y: (x * 255 // 95, y * 255 // 39, (x * y) % 256))
    page.clear_looks()
    page.drop([frame, f"{work}/warm_teal.cube"])
    WebDriverWait(page.driver, 30).until(
        lambda d: "frame.png" in d.find_element(By.ID, "frame-status").text)
    out, created = native_looks(work, "CAMB-001", "standard")
    assert page.make("CAMB-001", created)[0]["make"]["ok"]
    native = json.loads(zelgen("check", "--json", f"{out}/warm_teal.zel", "--look",
                               "warm_teal.cube", cwd=work).stdout)
    check_preview(page, work, out, "warm_teal", 0, native, image=frame)
    page.driver.find_element(By.ID, "image-clear").click()


def check_bad_files(page, work):
    bad = os.path.join(work, "bad")
    os.makedirs(bad, exist_ok=True)
    with open(f"{bad}/shaper_only.cube", "w") as f:
        f.write("LUT_1D_SIZE 2\n0 0 0\n1 1 1\n")
    with open(f"{bad}/notes.txt", "w") as f:
        f.write("Call sheet, day 3\nBring the grey card.\n")
    with open(f"{bad}/grid256.cube", "w") as f:
        f.write("TITLE \"too fine\"\nLUT_3D_SIZE 256\n0 0 0\n")
    with open(f"{bad}/huge.cube", "wb") as f:  # 2 GB, sparse: never read whole
        f.truncate(2 * 1024 ** 3)
    for name in ["shaper_only.cube", "notes.txt", "grid256.cube", "huge.cube"]:
        native = zelgen("make", name, "-o", "x.zel", "--camera", "CAMB-001", "-q", cwd=bad)
        page.clear_looks()
        page.drop([f"{bad}/{name}"])
        results = page.make("CAMB-001")
        message = page.js("return document.querySelector('#result-0 .failed').textContent;")
        assert not results[0]["make"]["ok"]
        if name == "shaper_only.cube" and native.returncode == 0:
            # A zelgen with OpenColorIO makes a look of a 1D table alone; the page reads
            # .cube files with zelgen's own reader, which takes 3D tables only.
            assert "holds only a 1D LUT" in message, message
            continue
        assert native.returncode == 1, native
        assert message == native.stderr.strip(), (name, message, native.stderr)
    os.remove(f"{bad}/huge.cube")


def check_cancel(page, work):
    """A cancelled job leaves the page working."""
    page.clear_looks()
    page.drop([f"{work}/grid65.cube"] * 3)
    Select(page.driver.find_element(By.ID, "camera")).select_by_value("CAMB-002")
    page.driver.find_element(By.ID, "make").click()
    WebDriverWait(page.driver, 60).until(
        lambda d: d.execute_script("return document.getElementById('progress').value > 0;"))
    page.driver.find_element(By.ID, "cancel").click()
    page.wait_status("Cancelled")
    page.wait_status("Ready")  # the new worker is up
    page.clear_looks()
    page.drop([f"{work}/identity.cube"])
    assert page.make("CAMB-001")[0]["make"]["ok"]


def check_requests(page, origin):
    """Everything the page and its worker asked for came from the page's own origin, and the
    browser reached no other host (its own chrome:// pages are not network)."""
    outside, own = [], 0
    for entry in page.driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] != "Network.requestWillBeSent":
            continue
        params = message["params"]
        url = params["request"]["url"]
        mine = url.startswith(origin + "/") or url.startswith(("blob:", "data:"))
        from_page = params.get("documentURL", "").startswith(origin + "/")
        own += from_page
        if (from_page and not mine) or (url.startswith(("http", "ws", "ftp")) and not mine):
            outside.append(url)
    assert own >= 5, "the request log holds none of the page's own files"
    assert not outside, outside


def write_grid65(path):
    n = 65
    with open(path, "w") as f:
        f.write("LUT_3D_SIZE 65\n")
        for b in range(n):
            for g in range(n):
                for r in range(n):
                    f.write(f"{0.9 * r / 64 + 0.05:.6f} {g / 64 * 0.95:.6f} "
                            f"{0.1 + 0.8 * b / 64:.6f}\n")


def bench(page, work):
    ready_ms = page.js("return window.zelPage.timings.moduleReady;")
    page.clear_looks()
    page.drop([f"{work}/grid65.cube"])
    page_seconds = []
    for _ in range(3):
        page.make("CAMB-002")
        page_seconds.append(page.js("return window.zelPage.results[0].seconds;"))
    # The page's job also writes the re-indexed .cube and measures the fidelity line, as
    # zelgen make --cube-out does unless -q.
    native_seconds, quiet_seconds = [], []
    for _ in range(3):
        for extra, times in ((["--cube-out", "g.cube"], native_seconds), (["-q"], quiet_seconds)):
            start = time.perf_counter()
            zelgen("make", "grid65.cube", "-o", "g.zel", "--camera", "CAMB-002", *extra, cwd=work)
            times.append(time.perf_counter() - start)
    size = sum(os.path.getsize(os.path.join(SITE, f)) for f in
               ["zel_web.wasm", "zel_web.js", "app.js", "worker.js",
                "vendor/fflate-0.8.3.min.js"])
    page_s, native_s = sorted(page_seconds)[1], sorted(native_seconds)[1]
    quiet_s = sorted(quiet_seconds)[1]
    print(f"page usable (module ready) {ready_ms:.0f} ms after navigation")
    print(f"65-grid CAMB-002 job with re-indexed .cube and fidelity line: page {page_s:.3f} s, "
          f"zelgen make --cube-out {native_s:.3f} s (ratio {page_s / native_s:.2f}), zelgen make -q "
          f"{quiet_s:.3f} s; medians of 3")
    print(f"wasm + scripts: {size / 1e6:.2f} MB")


def main():
    os.makedirs(ARTIFACTS, exist_ok=True)
    work = tempfile.mkdtemp(prefix="zel-web-test-")
    downloads = os.path.join(work, "downloads")
    os.makedirs(downloads)
    for look in LOOKS:
        with open(f"{EXAMPLES}/{look}.cube", "rb") as src, open(f"{work}/{look}.cube", "wb") as dst:
            dst.write(src.read())
    write_grid65(f"{work}/grid65.cube")

    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(Quiet, directory=SITE)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    origin = f"http://127.0.0.1:{server.server_address[1]}"
    page = Page(origin + "/index.html", downloads)
    try:
        page.drop([f"{work}/{look}.cube" for look in LOOKS])
        check_made_looks(page, work, "CAMB-001", "standard")
        page.js("window.scrollTo(0, 0);")
        page.driver.save_screenshot(os.path.join(ARTIFACTS, "zel-page.png"))
        page.js("document.getElementById('result-2').scrollIntoView();")
        page.driver.save_screenshot(os.path.join(ARTIFACTS, "zel-page-result.png"))
        check_made_looks(page, work, "CAMB-002", "extended")
        check_frame_preview(page, work)
        check_bad_files(page, work)
        check_cancel(page, work)
        if BENCH:
            bench(page, work)
        check_requests(page, origin)
    except Exception:
        page.driver.save_screenshot(os.path.join(ARTIFACTS, "zel-page-failure.png"))
        raise
    finally:
        page.driver.quit()
        server.shutdown()
    print("browser test: all checks passed")


if __name__ == "__main__":
    main()
