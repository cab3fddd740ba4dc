#!/usr/bin/env python3
"""The browser page's timings and size against the native zelgen on the same machine.

  * a 65-grid CAMB-002 extended job (the look file, the re-indexed .cube and the fidelity
    line, as `zelgen make --cube-out` makes them): `zelgen make` as a whole process, the
    page's job in its worker in headless Chromium, and the same module under Node; medians of
    several runs, zelgen's and the page's taken in turns so that a busy machine slows both
    alike; the ratio of the page's time to zelgen's (the aim: at most 2). The CPU times of
    zelgen and of Node show the ratio without the waits of a busy machine;
  * the first look of a page just loaded, asked for at once (the worker may still be making
    its own small look then): its job and the time from the click to the result;
  * the page's load time: from navigation to the page being usable (the module compiled and
    started, the camera table filled, the controls enabled), the median of several loads, from
    the browser's cache and without it (every load fetches and compiles the module again);
  * the size of the module and the page's scripts (the aim: at most 3 MB).

A benchmark, not a test: it prints the figures and fails only when something does not run.

usage: page_bench.py SITE_DIR ZELGEN [--runs N] [--loads N]
"""

import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "web"))
from page_session import Page, serve, site_size, write_grid65  # noqa: E402

CAMERA = "CAMB-002"
SETTLE = 4  # seconds between page loads


def native_job(zelgen, work):
    """The wall-clock and CPU time (user and system) of one zelgen make."""
    start, before = time.perf_counter(), resource.getrusage(resource.RUSAGE_CHILDREN)
    result = subprocess.run([zelgen, "make", "grid65.cube", "-o", "g.zel", "--camera", CAMERA,
                             "--job", "extended", "--cube-out", "g.cube"],
                            cwd=work, capture_output=True, text=True)
    seconds, after = time.perf_counter() - start, resource.getrusage(resource.RUSAGE_CHILDREN)
    assert result.returncode == 0, result.stderr
    return seconds, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def page_job(page):
    results = page.make(CAMERA)
    assert results[0]["make"]["ok"], results[0]
    return (page.js("return window.zelPage.results[0].seconds;"),
            page.js("return window.zelPage.job.seconds;"))


def load_times(page, url, loads, cached):
    page.driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": not cached})
    times = []
    for _ in range(loads):
        time.sleep(SETTLE)  # the last page's worker gone, its background work done
        page.load(url)
        times.append(page.js("return window.zelPage.timings.usable;"))
    return times


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("site")
    parser.add_argument("zelgen")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--loads", type=int, default=5)
    args = parser.parse_args()
    site, zelgen = os.path.abspath(args.site), os.path.abspath(args.zelgen)
    work = tempfile.mkdtemp(prefix="zel-web-bench-")
    write_grid65(os.path.join(work, "grid65.cube"))

    server, origin = serve(site)
    url = origin + "/index.html"
    page = Page(url, work)
    try:
        first_load = page.js("return window.zelPage.timings.usable;")
        cold = load_times(page, url, args.loads, cached=False)
        warm = load_times(page, url, args.loads, cached=True)
        # The first look of a page just loaded, asked for at once: the worker may still be
        # making its own small look (it has the browser optimise the code), so the time from
        # the click to the result counts.
        page.load(url)
        page.drop([os.path.join(work, "grid65.cube")])
        first_job, first_look = page_job(page)
        native, native_cpu, in_page, whole = [], [], [], []
        for _ in range(args.runs):
            seconds, cpu = native_job(zelgen, work)
            native.append(seconds)
            native_cpu.append(cpu)
            job, look = page_job(page)
            in_page.append(job)
            whole.append(look)
    finally:
        page.driver.quit()
        server.shutdown()
    node_out = subprocess.run(["node", os.path.join(os.path.dirname(__file__), "node_job.js"),
                               site, os.path.join(work, "grid65.cube"), CAMERA,
                               str(args.runs)], capture_output=True, text=True, check=True)
    node = [float(line.split()[0]) for line in node_out.stdout.splitlines()]
    node_cpu = [float(line.split()[1]) for line in node_out.stdout.splitlines()]

    median = statistics.median
    print(f"65-grid {CAMERA} extended job with the re-indexed .cube and the fidelity line, "
          f"medians of {args.runs}:")
    print(f"  zelgen make --cube-out (whole process)  {median(native):6.3f} s   "
          f"CPU {median(native_cpu):.3f} s")
    print(f"  the page (job in its worker)            {median(in_page):6.3f} s   "
          f"ratio {median(in_page) / median(native):.2f} (aim: at most 2)")
    print(f"  the page (job, check and preview)       {median(whole):6.3f} s")
    print(f"  Node (the same module)                  {median(node):6.3f} s   "
          f"ratio {median(node) / median(native):.2f}; CPU {median(node_cpu):.3f} s, ratio "
          f"{median(node_cpu) / median(native_cpu):.2f}; first job in the process {node[0]:.3f} s")
    print(f"  the page's first look, asked for as soon as the page is usable: job "
          f"{first_job:.3f} s (ratio {first_job / median(native):.2f}), click to result "
          f"(job, check, preview) {first_look:.3f} s")
    print(f"page usable after navigation, medians of {args.loads}: {median(warm):.0f} ms "
          f"(from the browser's cache), {median(cold):.0f} ms (cache off); first load "
          f"{first_load:.0f} ms (aim: within 1000 ms)")
    size = site_size(site)
    print(f"module and scripts: {size / 1e6:.2f} MB (aim: at most 3 MB)")


if __name__ == "__main__":
    main()
