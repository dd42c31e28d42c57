# SPDX-License-Identifier: GPL-3.0-or-later
"""How long a window takes to answer, measured from outside: a thread sends the window
_NET_WM_PING client messages (the window manager's "is it frozen?" probe) one after the other
and times each answer. The toolkit answers from the thread that handles the window's events,
so a busy event loop shows as a long answer. Run with /usr/bin/python3 (python3-xlib)."""

import select
import threading
import time

from Xlib import X, display
from Xlib.protocol import event


class WindowPing:
    """Use as a context manager; `worst` is the longest wait for an answer, in seconds,
    counting a ping still unanswered at the end."""

    def __init__(self, display_name, window_id, interval=0.01):
        self.display_name = display_name
        self.window_id = int(window_id)
        self.interval = interval
        self.worst = 0.0
        self.answers = 0
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._ready = threading.Event()

    def __enter__(self):
        self._thread.start()
        self._ready.wait(5)
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join(10)
        return False

    def _run(self):
        connection = display.Display(self.display_name)
        root = connection.screen().root
        # The toolkit sends its answer to the root window for StructureNotify listeners.
        root.change_attributes(event_mask=X.StructureNotifyMask)
        protocols = connection.intern_atom("WM_PROTOCOLS")
        ping = connection.intern_atom("_NET_WM_PING")
        window = connection.create_resource_object("window", self.window_id)
        self._ready.set()
        serial = 0
        while not self._stop.is_set():
            serial += 1
            message = event.ClientMessage(window=window, client_type=protocols,
                                          data=(32, [ping, serial, self.window_id, 0, 0]))
            window.send_event(message, event_mask=0)  # to the client that made the window
            connection.flush()
            sent = time.monotonic()
            answered = False
            while not answered and not self._stop.is_set():
                readable, _, _ = select.select([connection.fileno()], [], [], 0.05)
                while readable and connection.pending_events():
                    reply = connection.next_event()
                    if (reply.type == X.ClientMessage and reply.data[1][0] == ping
                            and reply.data[1][1] == serial):
                        answered = True
            self.worst = max(self.worst, time.monotonic() - sent)
            if answered:
                self.answers += 1
            time.sleep(self.interval)
        connection.close()
