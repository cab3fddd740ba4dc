#!/usr/bin/env python3
"""The browser page in headless Chromium, against the native zelgen.

Serves build-web/site/ from a local static server, drops the example looks on the page,
makes CAMB-001 standard and CAMB-002 extended look files, saves them and compares their
bytes with `zelgen make` (the page is given the native file's creation time), the check
table with `zelgen check --json` and the preview canvas with `zelgen preview`; drops each
bad file and reads zelgen's message; cancels a job; asserts that the browser asked for
nothing outside the page's origin; writes a screenshot. The page's timings are measured by
bench/web/page_bench.py (scripts/web-bench).

usage: browser_test.py SITE_DIR ZELGEN EXAMPLES_DIR ARTIFACTS_DIR
"""

import base64
import json
import os
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

from page_session import Page, serve, site_size, write_grid65

SITE, ZELGEN, EXAMPLES, ARTIFACTS = (os.path.abspath(a) for a in sys.argv[1:5])
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


def frame_pixel(x, y):
    """The PNG test frame: ramps in red and green, a fine pattern in blue."""
    return (x * 255 // 95, y * 255 // 39, (x * y) % 256)


def smooth_pixel(x, y):
    """The JPEG test frame: ramps alone, which JPEG keeps closely."""
    return (x * 255 // 95, y * 255 // 39, (95 - x + y) * 255 // 134)


def write_jpeg(page, path):
    """The JPEG test frame, encoded by the browser from a canvas."""
    pixels = [c for y in range(40) for x in range(96) for c in (*smooth_pixel(x, y), 255)]
    url = page.js("const c = document.createElement('canvas'); c.width = 96; c.height = 40;"
                  "const g = c.getContext('2d'); const d = g.createImageData(96, 40);"
                  "d.data.set(arguments[0]); g.putImageData(d, 0, 0);"
                  "return c.toDataURL('image/jpeg', 0.92);", pixels)
    assert url.startswith("data:image/jpeg;base64,"), url[:40]
    with open(path, "wb") as f:
        f.write(base64.b64decode(url.split(",", 1)[1]))


def check_frame_preview(page, work, frame, pixel):
    """A PNG or JPEG frame the browser decodes gives zelgen preview --image's picture of the
    same pixels (a PNG's own; a JPEG's as the browser decoded them, near the frame drawn)."""
    name = os.path.basename(frame)
    page.clear_looks()
    page.drop([frame, f"{work}/warm_teal.cube"])
    WebDriverWait(page.driver, 30).until(
        lambda d: name in d.find_element(By.ID, "frame-status").text)
    raw = bytes(page.js("return Array.from(window.zelPage.frame);"))
    width, height = struct.unpack("<II", raw[4:12])
    assert raw[:4] == b"ZRGB" and (width, height) == (96, 40), raw[:12]
    decoded = raw[12:]
    want = bytes(c for y in range(40) for x in range(96) for c in pixel(x, y))
    if frame.endswith(".png"):
        assert decoded == want, "the page decoded the PNG frame wrongly"
        image = frame
    else:
        error = sum(abs(a - b) for a, b in zip(decoded, want)) / len(want)
        assert error < 3, f"the page's decoded JPEG frame is far from the frame: {error:.1f}"
        image = f"{work}/decoded-{name}.png"
        write_png(image, 96, 40, lambda x, y: decoded[(y * 96 + x) * 3:(y * 96 + x) * 3 + 3])
    out, created = native_looks(work, "CAMB-001", "standard")
    assert page.make("CAMB-001", created)[0]["make"]["ok"]
    native = json.loads(zelgen("check", "--json", f"{out}/warm_teal.zel", "--look",
                               "warm_teal.cube", cwd=work).stdout)
    check_preview(page, work, out, "warm_teal", 0, native, image=image)
    page.driver.find_element(By.ID, "image-clear").click()


def check_size():
    """The module and the page's scripts stay within 3 MB."""
    size = site_size(SITE)
    assert size <= 3_000_000, f"the module and scripts take {size} bytes"


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


def main():
    os.makedirs(ARTIFACTS, exist_ok=True)
    check_size()
    work = tempfile.mkdtemp(prefix="zel-web-test-")
    downloads = os.path.join(work, "downloads")
    os.makedirs(downloads)
    for look in LOOKS:
        with open(f"{EXAMPLES}/{look}.cube", "rb") as src, open(f"{work}/{look}.cube", "wb") as dst:
            dst.write(src.read())
    write_grid65(f"{work}/grid65.cube")

    server, origin = serve(SITE)
    page = Page(origin + "/index.html", downloads)
    try:
        page.drop([f"{work}/{look}.cube" for look in LOOKS])
        check_made_looks(page, work, "CAMB-001", "standard")
        page.js("window.scrollTo(0, 0);")
        page.driver.save_screenshot(os.path.join(ARTIFACTS, "zel-page.png"))
        page.js("document.getElementById('result-2').scrollIntoView();")
        page.driver.save_screenshot(os.path.join(ARTIFACTS, "zel-page-result.png"))
        check_made_looks(page, work, "CAMB-002", "extended")
        png, jpeg = f"{work}/frame.png", f"{work}/frame.jpg"
        write_png(png, 96, 40, frame_pixel)
        write_jpeg(page, jpeg)
        check_frame_preview(page, work, png, frame_pixel)
        check_frame_preview(page, work, jpeg, smooth_pixel)
        check_bad_files(page, work)
        check_cancel(page, work)
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
