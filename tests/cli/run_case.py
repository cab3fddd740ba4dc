#!/usr/bin/env python3
"""Runs one of zelgen's command-line cases (a folder of tests/cli) and compares what the
command printed and its exit status with the case's expected files.

A case folder holds:
  cmd              the commands, one a line; every line but the last prepares the scratch
                   folder and must succeed, the last is the command under test
  expected-stdout  its standard output
  expected-stderr  its standard error
  expected-status  its exit status
  any other file   an input, copied into the scratch folder beside tests/cli/inputs/*

A line starting with `zelgen` runs the tool under test; the other lines are the runner's
own steps, so that a case needs no shell:
  mkfifo NAME             a FIFO with no writer
  mkdir NAME              a folder
  sparse NAME BYTES       a file of BYTES zero bytes that takes no room on disk
  cut NAME BYTES          keeps the first BYTES bytes of a file
  poke NAME OFFSET HEX..  overwrites bytes from OFFSET (decimal) with the hexadecimal bytes

The output is compared as printed, except for the scratch folder's path (written
<scratch>), which differs from build to build. With --update (or ZEL_CLI_UPDATE=1 in the
environment) the expected files are rewritten from what the command printed instead.
"""

import argparse
import difflib
import os
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

EXPECTED = ("expected-stdout", "expected-stderr", "expected-status")
CASE_FILES = ("cmd",) + EXPECTED
# Long enough for a check of a large look on a loaded machine; a hang ends the case.
TIMEOUT_SECONDS = 300


class CaseError(Exception):
    """A case that cannot be run as written."""


def parse_offset(text):
    try:
        value = int(text, 10)
    except ValueError:
        raise CaseError(f"'{text}' is not a decimal number") from None
    if value < 0:
        raise CaseError(f"'{text}' is negative")
    return value


def builtin_step(words, scratch):
    """Runs one of the runner's own steps; False when the words name none."""
    verb, args = words[0], words[1:]
    counts = {"mkfifo": 1, "mkdir": 1, "sparse": 2, "cut": 2}
    if verb in counts and len(args) != counts[verb]:
        raise CaseError(f"{verb} takes {counts[verb]} argument(s)")
    if verb == "mkfifo":
        os.mkfifo(scratch / args[0])
    elif verb == "mkdir":
        (scratch / args[0]).mkdir()
    elif verb == "sparse":
        with open(scratch / args[0], "wb") as file:
            file.truncate(parse_offset(args[1]))
    elif verb == "cut":
        os.truncate(scratch / args[0], parse_offset(args[1]))
    elif verb == "poke":
        if len(args) < 3:
            raise CaseError("poke takes a file, an offset and at least one byte")
        data = bytes(int(byte, 16) for byte in args[2:])
        with open(scratch / args[0], "r+b") as file:
            file.seek(parse_offset(args[1]))
            file.write(data)
    else:
        return False
    return True


def run_zelgen(words, zelgen, scratch):
    # The same environment for every run: no time stamp from outside (the cases give
    # --created), the C locale for the library's number formatting.
    env = {key: value for key, value in os.environ.items() if key != "SOURCE_DATE_EPOCH"}
    env.update({"LC_ALL": "C", "TZ": "UTC"})
    try:
        result = subprocess.run([str(zelgen)] + words[1:], cwd=scratch, env=env,
                                stdin=subprocess.DEVNULL, capture_output=True,
                                timeout=TIMEOUT_SECONDS, check=False)
    except subprocess.TimeoutExpired:
        raise CaseError(f"'{shlex.join(words)}' did not end within {TIMEOUT_SECONDS} s") from None
    return result.stdout, result.stderr, result.returncode


def normalise(data, scratch):
    text = data.decode("utf-8", errors="surrogateescape")
    # The resolved path first: it may be longer than the one the runner was given.
    for path in sorted({str(scratch.resolve()), str(scratch)}, key=len, reverse=True):
        text = text.replace(path, "<scratch>")
    return text


