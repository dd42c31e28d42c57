# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop clipboard manager for tests, after the freedesktop convention: it owns the
CLIPBOARD_MANAGER selection; a program that exits while it owns the CLIPBOARD asks it to
SAVE_TARGETS, and it then reads every target of the CLIPBOARD, answers, and offers the saved
content itself. Prints "manager" once it runs and "saved N" after saving N targets.
Run with /usr/bin/python3 (python3-xlib)."""

import select
import sys
import time

from Xlib import X, Xatom, display
from Xlib.protocol import event


class Manager:
    def __init__(self):
        self.display = display.Display()
        self.display.set_error_handler(lambda *error: None)
        atom = self.display.intern_atom
        self.manager, self.clipboard = atom("CLIPBOARD_MANAGER"), atom("CLIPBOARD")
        self.save_targets, self.targets, self.incr = atom("SAVE_TARGETS"), atom("TARGETS"), atom("INCR")
        self.transfer = atom("_TEST_MANAGER_TRANSFER")
        self.skipped = {self.targets, atom("MULTIPLE"), atom("TIMESTAMP"), self.save_targets}
        self.window = self.display.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        self.saved = {}
        self.serving = False
        self.window.set_selection_owner(self.manager, X.CurrentTime)
        self.display.sync()

    def fetch(self, target, timeout=3.0):
        """The CLIPBOARD's data for one target as (type, format, data), or None."""
        self.window.delete_property(self.transfer)
        self.window.convert_selection(self.clipboard, target, self.transfer, X.CurrentTime)
        self.display.flush()
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            while self.display.pending_events():
                ev = self.display.next_event()
                if ev.type == X.SelectionNotify and ev.requestor == self.window and ev.target == target:
                    if ev.property == X.NONE:
                        return None
                    prop = self.window.get_full_property(self.transfer, X.AnyPropertyType)
                    if prop is None or prop.property_type == self.incr:
                        return None
                    return prop.property_type, prop.format, prop.value
            select.select([self.display], [], [], 0.05)
        return None

    def save(self, request):
        listed = self.fetch(self.targets)
        self.saved = {}
        for target in (listed[2] if listed else []):
            if target not in self.skipped:
                data = self.fetch(target)
                if data:
                    self.saved[target] = data
        request.requestor.change_property(request.property, Xatom.ATOM, 32, [])
        answer = event.SelectionNotify(time=request.time, requestor=request.requestor, selection=request.selection,
                                       target=request.target, property=request.property)
        request.requestor.send_event(answer)
        self.window.set_selection_owner(self.clipboard, X.CurrentTime)
        self.display.sync()
        self.serving = True
        print(f"saved {len(self.saved)}", flush=True)

    def serve(self, request):
        prop = request.property or request.target
        if request.target == self.targets:
            request.requestor.change_property(prop, Xatom.ATOM, 32, [self.targets] + list(self.saved))
        elif request.target in self.saved:
            kind, size, value = self.saved[request.target]
            request.requestor.change_property(prop, kind, size, value)
        else:
            prop = X.NONE
        answer = event.SelectionNotify(time=request.time, requestor=request.requestor, selection=request.selection,
                                       target=request.target, property=prop)
        request.requestor.send_event(answer)
        self.display.flush()

    def run(self):
        print("manager", flush=True)
        while True:
            while self.display.pending_events():
                ev = self.display.next_event()
                if ev.type != X.SelectionRequest:
                    continue
                if ev.selection == self.manager and ev.target == self.save_targets:
                    self.save(ev)
                elif ev.selection == self.clipboard and self.serving:
                    self.serve(ev)
            select.select([self.display], [], [], 1.0)


if __name__ == "__main__":
    sys.exit(Manager().run())
