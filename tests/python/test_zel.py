"""The Python module against zelgen: the same look files, refusals, Ctrl-C, threads."""

import _thread
import json
import os
import subprocess
import threading

import numpy as np
import pytest

import zel

ZELGEN = os.environ["ZELGEN"]
LOOK = os.path.join(os.environ["ZEL_EXAMPLES_DIR"], "warm_teal.cube")
STAMP = slice(180, 188)  # the look file's creation time


def without_stamp(data):
    data = bytearray(data)
    data[STAMP] = bytes(8)
    return bytes(data)


def test_the_grid_runs_red_fastest_in_cube_file_order():
    rgb = zel.read_cube(LOOK)
    bgr = zel.read_cube(LOOK, order="cube_file")
    assert rgb.shape == (17, 17, 17, 3) and rgb.dtype == np.float32
    np.testing.assert_array_equal(rgb, bgr.transpose(2, 1, 0, 3))
    assert rgb[16, 0, 0, 0] > rgb[0, 0, 0, 0]  # red grows along the first axis


@pytest.mark.parametrize("camera", ["CAMB-001", "CAMB-002"])
def test_makes_and_shows_what_zelgen_makes_and_shows(tmp_path, camera):
    made = tmp_path / "Warm.zel"
    texts = {"note": "Warm teal", "header_tag": "Day 3"}
    subprocess.run([ZELGEN, "make", LOOK, "-o", str(made), "--camera", camera, "-q",
                    "--note", texts["note"], "--header-tag", texts["header_tag"]],
                   check=True, stdout=subprocess.DEVNULL)
    look = zel.make_look(zel.read_cube(LOOK), camera=camera, name="Warm.zel", **texts)
    assert without_stamp(look.data) == without_stamp(made.read_bytes())

    shown = json.loads(subprocess.run([ZELGEN, "inspect", "--json", str(made)], check=True,
                                      capture_output=True, text=True).stdout)
    assert zel.inspect(made) == shown
    from_bytes = zel.inspect(made.read_bytes())
    assert from_bytes["file"] is None and from_bytes["body"] == shown["body"]

    # The same look in the other index order: the same file, re-indexed in that order.
    other = zel.make_look(zel.read_cube(LOOK, order="cube_file"), camera=camera, order="cube_file",
                          name="Warm.zel", **texts)
    assert without_stamp(other.data) == without_stamp(look.data)
    np.testing.assert_array_equal(other.reindexed.transpose(2, 1, 0, 3), look.reindexed)
    assert "LUT_3D_SIZE 17" in look.cube_header


def test_aces_looks_have_no_reindexed_copy():
    look = zel.make_look(zel.read_cube(LOOK), source="acescct", output="pq", range="legal")
    assert look.reindexed is None and zel.inspect(look.data)["lookHeader"]["gridSize"] == 17


@pytest.mark.parametrize("arguments, words", [
    ({"source": "log3"}, "source='log3' is not one of"),
    ({"output": "srgb"}, "output="),
    ({"range": "video"}, "range="),
    ({"job": "large"}, "job="),
    ({"order": "rbg"}, "order="),
    ({"camera": "CAMX-009"}, "CAMX-009"),
    ({"note": "n" * 129}, "note is 129 bytes long"),
    ({"job": "extended", "full_domain": True}, "standard layout only"),
])
def test_refuses_bad_arguments(arguments, words):
    with pytest.raises(ValueError, match=words):
        zel.make_look(zel.read_cube(LOOK), **arguments)


def test_refuses_bad_looks_and_files(tmp_path):
    for lut, words in [(np.zeros((4, 4, 3, 3)), "shape"), (np.zeros((1, 1, 1, 3)), "outside 2"),
                       (np.full((3, 3, 3, 3), np.nan), "finite")]:
        with pytest.raises(ValueError, match=words):
            zel.make_look(lut)
    with pytest.raises(FileNotFoundError):
        zel.read_cube(tmp_path / "missing.cube")
    broken = tmp_path / "broken.cube"
    broken.write_text("LUT_3D_SIZE 2\n0 0 zero\n")
    with pytest.raises(ValueError, match="line 2"):
        zel.read_cube(broken)
    with pytest.raises(ValueError, match="not a look file"):
        zel.inspect(b"QKDF")


def test_reports_progress_on_the_calling_thread():
    seen = []
    zel.make_look(zel.read_cube(LOOK), progress=lambda p: seen.append((p, threading.get_ident())))
    assert [p for p, _ in seen][-1] == 99 and len(seen) == 8
    assert all(t == threading.get_ident() for _, t in seen)


