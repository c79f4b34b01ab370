#!/usr/bin/env python3
"""Whole-process comparisons of mirudex-lookup with grep over the same file.

Runs every pair of commands interleaved (lookup, grep, lookup, grep, ...) so
that the load of a shared machine falls on both alike, and reports for each
the median CPU time (user + system, from wait4) and the peak RSS, and the
ratio of the medians. CPU time rather than wall time: on a busy machine the
wall time mostly measures the other processes.

  bench/compare-grep.py BUILD_DIR DATA_DIR [--runs N]

DATA_DIR is a working directory prepared by scripts/setup-data.sh; its index
files are made first by one untimed look-up.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile


# A small C starter that forks and waits for the command: its rusage is the
# command's alone (a fork of this Python process would count Python's pages as
# the command's peak RSS), with microseconds of CPU time.
STARTER = r"""
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
int main(int argc, char** argv) {
    pid_t pid = fork();
    if (pid == 0) { execvp(argv[2], argv + 2); _exit(127); }
    int status; struct rusage ru;
    wait4(pid, &status, 0, &ru);
    FILE* f = fopen(argv[1], "w");
    fprintf(f, "%ld %ld\n", ru.ru_utime.tv_sec * 1000000L + ru.ru_utime.tv_usec + ru.ru_stime.tv_sec * 1000000L +
            ru.ru_stime.tv_usec, ru.ru_maxrss);
    fclose(f);
    return 0;
}
"""


def build_starter(folder):
    source = os.path.join(folder, "starter.c")
    with open(source, "w") as f:
        f.write(STARTER)
    binary = os.path.join(folder, "starter")
    subprocess.run(["cc", "-O2", "-o", binary, source], check=True)
    return binary


def run(starter, cmd, cwd, folder):
    """CPU seconds (user + system) and peak RSS in MB of one run of cmd. The
    output goes to a file: grep stops at its first match when its output is
    /dev/null."""
    env = dict(os.environ, LC_ALL="C" if cmd[0] == "grep" else os.environ.get("LC_ALL", "C.UTF-8"))
    # The look-up works in the data folder itself (it has no Options.mxreg,
    # which would otherwise send it to the user's data folder).
    env["MIRUDEX_HOME"] = cwd
    figures = os.path.join(folder, "figures")
    with open(os.path.join(folder, "out"), "w") as out:
        subprocess.run([starter, figures] + cmd, cwd=cwd, env=env, stdout=out, stderr=subprocess.DEVNULL)
    with open(figures) as f:
        micros, kb = f.read().split()
    return int(micros) / 1e6, int(kb) / 1024.0


CASES = [
    # (name, lookup arguments, grep arguments, goal ratio[, file grep reads, from the data folder])
    # grep looks for the bytes the dictionary holds: EUC-JP.
    ("exact ねこ", ["--type", "exact", "ねこ"], ["-c", "ねこ".encode("euc_jp")], 1.0),
    ("en exact cat, no maximum", ["--lang", "en", "--type", "exact", "--max", "-1", "cat"], ["-ciw", "cat"], 1.0),
    ("en exact to, no maximum", ["--lang", "en", "--type", "exact", "--max", "-1", "to"], ["-ciw", "to"], 2.0),
    # A kanji search, from the index of the kanji dictionary, against grep over
    # that dictionary. KANJIDIC is one file of fixed size: it does not scale
    # with --dict.
    ("kanji KN:water", ["KN:water"], ["-c", "water"], 1.0, "DICT/kanjidic"),
]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("data")
    ap.add_argument("--runs", type=int, default=21)
    ap.add_argument("--dict", default="DICT/edict")
    ap.add_argument("--lookup", help="this mirudex-lookup instead of the build's")
    args = ap.parse_args()
    lookup = args.lookup or os.path.abspath(os.path.join(args.build, "src", "cli", "mirudex-lookup"))
    data = os.path.abspath(args.data)
    edict = os.path.join(data, args.dict)
    for first in ("ねこ", "KN:water"):  # the index files of the dictionary and of the kanji dictionary
        subprocess.run([lookup, first], cwd=data, env=dict(os.environ, MIRUDEX_HOME=data), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    folder = tempfile.mkdtemp(prefix="mirudex-compare-")
    starter = build_starter(folder)
    print(f"{'case':28} {'lookup ms':>10} {'grep ms':>8} {'ratio':>6} {'goal':>5} {'lookup MB':>10} {'grep MB':>8}")
    for name, largs, gargs, goal, *file in CASES:
        grepped = os.path.join(data, file[0]) if file else edict
        lt, gt, lm, gm = [], [], [], []
        for _ in range(args.runs):
            t, m = run(starter, [lookup] + largs, data, folder)
            lt.append(t)
            lm.append(m)
            t, m = run(starter, ["grep"] + gargs + [grepped], data, folder)
            gt.append(t)
            gm.append(m)
        l, g = statistics.median(lt) * 1000, statistics.median(gt) * 1000
        print(f"{name:28} {l:10.1f} {g:8.1f} {l / g if g else 0:6.2f} {goal:5.1f} {max(lm):10.1f} {max(gm):8.1f}")
    shutil.rmtree(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
