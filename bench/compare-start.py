#!/usr/bin/env python3
"""Whole-process warm starts of the desktop program against a bare Qt window.

Runs build/bench/mirudex_start_probe (the desktop program's whole start, as
main() runs it, up to ready, then the end of the process) and
build/bench/mirudex_start_minimal (a bare window shown) and
build/bench/mirudex_start_text (the bare window with a menu bar and a line of
text: what any window that shows text pays) interleaved, on Qt's offscreen
platform, in a temporary working folder with Debian's EDICT at 1x and 8x
(copies c > 0 of every line with the headword suffix "~c", as the scaling
benchmark makes them), as an untimed first start and a session of the
program (ended with SIGTERM) leave it for a user's next start. Reports the
median wall and CPU time and the peak RSS of each, and the ratios to the
bare window.

Each program ends once its window is shown and painted. With --platform xcb
they run on a private X server (xvfb-run, started here when DISPLAY is not
set), where a start also pays for the connection to the server and waits for
the window to be mapped and exposed, as on a desktop.

  bench/compare-start.py BUILD_DIR DATA_DIR [--runs N] [--platform offscreen|xcb]
"""
import argparse
import importlib.machinery
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
import types

HERE = os.path.dirname(os.path.abspath(__file__))
# compare-grep.py's helpers, loaded by path (its name is no module name).
_loader = importlib.machinery.SourceFileLoader("compare_grep", os.path.join(HERE, "compare-grep.py"))
compare_grep = types.ModuleType(_loader.name)
_loader.exec_module(compare_grep)


def make_folder(data, scale, root):
    folder = os.path.join(root, f"x{scale}")
    os.makedirs(os.path.join(folder, "DICT"))
    for name in ("fuzzysearch.uni.dat", "partsofspeech.mxf", "radkfile.dat"):
        shutil.copy(os.path.join(data, name), folder)
    os.symlink(os.path.realpath(os.path.join(data, "DICT", "kanjidic")), os.path.join(folder, "DICT", "kanjidic"))
    with open(os.path.join(data, "DICT", "edict"), "rb") as f:
        text = f.read()
    with open(os.path.join(folder, "DICT", "edict"), "wb") as out:
        out.write(text)
        for copy in range(1, scale):
            suffix = f"~{copy}".encode()
            for line in text.splitlines(keepends=True):
                space = line.find(b" ")
                out.write(line if space < 0 else line[:space] + suffix + line[space:])
    return folder


def timed(starter, cmd, cwd, folder):
    start = time.perf_counter()
    cpu, mb = compare_grep.run(starter, cmd, cwd, folder)
    return time.perf_counter() - start, cpu, mb


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("data")
    ap.add_argument("--runs", type=int, default=21)
    ap.add_argument("--scales", default="1,8")
    ap.add_argument("--platform", choices=["offscreen", "xcb"], default="offscreen")
    args = ap.parse_args()
    if args.platform == "xcb" and not os.environ.get("DISPLAY"):
        server = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp"]
        return subprocess.run(server + [sys.executable] + sys.argv).returncode
    probe = os.path.abspath(os.path.join(args.build, "bench", "mirudex_start_probe"))
    minimal = os.path.abspath(os.path.join(args.build, "bench", "mirudex_start_minimal"))
    with_text = os.path.abspath(os.path.join(args.build, "bench", "mirudex_start_text"))
    desktop = os.path.abspath(os.path.join(args.build, "src", "app", "mirudex"))
    os.environ["QT_QPA_PLATFORM"] = args.platform
    root = tempfile.mkdtemp(prefix="mirudex-start-")
    try:
        if not os.environ.get("XDG_RUNTIME_DIR"):
            os.environ["XDG_RUNTIME_DIR"] = os.path.join(root, "runtime")
            os.mkdir(os.environ["XDG_RUNTIME_DIR"], 0o700)
        print(f"platform: {args.platform}")
        starter = compare_grep.build_starter(root)
        print(f"{'start':16} {'wall ms':>8} {'cpu ms':>7} {'MB':>6} {'wall/bare':>9} {'cpu/bare':>8} "
              f"{'wall/text':>9} {'cpu/text':>8}")
        for scale in [int(s) for s in args.scales.split(",")]:
            folder = make_folder(os.path.abspath(args.data), scale, root)
            env = dict(os.environ, MIRUDEX_HOME=folder)
            quiet = {"cwd": folder, "env": env, "stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL}
            # Past the first start's messages; the program adds every other option.
            with open(os.path.join(folder, "Options.mxreg"), "w", encoding="utf-8") as f:
                f.write("KEY_START :: Misc\n\tBOOL :: FirstTime :: FALSE\nKEY_STOP\n")
            # The first start makes the index files. The second is ended as a
            # desktop session ends it (SIGTERM: the shutdown of File > Exit) and
            # leaves what a user's next start finds: the whole options file,
            # the history and the study list file.
            subprocess.run([probe], stderr=subprocess.DEVNULL, timeout=600, **quiet)
            session = subprocess.Popen([desktop], stderr=subprocess.DEVNULL, **quiet)
            time.sleep(5)
            session.send_signal(signal.SIGTERM)
            if session.wait(timeout=60) != 0:
                sys.exit(f"the desktop program ended with status {session.returncode} at its shutdown")
            programs = {"program": probe, "bare window": minimal, "text window": with_text}
            # Each must end shown and ready (status 0) before it is timed.
            for name, command in programs.items():
                done = subprocess.run([command], stderr=subprocess.PIPE, timeout=60, **quiet)
                if done.returncode != 0:
                    sys.exit(f"{name} ended with status {done.returncode}: {done.stderr.decode(errors='replace')}")
            figures = {name: [] for name in programs}
            for _ in range(args.runs):
                for name, command in programs.items():
                    # The X server has freed what the last program left before the next starts.
                    time.sleep(0.05)
                    figures[name].append(timed(starter, [command], folder, root))
            medians = {
                name: [statistics.median(r[i] for r in runs) for i in range(2)] for name, runs in figures.items()
            }
            bare, texted = medians["bare window"], medians["text window"]
            for name, runs in figures.items():
                wall, cpu = medians[name]
                mb = max(r[2] for r in runs)
                print(f"{name + f' {scale}x':16} {wall * 1000:8.1f} {cpu * 1000:7.1f} {mb:6.1f} "
                      f"{wall / bare[0]:9.2f} {cpu / bare[1] if bare[1] else 0:8.2f} "
                      f"{wall / texted[0]:9.2f} {cpu / texted[1] if texted[1] else 0:8.2f}")
    finally:
        shutil.rmtree(root)
    return 0


if __name__ == "__main__":
    sys.exit(main())
