#!/usr/bin/python3
"""The running window read as a screen reader reads it, through AT-SPI.

Prints the tree (role, name, description, states), then checks the roles and
names, that a Down key in the focused X list sends focus events for that list
only, that "Изчисли" can be pressed through the Action interface and that the
report reads whole through the Text interface.

    atspi_check.py expected-report.txt separator

Three points must have been pressed and row 0 of the X list clicked (so that
it has the keyboard focus) before it starts. Exits 1 on any failure.
"""
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Debian 12's Atspi names the action by a call later versions deprecate.
warnings.filterwarnings("ignore", category=DeprecationWarning)

failures = 0


def check(ok, what):
    global failures
    print(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures += 1


def states(node):
    s = node.get_state_set()
    return [t.value_nick for t in (Atspi.StateType.FOCUSABLE, Atspi.StateType.FOCUSED, Atspi.StateType.SENSITIVE,
                                   Atspi.StateType.SHOWING, Atspi.StateType.EDITABLE) if s.contains(t)]


def walk(node, depth=0, out=None):
    out = [] if out is None else out
    out.append((depth, node))
    if node.get_role_name() not in ("list", "text"):  # rows and text lines are not the tree
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                walk(child, depth + 1, out)
    return out


def find_app(name, timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name and app.get_child_count() > 0:
                return app
        time.sleep(0.2)
    return None


def pump(seconds):
    ctx = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while ctx.iteration(False):
            pass
        time.sleep(0.01)


def main():
    expected_file, separator = sys.argv[1], sys.argv[2]
    app = find_app("trivyrhnik")
    if app is None:
        print("FAIL: the program is not on the accessibility bus")
        return 1
    tree = walk(app)
    print("The tree as a screen reader sees it:")
    for depth, node in tree:
        desc = node.get_description()
        print("  " * depth + f"[{node.get_role_name()}] {node.get_name()!r}"
              + (f" — {desc!r}" if desc else "") + f" {{{', '.join(states(node))}}}")
    by_name = {node.get_name(): node for _, node in tree}

    window = app.get_child_at_index(0)
    check(window.get_role_name() == "frame", f"the window is a frame ({window.get_role_name()})")
    surface = by_name.get("Чертожна площ")
    check(surface is not None and surface.get_role_name() in ("canvas", "image"),
          "the surface is a canvas or image" + (f" ({surface.get_role_name()})" if surface else ""))
    for caption in ("Описана окръжност - координати на точки", "Посочете трите върха на триъгълника",
                    "Ос X", "Ос Y"):
        node = by_name.get(caption)
        check(node is not None and node.get_role_name() == "label", f"the caption {caption!r} is read")
    for name in ("Изчисли", "Изчисти", "Изтрий"):
        node = by_name.get(name)
        check(node is not None and node.get_role_name() == "push button"
              and "sensitive" in states(node), f"{name!r} is a usable button")

    # A Down key in the X list, which has the focus.
    x_list = by_name.get("Координати X на точките")
    check(x_list is not None and "focused" in states(x_list), "the X list has the keyboard focus")
    sources = []

    def on_focus(event):
        if event.detail1 == 1:
            node = event.source
            parent = node.get_parent() if node.get_role_name() != "list" else node
            sources.append(parent.get_name() if parent is not None else node.get_name())

    listener = Atspi.EventListener.new(on_focus)
    listener.register("object:state-changed:focused")
    pump(0.5)
    sources.clear()
    subprocess.run(["xdotool", "key", "Down"], check=True)
    pump(1.5)
    listener.deregister("object:state-changed:focused")
    print(f"focus events after Down: {sources}")
    check(len(sources) > 0 and all(s == "Координати X на точките" for s in sources),
          "a Down key sends focus events for the X list only")

    # "Изчисли" pressed through the Action interface, the report read whole.
    calc = by_name["Изчисли"]
    names = [calc.get_action_name(i) for i in range(calc.get_n_actions())]
    press = names.index("Press") if "Press" in names else 0
    calc.do_action(press)
    report = by_name["Решение"]
    expected = open(expected_file, encoding="utf-8").read().replace("\r", "").replace(".", separator)
    got = ""
    for _ in range(30):
        pump(0.1)
        got = report.get_text(0, report.get_character_count())
        if got.startswith("Ориентирано"):
            break
    check(got == expected, "the report reads whole through the Text interface")
    if got != expected:
        for i, (a, b) in enumerate(zip(expected.split("\n"), got.split("\n"))):
            if a != b:
                print(f"  line {i + 1}: expected {a!r}, got {b!r}")
                break
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
