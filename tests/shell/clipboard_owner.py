"""Holds the X CLIPBOARD selection with the given bytes, as a desktop program
would after a copy, for the window tests: any bytes, a NUL among them (no
clipboard tool on the test machines can offer those).

Usage: clipboard_owner.py TEXT   (Python escapes such as \\x00 are decoded)
Prints "ready" once it owns the selection; answers TARGETS and UTF8_STRING
requests until another program takes the selection or 60 s have passed.
"""
import ctypes
import sys
import time

xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
ulong, long_, int_, vp = ctypes.c_ulong, ctypes.c_long, ctypes.c_int, ctypes.c_void_p


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", int_), ("serial", ulong), ("send_event", int_), ("display", vp), ("owner", ulong),
                ("requestor", ulong), ("selection", ulong), ("target", ulong), ("property", ulong), ("time", ulong)]


class Selection(ctypes.Structure):
    _fields_ = [("type", int_), ("serial", ulong), ("send_event", int_), ("display", vp), ("requestor", ulong),
                ("selection", ulong), ("target", ulong), ("property", ulong), ("time", ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", int_), ("request", SelectionRequest), ("selection", Selection), ("pad", long_ * 24)]


SELECTION_CLEAR, SELECTION_REQUEST, SELECTION_NOTIFY, XA_ATOM = 29, 30, 31, 4
xlib.XOpenDisplay.restype = vp
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ulong
xlib.XDefaultRootWindow.argtypes = [vp]
xlib.XCreateSimpleWindow.restype = ulong
xlib.XCreateSimpleWindow.argtypes = [vp, ulong, int_, int_, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ulong, ulong]
xlib.XInternAtom.restype = ulong
xlib.XInternAtom.argtypes = [vp, ctypes.c_char_p, int_]
xlib.XSetSelectionOwner.argtypes = [vp, ulong, ulong, ulong]
xlib.XChangeProperty.argtypes = [vp, ulong, ulong, ulong, int_, int_, vp, int_]
xlib.XSendEvent.argtypes = [vp, ulong, int_, long_, vp]
xlib.XPending.argtypes = [vp]
xlib.XNextEvent.argtypes = [vp, vp]
xlib.XFlush.argtypes = [vp]

text = sys.argv[1].encode("latin-1", "backslashreplace").decode("unicode_escape").encode("utf-8")
display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("clipboard_owner: no display")
window = xlib.XCreateSimpleWindow(display, xlib.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
clipboard, utf8, targets = (xlib.XInternAtom(display, name, 0) for name in (b"CLIPBOARD", b"UTF8_STRING", b"TARGETS"))
xlib.XSetSelectionOwner(display, clipboard, window, 0)
xlib.XFlush(display)
print("ready", flush=True)

deadline = time.time() + 60
event = Event()
while time.time() < deadline:
    if xlib.XPending(display) == 0:
        time.sleep(0.01)
        continue
    xlib.XNextEvent(display, ctypes.byref(event))
    if event.type == SELECTION_CLEAR:
        break
    if event.type != SELECTION_REQUEST:
        continue
    request = event.request
    answer = request.property or request.target
    if request.target == utf8:
        data = ctypes.create_string_buffer(text, len(text))
        xlib.XChangeProperty(display, request.requestor, answer, utf8, 8, 0, data, len(text))
    elif request.target == targets:
        atoms = (ulong * 2)(targets, utf8)
        xlib.XChangeProperty(display, request.requestor, answer, XA_ATOM, 32, 0, atoms, 2)
    else:
        answer = 0
    reply = Event()
    reply.selection.type = SELECTION_NOTIFY
    reply.selection.requestor = request.requestor
    reply.selection.selection = request.selection
    reply.selection.target = request.target
    reply.selection.property = answer
    reply.selection.time = request.time
    xlib.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(reply))
    xlib.XFlush(display)