def prepare_scratch(case, inputs, scratch):
    if scratch.exists():
        shutil.rmtree(scratch)
    scratch.mkdir(parents=True)
    sources = sorted(inputs.iterdir()) if inputs.is_dir() else []
    sources += sorted(p for p in case.iterdir() if p.name not in CASE_FILES)
    for source in sources:
        if source.is_file():
            shutil.copyfile(source, scratch / source.name)


def read_commands(case):
    lines = (case / "cmd").read_text(encoding="utf-8").splitlines()
    commands = [shlex.split(line) for line in lines
                if line.strip() and not line.lstrip().startswith("#")]
    if not commands:
        raise CaseError("cmd holds no command")
    if commands[-1][0] != "zelgen":
        raise CaseError("the last line of cmd must run zelgen")
    return commands


def run_case(case, zelgen, scratch, inputs):
    """The command's (stdout, stderr, status) as the expected files hold them."""
    prepare_scratch(case, inputs, scratch)
    commands = read_commands(case)
    for words in commands[:-1]:
        if words[0] == "zelgen":
            out, err, status = run_zelgen(words, zelgen, scratch)
            if status != 0:
                raise CaseError(f"the preparing step '{shlex.join(words)}' exited with {status}:\n"
                                + normalise(out + err, scratch))
        elif not builtin_step(words, scratch):
            raise CaseError(f"'{words[0]}' is neither zelgen nor a step of the runner")
    out, err, status = run_zelgen(commands[-1], zelgen, scratch)
    return normalise(out, scratch), normalise(err, scratch), f"{status}\n"


def write_if_changed(path, text):
    if path.exists() and path.read_text(encoding="utf-8", errors="surrogateescape") == text:
        return False
    temporary = path.with_name(path.name + ".new")
    temporary.write_text(text, encoding="utf-8", errors="surrogateescape")
    os.replace(temporary, path)
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--zelgen", required=True, type=Path, help="the zelgen to test")
    parser.add_argument("--scratch", required=True, type=Path,
                        help="the folder the case runs in (emptied first)")
    parser.add_argument("--update", action="store_true",
                        help="rewrite the expected files from what the command printed")
    parser.add_argument("case", type=Path, help="the case folder")
    args = parser.parse_args()
    update = args.update or os.environ.get("ZEL_CLI_UPDATE", "") not in ("", "0")
    case = args.case.resolve()
    inputs = Path(__file__).resolve().parent / "inputs"
    try:
        actual = run_case(case, args.zelgen.resolve(), args.scratch.absolute(), inputs)
    except (CaseError, OSError) as error:
        print(f"{case.name}: {error}", file=sys.stderr)
        return 1

    if update:
        changed = [name for name, text in zip(EXPECTED, actual)
                   if write_if_changed(case / name, text)]
        print(f"{case.name}: " + (f"updated {', '.join(changed)}" if changed else "unchanged"))
        shutil.rmtree(args.scratch, ignore_errors=True)
        return 0

    failed = False
    for name, text in zip(EXPECTED, actual):
        path = case / name
        if not path.exists():
            print(f"{case.name}: {name} is missing; run with ZEL_CLI_UPDATE=1 to write it")
            failed = True
            continue
        want = path.read_text(encoding="utf-8", errors="surrogateescape")
        if want != text:
            failed = True
            sys.stdout.writelines(difflib.unified_diff(
                want.splitlines(keepends=True), text.splitlines(keepends=True),
                f"{case.name}/{name} (expected)", f"{case.name}/{name} (actual)"))
            if not text.endswith("\n") or not want.endswith("\n"):
                print("\n(a text above ends without a line break)")
    if failed:
        print(f"{case.name}: the output differs; if the change is meant, run the case with "
              f"ZEL_CLI_UPDATE=1 (tests/cli/README.md); its files are in {args.scratch}")
        return 1
    # A case that passed leaves nothing behind; a failed one keeps its files to look at.
    shutil.rmtree(args.scratch, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
