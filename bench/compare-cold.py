#!/usr/bin/env python3
"""What a cold build costs, set side by side with plain yardsticks, at 1x and
8x EDICT (the 8x file made as bench_scale makes it: copy c > 0 of every line
has its headword made distinct by the suffix "~c").

  bench/compare-cold.py BUILD_DIR DATA_DIR [--runs N] [--scales 1,8]

Each pair of commands runs interleaved (ours, yardstick, ours, ...) so that
the load of a shared machine falls on both alike; the figures are medians of
the CPU time (user + system, from wait4; on a busy machine the wall time
mostly measures the other processes) and the largest peak RSS.

  first search   mirudex-lookup --type exact ねこ with no index files (the
                 first search after the dictionary changed: the load from
                 the text, the index files written, the structures the
                 search needs built), against bench/anchors/edict_index (a
                 plain C++ program that reads the file, converts it with
                 iconv and writes a sorted index of its headwords and
                 readings). Goal <= 2.0x.
  all structures mirudex-lookup --build-indexes (every structure built and
                 written) against LC_ALL=C sort of the file. Goal <= 2.5x.
  build memory   the peak RSS of that build against the dictionary's size.
                 Goal <= 3x.
  on disk        the index file and its companion against the dictionary's
                 size. Goal <= 2x.

DATA_DIR is a working directory prepared by scripts/setup-data.sh.

On the shared 2-core build machine (RelWithDebInfo, median of 3):
                  1x (18.1 MB)               8x (148 MB)
  first search    1101 ms / 416 ms = 2.65    15.5 s / 4.16 s = 3.72
  all structures  1754 ms / 86 ms = 20.4     20.8 s / 776 ms = 26.8
  build peak      110 MB = 6.1x              812 MB = 5.5x
  on disk         59.2 MB = 3.27x            507 MB = 3.42x
The entries' own ranks take about 55 % of the first search (perf: the
sorting of every headword's parts and their lookups); the built image alone
is 3x the dictionary, and is held whole until its file is written.
"""
import argparse
import importlib.util
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def load_compare_grep():
    found = importlib.util.spec_from_file_location("compare_grep", os.path.join(HERE, "compare-grep.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def scaled_dictionary(source, scale, target):
    with open(source, "rb") as f:
        text = f.read()
    with open(target, "wb") as out:
        out.write(text)
        for copy in range(1, scale):
            suffix = b"~" + str(copy).encode()
            for line in text.splitlines(keepends=True):
                space = line.find(b" ")
                out.write(line if space < 0 else line[:space] + suffix + line[space:])


def working_folder(data, scale, root):
    """A working folder of its own for one scale: the dictionary a regular
    file (no index any other folder shares stands for it), the kanji
    dictionary and our data files as in DATA_DIR, no names dictionary."""
    folder = os.path.join(root, f"x{scale}")
    os.makedirs(os.path.join(folder, "DICT"))
    for name in os.listdir(data):
        path = os.path.join(data, name)
        if os.path.isfile(path) and not name.startswith("Options"):
            shutil.copy(path, folder)
    os.symlink(os.path.realpath(os.path.join(data, "DICT", "kanjidic")), os.path.join(folder, "DICT", "kanjidic"))
    scaled_dictionary(os.path.realpath(os.path.join(data, "DICT", "edict")), scale,
                      os.path.join(folder, "DICT", "edict"))
    return folder


def run(starter, cmd, cwd, scratch, env_extra=None):
    """CPU seconds and peak RSS in MB of one run of cmd, its output in a file."""
    env = dict(os.environ, MIRUDEX_HOME=cwd, LC_ALL=os.environ.get("LC_ALL", "C.UTF-8"))
    env.update(env_extra or {})
    figures = os.path.join(scratch, "figures")
    with open(os.path.join(scratch, "out"), "w") as out:
        subprocess.run([starter, figures] + cmd, cwd=cwd, env=env, stdout=out, stderr=subprocess.DEVNULL)
    with open(figures) as f:
        micros, kb = f.read().split()
    return int(micros) / 1e6, int(kb) / 1024.0


def remove_index_files(folder):
    for suffix in (".mxi", ".mxs"):
        path = os.path.join(folder, "DICT", "edict" + suffix)
        if os.path.exists(path):
            os.remove(path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("data")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--scales", default="1,8")
    ap.add_argument("--lookup", help="this mirudex-lookup instead of the build's")
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    lookup = args.lookup or os.path.join(build, "src", "cli", "mirudex-lookup")
    anchor = os.path.join(build, "bench", "mirudex_anchor_edict_index")
    data = os.path.abspath(args.data)
    root = tempfile.mkdtemp(prefix="mirudex-cold-")
    try:
        starter = load_compare_grep().build_starter(root)
        scratch = os.path.join(root, "scratch")
        os.makedirs(scratch)
        print(f"{'case':24} {'ours':>9} {'yardstick':>10} {'ratio':>6} {'goal':>5} {'ours MB':>8} {'yard MB':>8}")
        for scale in [int(s) for s in args.scales.split(",")]:
            folder = working_folder(data, scale, root)
            edict = os.path.join(folder, "DICT", "edict")
            dict_mb = os.path.getsize(edict) / 2**20
            shared = os.path.join(root, "shared")
            ours_search, anchor_t, ours_search_mb, anchor_mb = [], [], [], []
            ours_build, sort_t, build_mb, sort_mb = [], [], [], []
            for _ in range(args.runs):
                remove_index_files(folder)
                t, m = run(starter, [lookup, "--type", "exact", "ねこ"], folder, scratch)
                ours_search.append(t)
                ours_search_mb.append(m)
                t, m = run(starter, [anchor, edict, os.path.join(scratch, "anchor.idx")], folder, scratch)
                anchor_t.append(t)
                anchor_mb.append(m)
                shutil.rmtree(shared, ignore_errors=True)
                t, m = run(starter, [lookup, "--build-indexes", shared, edict], scratch, scratch)
                ours_build.append(t)
                build_mb.append(m)
                t, m = run(starter, ["sort", "-o", os.path.join(scratch, "sorted"), edict], folder, scratch,
                           {"LC_ALL": "C"})
                sort_t.append(t)
                sort_mb.append(m)
            on_disk = sum(os.path.getsize(os.path.join(shared, n)) for n in os.listdir(shared)
                          if not os.path.islink(os.path.join(shared, n))) / 2**20

            def line(name, ours, yard, goal, ours_mb, yard_mb):
                o, y = statistics.median(ours) * 1000, statistics.median(yard) * 1000
                print(f"{name:24} {o:7.0f}ms {y:8.0f}ms {o / y if y else 0:6.2f} {goal:5.1f} "
                      f"{max(ours_mb):8.1f} {max(yard_mb):8.1f}")

            print(f"-- {scale}x EDICT, {dict_mb:.1f} MB")
            line("first search / anchor", ours_search, anchor_t, 2.0, ours_search_mb, anchor_mb)
            line("all structures / sort", ours_build, sort_t, 2.5, build_mb, sort_mb)
            peak = max(build_mb)
            print(f"{'build peak / dictionary':24} {peak:7.1f}MB {dict_mb:8.1f}MB {peak / dict_mb:6.2f} {3.0:5.1f}")
            print(f"{'on disk / dictionary':24} {on_disk:7.1f}MB {dict_mb:8.1f}MB {on_disk / dict_mb:6.2f} {2.0:5.1f}")
            sys.stdout.flush()
            shutil.rmtree(folder)
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
