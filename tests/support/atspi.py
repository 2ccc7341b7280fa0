#!/usr/bin/python3
"""Finds Quillbern's controls as a screen reader does, through AT-SPI, and works them.

Hands-on checks of the Settings window use this instead of pixel positions: a control is
named by its accessible name (a button's text or, for an icon-only button, its tooltip; a
picker, which Qt names by its choice on Linux, also by the label that labels it, given its
role) and its role as AT-SPI names it ("push button", "check box", "radio button", "list item",
"spin button", "text", "scroll pane", "menu item", "frame"...). Run it on a desktop that
has a session bus and Quillbern started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1:
`start_headless_desktop --accessibility` (scripts/lib/headless-desktop.sh) sets up both.

  atspi.py find NAME [ROLE]            the first shown match: "role|name|states|x,y,w,h"
  atspi.py states NAME [ROLE]          its states, one line, space-separated ("checked focused ...")
  atspi.py press NAME [ROLE]           does its first action: press, click, toggle or activate
  atspi.py action NAME ROLE ACTION     does the named action (an editor row's removal, say)
  atspi.py focus NAME [ROLE]           gives it the keyboard
  atspi.py select NAME [ROLE]          selects it in its list (a Settings section, say)
  atspi.py wait NAME ROLE STATE        waits until it has the state ("selected", "checked",
                                       "focused"); "!STATE" waits until it has not
  atspi.py only NAME ROLE STATE        waits until it has the state and no other child of its
                                       parent has (the one selected row of a list, say)
  atspi.py gone NAME [ROLE]            waits until no shown control matches
  atspi.py at-end NAME [ROLE]          waits until its value is its maximum (a scroll bar
                                       scrolled to the end, say)
  atspi.py value NAME [ROLE]           its value as a number (a slider's, say)
  atspi.py description NAME [ROLE]     its description (what a shortcut recorder holds, say)
  atspi.py menu ROW                    chooses the row of the pop-up menu open now (the tray's,
                                       say) as a screen reader's user does: Down until the row
                                       named ROW has the focus, then Return
  atspi.py dump                        the application's tree, for finding names and roles

Options before the command: --app NAME (default Quillbern), --timeout SECONDS (default
10; every lookup retries until then), --hidden (match controls that are not shown too).
Exit status: 0 done, 1 not found or not so within the time, 2 wrong use.
"""

import argparse
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def states_of(node):
    return [pyatspi.stateToString(s) for s in node.getState().getStates()]


def is_shown(node):
    state = node.getState()
    return state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_VISIBLE)


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == name:
            return app
    return None


def descendants(node):
    """Every node below, depth first; a subtree that fails to answer is skipped."""
    try:
        count = node.childCount
    except Exception:
        return
    for index in range(count):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is None:
            continue
        yield child
        yield from descendants(child)


def labels_of(node):
    """The names of the labels that label the node (Qt on Linux names a picker by its choice,
    and screen readers announce the label beside it)."""
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def matches(node, name, role, hidden):
    try:
        if role and node.getRoleName().lower() != role.lower():
            return False
        # A control's labels are asked only when its role is given: asking every node is slow.
        if node.name != name and not (role and name in labels_of(node)):
            return False
        return hidden or is_shown(node)
    except Exception:
        return False


def lookup(options, name, role):
    app = application(options.app)
    if app is None:
        return None
    for node in descendants(app):
        if matches(node, name, role, options.hidden):
            return node
    return None


def retry(options, attempt):
    """Runs attempt until it answers something other than None, or the time is up."""
    deadline = time.monotonic() + options.timeout
    while True:
        answer = attempt()
        if answer is not None:
            return answer
        if time.monotonic() >= deadline:
            return None
        time.sleep(0.1)


def find_or_fail(options, name, role):
    node = retry(options, lambda: lookup(options, name, role))
    if node is None:
        where = f" ({role})" if role else ""
        sys.exit(f"atspi: no shown control named '{name}'{where} in {options.app} within {options.timeout} s")
    return node


def extents(node):
    try:
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return f"{box.x},{box.y},{box.width},{box.height}"
    except NotImplementedError:
        return "?"


def do_action(node, wanted):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    for index, action in enumerate(names):
        if action in wanted:
            actions.doAction(index)
            return
    sys.exit(f"atspi: '{node.name}' offers none of {wanted}; it offers {names}")


