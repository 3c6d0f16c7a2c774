#!/usr/bin/python3
"""Reads the running velnorka through AT-SPI, as a screen reader does.

usage: accessibility_tree.py window
       accessibility_tree.py prompt PROMPT-TEXT
       accessibility_tree.py sheet FILE   (the box reads as the sheet in FILE)
Exits 1 with a message on what differs.
"""
import sys
import time

try:
    import pyatspi
except ImportError:
    sys.exit("FAIL: pyatspi is missing (Debian python3-pyatspi)")


def fail(message):
    sys.exit("FAIL: " + message)


def program():
    """The application named velnorka, once it has registered (10 s at most)."""
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "velnorka" and app.childCount > 0:
                return app
        time.sleep(0.1)
    fail("velnorka is not on the accessibility bus within 10 s")


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def targets(node, relation_type):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == relation_type:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def find(node, role, name):
    found = [n for n in descendants(node) if n.getRole() == role and n.name == name]
    if len(found) != 1:
        fail(f"{len(found)} objects of role {pyatspi.Atspi.Role(role).value_nick} named {name!r}")
    return found[0]


def check_window():
    app = program()
    frames = [child for child in app if child is not None and child.name == "Velnorka"]
    if len(frames) != 1:
        fail(f"{len(frames)} windows named Velnorka")
    window = frames[0]
    if window.getRole() != pyatspi.ROLE_FRAME:
        fail(f"the main window has role {window.getRoleName()!r}, not frame")
    box = find(window, pyatspi.ROLE_TEXT, "Pracovní list")
    if box.parent != window:
        fail("the box named Pracovní list is not in the main window")
    for caption in ("Generuj", "Smaž", "Kopíruj"):
        find(window, pyatspi.ROLE_PUSH_BUTTON, caption)
    frame = find(window, pyatspi.ROLE_PANEL, "Výběr činností")
    for caption in ("Jen přirozená čísla", "Jen desetinná čísla", "Mix"):
        option = find(frame, pyatspi.ROLE_RADIO_BUTTON, caption)
        if targets(option, pyatspi.RELATION_LABELLED_BY) != ["Výběr činností"]:
            fail(f"{caption!r} is not labelled by the frame")
    unnamed = [n.getRoleName() for n in descendants(window)
               if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON)
               and not n.name]
    if unnamed:
        fail(f"controls without a name: {unnamed}")
    print("accessibility: window is a frame; box, buttons and options named; options labelled by the frame")


def check_prompt(prompt):
    app = program()
    fields = [n for n in descendants(app)
              if n.getRole() == pyatspi.ROLE_TEXT and targets(n, pyatspi.RELATION_LABELLED_BY) == [prompt]]
    if len(fields) != 1:
        fail(f"{len(fields)} fields labelled by {prompt!r}")
    if fields[0].name != prompt:
        fail(f"the prompt's field is named {fields[0].name!r}")
    print(f"accessibility: the prompt's field is labelled by {prompt!r}")


def check_sheet(path):
    with open(path, encoding="utf-8", newline="") as file:
        sheet = file.read()
    # A screen reader gets the same characters, in lines.
    expected = sheet.replace("\r\n", "\n")
    box = find(program(), pyatspi.ROLE_TEXT, "Pracovní list")
    text = box.queryText()
    said = text.getText(0, text.characterCount)
    if said != expected:
        fail(f"the box reads {said[:80]!r}..., the sheet is {expected[:80]!r}...")
    print(f"accessibility: the box reads the sheet, {said.count(chr(10)) + 1} lines")


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "window" and len(sys.argv) == 2:
        check_window()
    elif command == "prompt" and len(sys.argv) == 3:
        check_prompt(sys.argv[2])
    elif command == "sheet" and len(sys.argv) == 3:
        check_sheet(sys.argv[2])
    else:
        sys.exit(__doc__)
