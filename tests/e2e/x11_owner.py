# SPDX-License-Identifier: GPL-3.0-or-later
"""Owns the X11 CLIPBOARD for tests, as a well-behaved or a hostile program, and prints
"owner" once it owns it. Run with /usr/bin/python3 (python3-xlib).

  --text STR                 serves STR as UTF8_STRING and text/plain;charset=utf-8 (without
                             --text or --size no text is offered)
  --size N                   serves N bytes of numbered lines ("000000000\\n000000001\\n"...),
                             through INCR when larger than --chunk
  --targets a,b,c            also serves these targets, each with the bytes "content of NAME"
  --data NAME=PATH           also serves the target NAME with the bytes of the file PATH
                             (may be given more than once)
  --never-answer             takes every request and never answers
  --answer-after SECONDS     answers each request only that long after it came
  --chunk-delay SECONDS      sends each INCR chunk only that long after it was asked for
  --exit-mid-transfer        starts an INCR transfer and exits after its first chunk
  --change-during-transfer   after the first INCR chunk, another window takes the selection
  --exit-after SECONDS       gives up and exits after that long
Without --change-during-transfer, it exits when another program takes the selection."""

import argparse
import select
import sys
import time

from Xlib import X, Xatom, display
from Xlib.protocol import event


def numbered_lines(size):
    """`size` bytes of ten-byte numbered lines, so that a lost or repeated chunk shows."""
    lines = (b"%09d\n" % i for i in range((size + 9) // 10))
    return b"".join(lines)[:size]


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    content = parser.add_mutually_exclusive_group()
    content.add_argument("--text")
    content.add_argument("--size", type=int)
    parser.add_argument("--targets", default="")
    parser.add_argument("--data", action="append", default=[])
    parser.add_argument("--chunk", type=int, default=128 * 1024)
    parser.add_argument("--never-answer", action="store_true")
    parser.add_argument("--answer-after", type=float, default=0.0)
    parser.add_argument("--chunk-delay", type=float, default=0.0)
    parser.add_argument("--exit-mid-transfer", action="store_true")
    parser.add_argument("--change-during-transfer", action="store_true")
    parser.add_argument("--exit-after", type=float)
    return parser.parse_args()


class Owner:
    def __init__(self, args):
        self.args = args
        self.display = display.Display()
        # A requestor that vanishes mid-transfer is its business, not a reason to stop.
        self.display.set_error_handler(lambda *error: None)
        self.atom = lambda name: self.display.intern_atom(name)
        self.clipboard = self.atom("CLIPBOARD")
        self.targets_atom = self.atom("TARGETS")
        self.incr = self.atom("INCR")
        self.utf8 = self.atom("UTF8_STRING")
        self.contents = {}
        if args.text is not None or args.size is not None:
            text = numbered_lines(args.size) if args.size is not None else args.text.encode("utf-8")
            self.contents = {self.utf8: text, self.atom("text/plain;charset=utf-8"): text}
        for name in filter(None, args.targets.split(",")):
            self.contents[self.atom(name)] = b"content of " + name.encode("utf-8")
        for pair in args.data:
            name, path = pair.split("=", 1)
            with open(path, "rb") as f:
                self.contents[self.atom(name)] = f.read()
        # Hostile transfers need an INCR transfer to interrupt, whatever the size.
        self.always_incr = args.exit_mid_transfer or args.change_during_transfer
        self.transfers = {}  # (requestor window id, property) -> [window, type, data, offset]
        self.delayed = []    # (due time, request)
        self.delayed_chunks = []  # (due time, transfer key)
        root = self.display.screen().root
        self.window = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        self.windows = {self.window.id}

    def take(self, window):
        window.set_selection_owner(self.clipboard, X.CurrentTime)
        self.display.sync()
        if self.display.get_selection_owner(self.clipboard) != window:
            sys.exit("could not take the clipboard")

    def notify(self, request, prop):
        answer = event.SelectionNotify(time=request.time, requestor=request.requestor, selection=request.selection,
                                       target=request.target, property=prop)
        request.requestor.send_event(answer)
        self.display.flush()

    def answer(self, request):
        prop = request.property or request.target  # obsolete requestors name no property
        requestor = request.requestor
        if request.target == self.targets_atom:
            atoms = [self.targets_atom] + list(self.contents)
            requestor.change_property(prop, Xatom.ATOM, 32, atoms)
        elif request.target in self.contents:
            data = self.contents[request.target]
            if len(data) > self.args.chunk or self.always_incr:
                # Chunks follow each time the requestor deletes the property.
                requestor.change_attributes(event_mask=X.PropertyChangeMask)
                requestor.change_property(prop, self.incr, 32, [len(data)])
                self.transfers[(requestor.id, prop)] = [requestor, request.target, data, 0]
            else:
                requestor.change_property(prop, request.target, 8, data)
        else:
            prop = X.NONE
        self.notify(request, prop)

    def next_chunk(self, key):
        requestor, kind, data, offset = self.transfers[key]
        chunk = data[offset:offset + self.args.chunk]
        requestor.change_property(key[1], kind, 8, chunk)
        self.display.flush()
        if not chunk:
            del self.transfers[key]
            return
        self.transfers[key][3] = offset + len(chunk)
        if offset == 0 and self.args.exit_mid_transfer:
            self.display.sync()
            sys.exit(0)
        if offset == 0 and self.args.change_during_transfer:
            other = self.display.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
            self.windows.add(other.id)
            self.take(other)

    def handle(self, ev):
        if ev.type == X.SelectionRequest:
            if self.args.never_answer:
                return
            if self.args.answer_after > 0:
                self.delayed.append((time.monotonic() + self.args.answer_after, ev))
            else:
                self.answer(ev)
        elif ev.type == X.PropertyNotify and ev.state == X.PropertyDelete:
            key = (ev.window.id, ev.atom)
            if key in self.transfers and self.args.chunk_delay > 0:
                self.delayed_chunks.append((time.monotonic() + self.args.chunk_delay, key))
            elif key in self.transfers:
                self.next_chunk(key)
        elif ev.type == X.SelectionClear and ev.window.id in self.windows:
            if not self.args.change_during_transfer:
                sys.exit(0)

    def run(self):
        self.take(self.window)
        print("owner", flush=True)
        end = time.monotonic() + self.args.exit_after if self.args.exit_after is not None else None
        while True:
            now = time.monotonic()
            if end is not None and now >= end:
                return
            for due, request in [d for d in self.delayed if d[0] <= now]:
                self.delayed.remove((due, request))
                self.answer(request)
            for due, key in [d for d in self.delayed_chunks if d[0] <= now]:
                self.delayed_chunks.remove((due, key))
                if key in self.transfers:
                    self.next_chunk(key)
            while self.display.pending_events():
                self.handle(self.display.next_event())
            waits = [due - now for due, _ in self.delayed + self.delayed_chunks]
            waits += [end - now] if end is not None else []
            select.select([self.display], [], [], max(0.0, min(waits)) if waits else None)
            while self.display.pending_events():
                self.handle(self.display.next_event())


if __name__ == "__main__":
    Owner(parse_arguments()).run()
