"""The page in headless Chromium from a local static server: shared by the browser test and
the page benchmark (bench/web/page_bench.py)."""

import functools
import http.server
import os
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait


def serve(site):
    """Serves the folder `site` on a free local port: (server, origin)."""

    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(Quiet, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}"


def write_grid65(path):
    """A 65-grid look (a gentle colour shift), as a camera-sized job."""
    n = 65
    with open(path, "w") as f:
        f.write("LUT_3D_SIZE 65\n")
        for b in range(n):
            for g in range(n):
                for r in range(n):
                    f.write(f"{0.9 * r / 64 + 0.05:.6f} {g / 64 * 0.95:.6f} "
                            f"{0.1 + 0.8 * b / 64:.6f}\n")


def site_size(site):
    """Bytes of the module and every script the page loads."""
    total = 0
    for folder, _, files in os.walk(site):
        total += sum(os.path.getsize(os.path.join(folder, f)) for f in files
                     if f.endswith((".js", ".wasm")))
    return total


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
        self.load(url)

    def load(self, url):
        """Opens the page and waits until it is usable."""
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