def test_ctrl_c_cancels_the_job():
    lut = np.random.default_rng(7).random((129, 129, 129, 3), dtype=np.float32)  # a long stage 2
    started = threading.Event()
    seen = []

    def progress(p):
        seen.append(p)
        started.set()

    # Ctrl-C as the terminal sends it: to the main thread, while it waits for the job.
    interrupter = threading.Thread(target=lambda: started.wait(60) and _thread.interrupt_main())
    interrupter.start()
    with pytest.raises(KeyboardInterrupt):
        zel.make_look(lut, progress=progress)
    interrupter.join()
    assert 99 not in seen
    with pytest.raises(KeyboardInterrupt):
        zel.make_look(lut, progress=lambda p: _thread.interrupt_main())
    assert zel.make_look(lut[:5, :5, :5]).data[:4] == b"QKDF"


def test_two_jobs_on_two_threads():
    lut = zel.read_cube(LOOK)
    alone = {camera: zel.make_look(lut, camera=camera).data for camera in ("CAMB-001", "CAMA-001")}
    together = {}

    def make(camera):
        together[camera] = zel.make_look(lut, camera=camera).data

    threads = [threading.Thread(target=make, args=(camera,)) for camera in alone]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert {c: without_stamp(d) for c, d in together.items()} == \
        {c: without_stamp(d) for c, d in alone.items()}


@pytest.mark.parametrize("arguments, words", [
    ({"name": "a\0b.zel"}, "name holds a NUL"),
    ({"camera": "CAMB-001\0x"}, "camera holds a NUL"),
    ({"note": "Caf\u00e9"}, "note='Café' holds characters outside ASCII"),
])
def test_refuses_texts_the_look_file_cannot_hold(arguments, words):
    with pytest.raises(ValueError, match=words):
        zel.make_look(zel.read_cube(LOOK), **arguments)


def test_layouts_without_the_look_are_named_before_the_job():
    lut = zel.read_cube(LOOK)
    for camera in ("CAMB-001", "CAMA-001"):
        with pytest.warns(UserWarning, match=f"extended look file of {camera} carries no look"):
            zel.make_look(lut, camera=camera, job="extended")
    seen = []
    with pytest.raises(ValueError, match="does not fit the standard look file layout"):
        zel.make_look(lut, camera="CAMB-002", job="standard", progress=seen.append)
    assert seen == []


def test_shape_is_checked_before_the_array_is_copied():
    view = np.broadcast_to(np.float32(0.5), (2000, 2000, 2000, 3))  # 96 GB if copied
    with pytest.raises(ValueError, match="N=2000 is outside 2 to 255"):
        zel.make_look(view)


def test_inspect_reads_only_regular_files_of_a_look_files_size(tmp_path):
    fifo = tmp_path / "pipe.zel"
    os.mkfifo(fifo)
    for path in ("/dev/zero", fifo):  # each would never return
        with pytest.raises(ValueError, match="not a regular file"):
            zel.inspect(path)
    huge = tmp_path / "huge.zel"
    with open(huge, "wb") as f:
        f.truncate(2 << 30)
    with pytest.raises(ValueError, match="has 2147483648 bytes"):
        zel.inspect(huge)
    with pytest.raises(ValueError) as refusal:
        zel.inspect(b"QKDF")
    assert str(refusal.value).count("not a look file") == 1


def test_read_cube_refuses_numbers_beyond_the_float_range(tmp_path):
    for number in ("1e400", "-1e400", "1e39"):
        cube = tmp_path / "huge.cube"
        cube.write_text("LUT_3D_SIZE 2\n0 0 0\n0 " + number + " 0\n" + "0 0 0\n" * 6)
        with pytest.raises(ValueError, match=f'line 3: "0 {number} 0": .*too large'):
            zel.read_cube(cube)


def test_ctrl_c_stops_reading_a_fifo_without_a_writer(tmp_path):
    fifo = tmp_path / "never.cube"
    os.mkfifo(fifo)
    threading.Timer(0.3, _thread.interrupt_main).start()
    with pytest.raises(KeyboardInterrupt):
        zel.read_cube(fifo)


def test_check_gives_the_verdict_and_figures_of_zelgen_check(tmp_path):
    made = tmp_path / "Warm.zel"
    subprocess.run([ZELGEN, "make", LOOK, "-o", str(made), "--camera", "CAMB-001", "-q"],
                   check=True)
    shown = subprocess.run([ZELGEN, "check", str(made), "--look", LOOK, "--json"],
                           capture_output=True, text=True)
    assert shown.returncode == 0
    report = zel.check(made, look=LOOK)
    assert report == json.loads(shown.stdout)
    assert report["sound"] and report["lookWordsVerified"]
    # The look as an array, in either order, and the file as bytes give the same figures.
    same = zel.check(made.read_bytes(), look=zel.read_cube(LOOK, order="cube_file"), order="cube_file")
    assert same == report

    damaged = bytearray(made.read_bytes())
    damaged[-40] ^= 0xFF  # a word of the last register record
    found = zel.check(bytes(damaged), look=zel.read_cube(LOOK))
    assert found["damaged"] and not found["sound"] and "DAMAGED" in found["verdict"]
    assert not zel.check(bytes(damaged[:-3]))["sound"]