def choose_in_menu(options, row):
    """Chooses a row of the pop-up menu open now as a screen reader's user does: Down until
    the row the menu says is focused is the one wanted, then Return. Applications do not list
    their pop-ups, so the menu is known only by what it says as the keyboard moves. Each Down
    moves the focus once, so the next key waits for the focus the last one gave: a report that
    comes late never stands for where the focus is now."""
    app = retry(options, lambda: application(options.app))
    if app is None:
        sys.exit(f"atspi: no application named '{options.app}' on the accessibility bus")
    # Read once, the application tells this client of its menus' focus too.
    for _ in descendants(app):
        pass
    state = {"seen": [], "last": None, "chosen": False}

    def press(key):
        subprocess.run(["xdotool", "key", key], check=False)

    def on_focus(event):
        source = event.source
        # A focus told twice is still one move.
        if source is None or event.detail1 != 1 or source.getRoleName() != "menu item" or source.name == state["last"]:
            return
        state["last"] = source.name
        if source.name not in state["seen"]:
            state["seen"].append(source.name)
        if source.name == row:
            press("Return")
            state["chosen"] = True
            pyatspi.Registry.stop()
        else:
            press("Down")

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    GLib.idle_add(lambda: press("Down") or False)
    GLib.timeout_add(int(options.timeout * 1000), lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    if not state["chosen"]:
        sys.exit(f"atspi: no row '{row}' in the open menu within {options.timeout} s; its rows: {state['seen']}")


def dump(node, depth=0):
    try:
        print(f"{'  ' * depth}{node.getRoleName()} '{node.name}' [{' '.join(states_of(node))}]")
    except Exception:
        return
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            dump(child, depth + 1)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--app", default="Quillbern")
    parser.add_argument("--timeout", type=float, default=10.0)
    parser.add_argument("--hidden", action="store_true")
    parser.add_argument(
        "command", choices=["find", "states", "press", "action", "focus", "select", "wait", "only", "gone", "menu", "dump", "value", "description", "at-end"]
    )
    parser.add_argument("arguments", nargs="*")
    options = parser.parse_args()
    args = options.arguments
    command = options.command

    if command == "dump":
        app = retry(options, lambda: application(options.app))
        if app is None:
            sys.exit(f"atspi: no application named '{options.app}' on the accessibility bus")
        dump(app)
        return
    if command == "menu":
        if len(args) != 1:
            parser.error("name the row")
        choose_in_menu(options, args[0])
        return
    if not args or (command in ("action", "wait", "only") and len(args) != 3):
        parser.error("name the control (and its role)")
    name, role = args[0], (args[1] if len(args) > 1 else None)

    if command == "gone":
        if retry(options, lambda: True if lookup(options, name, role) is None else None) is None:
            sys.exit(f"atspi: '{name}' still shown after {options.timeout} s")
        return
    if command == "wait":
        state = args[2]
        wanted = not state.startswith("!")
        state = state.lstrip("!")

        def has_it():
            node = lookup(options, name, role)
            return node if node is not None and (state in states_of(node)) == wanted else None

        if retry(options, has_it) is None:
            sys.exit(f"atspi: '{name}' ({role}) is {'not ' if wanted else ''}{state} after {options.timeout} s")
        return

    if command == "only":
        state = args[2]

        def others_with_it(node):
            """The names of the other children of its parent that have the state."""
            parent, own = node.parent, node.getIndexInParent()
            names = []
            for index in range(parent.childCount):
                try:
                    other = parent.getChildAtIndex(index)
                    if other is not None and index != own and state in states_of(other):
                        names.append(other.name)
                except Exception:
                    continue
            return names

        def alone():
            node = lookup(options, name, role)
            return node if node is not None and state in states_of(node) and not others_with_it(node) else None

        if retry(options, alone) is None:
            node = lookup(options, name, role)
            others = others_with_it(node) if node is not None else []
            sys.exit(f"atspi: '{name}' ({role}) is not the only one {state} after {options.timeout} s; {state} beside it: {others}")
        return

    if command == "at-end":

        def at_end():
            node = lookup(options, name, role)
            if node is None:
                return None
            value = node.queryValue()
            return node if value.currentValue == value.maximumValue else None

        if retry(options, at_end) is None:
            sys.exit(f"atspi: '{name}' ({role}) is not at its end after {options.timeout} s")
        return

    node = find_or_fail(options, name, role)
    if command == "find":
        print(f"{node.getRoleName()}|{node.name}|{' '.join(states_of(node))}|{extents(node)}")
    elif command == "states":
        print(" ".join(states_of(node)))
    elif command == "value":
        print(f"{node.queryValue().currentValue:g}")
    elif command == "description":
        print(node.description)
    elif command == "press":
        do_action(node, ["Press", "press", "Toggle", "toggle", "click", "Click", "activate"])
    elif command == "action":
        do_action(node, [args[2]])
    elif command == "focus":
        if not node.queryComponent().grabFocus():
            sys.exit(f"atspi: '{name}' did not take the keyboard")
    elif command == "select":
        if "selected" in states_of(node):
            return
        try:
            selection = node.parent.querySelection()
        except NotImplementedError:
            # Qt's lists offer no selection to AT-SPI; their items toggle their own.
            do_action(node, ["Toggle", "toggle"])
            return
        if not selection.selectChild(node.getIndexInParent()):
            sys.exit(f"atspi: '{name}' could not be selected in '{node.parent.name}'")


if __name__ == "__main__":
    main()
