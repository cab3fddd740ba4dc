#!/usr/bin/env python3
"""The case runner itself: a difference fails with a diff, the update mode rewrites exactly
the expected files so that the case passes again, and a case whose preparing step fails is
never "updated" into passing."""

import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
RUNNER = HERE / "run_case.py"


def run(zelgen, case, scratch, update=False):
    command = [sys.executable, str(RUNNER), "--zelgen", zelgen, "--scratch", str(scratch)]
    command += ["--update"] if update else []
    result = subprocess.run(command + [str(case)], capture_output=True, text=True, check=False)
    return result.returncode, result.stdout + result.stderr


def expect(condition, what, output):
    if not condition:
        print(f"FAILED: {what}\n{output}")
        sys.exit(1)


def main():
    zelgen = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        work = Path(folder)
        case = work / "usage-unknown-command"
        shutil.copytree(HERE / case.name, case)
        original = {p.name: p.read_bytes() for p in case.iterdir()}

        (case / "expected-stdout").write_text("a line zelgen does not print\n")
        (case / "expected-status").write_text("0\n")
        status, output = run(zelgen, case, work / "scratch")
        expect(status == 1, "a changed output fails the case", output)
        expect("-a line zelgen does not print" in output and "+2" in output,
               "the failure shows a unified diff of expected and actual", output)
        expect((work / "scratch").is_dir(), "a failed case keeps its scratch folder", output)

        status, output = run(zelgen, case, work / "scratch", update=True)
        expect(status == 0 and "updated expected-stdout, expected-status" in output,
               "the update mode names the files it rewrote", output)
        now = {p.name: p.read_bytes() for p in case.iterdir()}
        expect(now == original, "the update mode writes back exactly the expected output",
               output)
        status, output = run(zelgen, case, work / "scratch")
        expect(status == 0, "an updated case passes", output)
        expect(not (work / "scratch").exists(), "a passing case removes its scratch folder",
               output)

        (case / "cmd").write_text("cut missing.zel 10\n" + original["cmd"].decode())
        status, output = run(zelgen, case, work / "scratch", update=True)
        expect(status == 1 and "missing.zel" in output,
               "a preparing step that fails fails the case, even in update mode", output)
        expect({p.name: p.read_bytes() for p in case.iterdir() if p.name != "cmd"} ==
               {k: v for k, v in original.items() if k != "cmd"},
               "a case that cannot run leaves its expected files alone", output)
    print("the runner reports differences, updates and refusals as it should")


if __name__ == "__main__":
    main()
