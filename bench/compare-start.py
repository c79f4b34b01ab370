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

With --platform xcb the desktop dictionaries a learner can install from
Debian (gjiten, goldendict, kiten: those installed) are timed in the same
rounds, each with a home folder of its own that an untimed first start has
set up: a peer is ready when its first window is mapped (it is then ended),
which is no later than it is painted, so the comparison favours the peers.
The desktop program itself is timed the same way ("program mapped"). The X
server runs with a session bus of its own (dbus-run-session), as a desktop
has one: without it some peers never show their window.

  bench/compare-start.py BUILD_DIR DATA_DIR [--runs N] [--platform offscreen|xcb] [--peers a,b]

On the shared 2-core build machine, xcb, median of 7 (wall ms, ratio to the
bare window / to the text window): 1x program 105.5 (2.16 / 1.72), mapped
85.7; gjiten 198, goldendict 362, kiten 463 (to their window mapped). 8x
program 227 (3.80 / 3.46), mapped 95: the main window is up as at 1x and
then waits for the load, whose checks of the index files read them through
(BM_ScaleWarmLoad: 42 ms checked, 0.2 ms unchecked at 8x).
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


# Starts a command on the X server and reports when its first window is
# mapped: microseconds from the start, the CPU time it had used by then and
# its peak RSS (kB) so far; -1 when no window came before the time-out. The
# command is then ended.
WATCHER = r"""
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
static long since(const struct timespec* t0) {
    struct timespec t; clock_gettime(CLOCK_MONOTONIC, &t);
    return (t.tv_sec - t0->tv_sec) * 1000000L + (t.tv_nsec - t0->tv_nsec) / 1000;
}
static void figures_of(pid_t pid, long* cpu, long* kb) {
    char path[64], buf[8192]; FILE* f; size_t n;
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    if ((f = fopen(path, "r"))) {
        n = fread(buf, 1, sizeof buf - 1, f); fclose(f); buf[n] = 0;
        char* p = strrchr(buf, ')');
        long ut = 0, st = 0;
        /* after the name: state, then fields 4..13, then utime and stime */
        if (p && sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %ld %ld", &ut, &st) == 2)
            *cpu = (ut + st) * (1000000L / sysconf(_SC_CLK_TCK));
    }
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    if ((f = fopen(path, "r"))) {
        while (fgets(buf, sizeof buf, f))
            if (strncmp(buf, "VmHWM:", 6) == 0) *kb = atol(buf + 6);
        fclose(f);
    }
}
int main(int argc, char** argv) {
    Display* d = XOpenDisplay(NULL);
    if (!d || argc < 4) return 2;
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    double timeout = atof(argv[2]);
    struct timespec t0; clock_gettime(CLOCK_MONOTONIC, &t0);
    pid_t pid = fork();
    if (pid == 0) { execvp(argv[3], argv + 3); _exit(127); }
    long ready = -1, cpu = -1, kb = -1;
    struct pollfd pfd = {ConnectionNumber(d), POLLIN, 0};
    while (ready < 0 && since(&t0) < timeout * 1e6) {
        while (ready < 0 && XPending(d)) {
            XEvent e; XNextEvent(d, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) {
                ready = since(&t0);
                figures_of(pid, &cpu, &kb);
            }
        }
        if (ready < 0 && waitpid(pid, NULL, WNOHANG) == pid) { pid = -1; break; }
        if (ready < 0) poll(&pfd, 1, 20);
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        for (int i = 0; i < 100 && waitpid(pid, NULL, WNOHANG) == 0; ++i) usleep(20000);
        kill(pid, SIGKILL);
        waitpid(pid, NULL, 0);
    }
    FILE* f = fopen(argv[1], "w");
    fprintf(f, "%ld %ld %ld\n", ready, cpu, kb);
    fclose(f);
    return ready < 0;
}
"""

PEERS = ("gjiten", "goldendict", "kiten")


def build_watcher(folder):
    source = os.path.join(folder, "watcher.c")
    with open(source, "w") as f:
        f.write(WATCHER)
    binary = os.path.join(folder, "watcher")
    if subprocess.run(["cc", "-O2", "-o", binary, source, "-lX11"]).returncode != 0:
        return None
    return binary


def mapped(watcher, cmd, cwd, env, folder):
    """Wall and CPU seconds to the first window mapped and the peak RSS in MB
    by then; None when no window came."""
    figures = os.path.join(folder, "mapped")
    subprocess.run([watcher, figures, "60"] + cmd, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(figures) as f:
        ready, cpu, kb = (int(x) for x in f.read().split())
    return None if ready < 0 else (ready / 1e6, cpu / 1e6, kb / 1024.0)


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
    ap.add_argument("--peers", default=",".join(PEERS), help="the peers to time (those installed); '' for none")
    args = ap.parse_args()
    if args.platform == "xcb" and not os.environ.get("DISPLAY"):
        server = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp"]
        if not os.environ.get("DBUS_SESSION_BUS_ADDRESS") and shutil.which("dbus-run-session"):
            server.append("dbus-run-session")
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
        peers = [p for p in args.peers.split(",") if p and shutil.which(p)] if args.platform == "xcb" else []
        watcher = build_watcher(root) if peers else None
        if peers and not watcher:
            print("no X11 development files: the peers are not timed")
            peers = []
        print(f"{'start':20} {'wall ms':>8} {'cpu ms':>7} {'MB':>6} {'wall/bare':>9} {'cpu/bare':>8} "
              f"{'wall/text':>9} {'cpu/text':>8}")
        scales = [int(s) for s in args.scales.split(",")]
        for scale in scales:
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
            # Each peer with a home of its own, set up by a first start.
            watched = {}
            if peers:
                watched["program mapped"] = ([desktop], env)
            # The peers read their own dictionaries, whatever the scale: timed once.
            for peer in peers if scale == scales[0] else []:
                home = os.path.join(root, "home-" + peer)
                os.makedirs(home, exist_ok=True)
                watched[peer] = ([peer], dict(os.environ, HOME=home))
            for name, (command, peer_env) in list(watched.items()):
                if mapped(watcher, command, folder, peer_env, root) is None:
                    print(f"{name}: no window within 60 s; not timed")
                    del watched[name]
            figures = {name: [] for name in list(programs) + list(watched)}
            for _ in range(args.runs):
                for name, command in programs.items():
                    # The X server has freed what the last program left before the next starts.
                    time.sleep(0.05)
                    figures[name].append(timed(starter, [command], folder, root))
                for name, (command, peer_env) in watched.items():
                    time.sleep(0.05)
                    result = mapped(watcher, command, folder, peer_env, root)
                    if result:
                        figures[name].append(result)
            figures = {name: runs for name, runs in figures.items() if runs}
            medians = {
                name: [statistics.median(r[i] for r in runs) for i in range(2)] for name, runs in figures.items()
            }
            bare, texted = medians["bare window"], medians["text window"]
            for name, runs in figures.items():
                wall, cpu = medians[name]
                mb = max(r[2] for r in runs)
                print(f"{name + f' {scale}x':20} {wall * 1000:8.1f} {cpu * 1000:7.1f} {mb:6.1f} "
                      f"{wall / bare[0]:9.2f} {cpu / bare[1] if bare[1] else 0:8.2f} "
                      f"{wall / texted[0]:9.2f} {cpu / texted[1] if texted[1] else 0:8.2f}")
    finally:
        shutil.rmtree(root)
    return 0


if __name__ == "__main__":
    sys.exit(main())
