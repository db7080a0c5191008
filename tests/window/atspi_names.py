#!/usr/bin/python3
"""What a screen reader sees of a program: starts it on the accessibility bus,
reads its window's controls with pyatspi and counts how many are named.

Run by hand (not part of ctest), under a virtual display and a session bus:

    xvfb-run -a dbus-run-session -- tests/window/atspi_names.py out/build/default/programs/ovmake samples/sample.ovt

Counted: every control a user reaches with the keyboard or the mouse (fields,
buttons, page tabs, links, the picture) and every captioned group box. The
tab bar's own scroll buttons and the tab list that holds the tabs are the
desktop's, not ours, and are left out. Exits 0 when every counted control has
a name. Needs the Debian packages at-spi2-core and python3-pyatspi.
"""
import collections
import os
import subprocess
import sys
import time

import pyatspi

COUNTED = {
    "text": "fields",
    "entry": "fields",
    "password text": "fields",
    "push button": "buttons",
    "page tab": "page tabs",
    "link": "links",
    "image": "picture",
}


def find_window(program, title_start, seconds=20):
    desktop = pyatspi.Registry.getDesktop(0)
    end = time.time() + seconds
    while time.time() < end:
        for app in desktop:
            if app is None or app.name != program:
                continue
            for window in app:
                if window is not None and window.name.startswith(title_start):
                    return window
        time.sleep(0.2)
    return None


def walk(accessible):
    yield accessible
    for child in accessible:
        if child is not None:
            yield from walk(child)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    program = sys.argv[1]
    name = os.path.basename(program)
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    # The accessibility bus and its registry come up first, so the program finds them.
    pyatspi.Registry.getDesktop(0).childCount
    child = subprocess.Popen(sys.argv[1:], env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # The maker shows its splash first; the card window's caption names the program.
        window = find_window(name, "Norvane Ovlet")
        if window is None:
            print(f"{name}: no card window on the accessibility bus")
            return 1
        time.sleep(0.5)
        named = collections.Counter()
        total = collections.Counter()
        unnamed = []
        for accessible in walk(window):
            role = accessible.getRoleName()
            if accessible.parent is not None and accessible.parent.getRoleName() == "page tab list" and role == "push button":
                continue  # the tab bar's scroll buttons
            focusable = accessible.getState().contains(pyatspi.STATE_FOCUSABLE)
            kind = COUNTED.get(role)
            if kind is None and role == "label" and focusable:
                kind = "links"  # a summary line drawn as plain text
            if kind is None and role in ("panel", "grouping") and accessible.name:
                kind = "groups"
            if kind is None and role in ("panel", "grouping"):
                continue  # frames without a caption, and the window's own
            if kind is None:
                continue
            total[kind] += 1
            if accessible.name.strip():
                named[kind] += 1
            else:
                unnamed.append(f"{role} (focusable: {focusable})")
        for kind in ("fields", "buttons", "page tabs", "picture", "links", "groups"):
            print(f"{name}: {kind:10} {named[kind]:3} of {total[kind]:3} named")
        print(f"{name}: {'all':10} {sum(named.values()):3} of {sum(total.values()):3} named")
        for entry in unnamed:
            print(f"{name}: unnamed {entry}")
        return 0 if not unnamed else 1
    finally:
        child.terminate()
        child.wait()


if __name__ == "__main__":
    sys.exit(main())
