#!/usr/bin/python3
"""Reads the accessibility tree of a running Mirudex through AT-SPI, as a
screen reader does, until its tables hold the words expected.

    read_tree.py PID TIMEOUT TABLE=WORD,WORD... ...

Waits at most TIMEOUT seconds for the program of process PID to appear on
the accessibility bus and for every WORD to be a word of the name of a cell
of the table named TABLE ("cat" is a word of "(n) cat"). Prints what it found; exit status 0 when all
were found, 1 otherwise (with the tree as it was last read).
"""

import re
import sys
import time

import pyatspi

MAX_NODES = 5000  # a tree larger than this is not read further


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.clearCache()
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def walk(node, depth=0, seen=None):
    """Yields (depth, node) over the tree, at most MAX_NODES of them."""
    if seen is None:
        seen = [0]
    if node is None or seen[0] >= MAX_NODES:
        return
    seen[0] += 1
    yield depth, node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1, seen)


def describe(node):
    try:
        return "%s %r" % (node.getRoleName(), node.name)
    except Exception as error:  # the object went away while read
        return "(gone: %s)" % error


def table_cells(app, table_name):
    """The names of the cells of the tables named table_name, row by row."""
    cells = []
    for _, node in walk(app):
        if node.getRole() == pyatspi.ROLE_TABLE and node.name == table_name:
            node.clearCache()
            table = node.queryTable()
            for row in range(table.nRows):
                cells.append([table.getAccessibleAt(row, c).name for c in range(table.nColumns)])
    return cells


def missing_words(app, wanted):
    """The (table, word) pairs not found yet, and the rows read."""
    missing = []
    read = {}
    for table, words in wanted:
        rows = table_cells(app, table)
        read[table] = rows
        found = {word for row in rows for name in row for word in re.findall(r"\w+", name)}
        missing += [(table, w) for w in words if w not in found]
    return missing, read


def main():
    pid = int(sys.argv[1])
    timeout = float(sys.argv[2])
    wanted = []
    for argument in sys.argv[3:]:
        table, _, words = argument.partition("=")
        wanted.append((table, words.split(",")))
    end = time.monotonic() + timeout
    app = None
    missing, read = wanted, {}
    while time.monotonic() < end:
        try:
            app = find_app(pid)
            if app is not None:
                app.clearCache()
                missing, read = missing_words(app, wanted)
                if not missing:
                    print("found every word in the rows %r" % read)
                    return 0
        except Exception as error:  # the program still starting: read again
            print("reading again after: %s" % error)
        time.sleep(0.25)
    if app is None:
        print("the program (process %d) never appeared on the accessibility bus" % pid)
    else:
        print("not found: %r; the rows were %r; the tree:" % (missing, read))
        for depth, node in walk(app):
            print("  " * depth + describe(node))
    return 1


if __name__ == "__main__":
    sys.exit(main())
