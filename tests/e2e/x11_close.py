# SPDX-License-Identifier: GPL-3.0-or-later
"""Asks an X11 window to close the way a window manager's close box does: a WM_PROTOCOLS
client message carrying WM_DELETE_WINDOW. The test display has no window manager, and a
signal would end the program without the questions it asks before closing.

Usage: x11_close.py WINDOW-ID (decimal or 0x hex), on the display named by $DISPLAY."""

import ctypes
import sys


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    # XEvent is a union padded to 24 longs; XSendEvent copies the whole of it.
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

if len(sys.argv) != 2:
    sys.exit(__doc__)
window = int(sys.argv[1], 0)
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
event = Event()
event.client.type = CLIENT_MESSAGE
event.client.send_event = 1
event.client.display = display
event.client.window = window
event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.client.format = 32
event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.client.data[1] = 0  # CurrentTime
if not x11.XSendEvent(display, window, 0, NO_EVENT_MASK, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x11.XSync(display, 0)
x11.XCloseDisplay(display)
