"""The X display as the end-to-end run sees it: Wine's windows found by their
captions, their positions on the screen, screenshots as RGB pixels, and real
pointer and keyboard input through xdotool.

Inside a Wine virtual desktop every top-level window of the program is an X
window named by its caption, and the Direct3D view is a child X window that
covers exactly the main window's client area. Window geometry is read with
Xlib through ctypes (libX11 is there wherever Xvfb and xdotool are).
"""

import ctypes
import ctypes.util
import os
import subprocess
import time


class _WindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int),
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
        ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


_IS_VIEWABLE = 2

# Windows come and go while the tree is walked: errors about a window that
# has just vanished are expected and ignored.
_ERROR_HANDLER_TYPE = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
_ignore_errors = _ERROR_HANDLER_TYPE(lambda display, event: 0)


class Rect:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return "%dx%d+%d+%d" % (self.width, self.height, self.x, self.y)


class Screen:
    def __init__(self, display_name):
        self.display_name = display_name
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XQueryTree.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
            ctypes.POINTER(ctypes.c_uint)]
        x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                   ctypes.POINTER(ctypes.c_char_p)]
        x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                             ctypes.POINTER(_WindowAttributes)]
        x11.XTranslateCoordinates.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
            ctypes.POINTER(ctypes.c_ulong)]
        x11.XFree.argtypes = [ctypes.c_void_p]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XSetErrorHandler(_ignore_errors)
        self._x11 = x11
        self._display = x11.XOpenDisplay(display_name.encode())
        if not self._display:
            raise RuntimeError("cannot open X display %s" % display_name)
        self._root = x11.XDefaultRootWindow(self._display)

    # Window tree ---------------------------------------------------------

    def _children(self, window):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        if not self._x11.XQueryTree(self._display, window, ctypes.byref(root),
                                    ctypes.byref(parent), ctypes.byref(children),
                                    ctypes.byref(count)):
            return []
        found = [children[i] for i in range(count.value)]
        if children:
            self._x11.XFree(children)
        return found

    def _name(self, window):
        name = ctypes.c_char_p()
        if not self._x11.XFetchName(self._display, window, ctypes.byref(name)) or not name:
            return None
        text = name.value.decode("latin-1")
        self._x11.XFree(name)
        return text

    def _viewable(self, window):
        attributes = _WindowAttributes()
        if not self._x11.XGetWindowAttributes(self._display, window, ctypes.byref(attributes)):
            return None
        return attributes if attributes.map_state == _IS_VIEWABLE else None

    def find(self, caption):
        """The viewable X window named exactly `caption` (or whose name the
        function `caption` accepts), or None."""
        matches = caption if callable(caption) else (lambda name: name == caption)
        self._x11.XSync(self._display, 0)
        pending = [self._root]
        while pending:
            window = pending.pop()
            if window != self._root and matches(self._name(window)) and self._viewable(window):
                return window
            pending.extend(self._children(window))
        return None

    def rect(self, window):
        """The window's rectangle in screen pixels."""
        attributes = self._viewable(window)
        if attributes is None:
            raise RuntimeError("window %#x is not viewable" % window)
        x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        self._x11.XTranslateCoordinates(self._display, window, self._root, 0, 0,
                                        ctypes.byref(x), ctypes.byref(y), ctypes.byref(child))
        return Rect(x.value, y.value, attributes.width, attributes.height)

    def largest_child(self, window):
        """The biggest viewable child window (the Direct3D client surface)."""
        best, best_area = None, 0
        for child in self._children(window):
            attributes = self._viewable(child)
            if attributes and attributes.width * attributes.height > best_area:
                best, best_area = child, attributes.width * attributes.height
        return best

    # Waiting -------------------------------------------------------------

    @staticmethod
    def wait_for(condition, what, timeout=30.0, interval=0.2):
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise TimeoutError("gave up waiting for " + what)
            time.sleep(interval)

    def wait_window(self, caption, timeout=30.0):
        return self.wait_for(lambda: self.find(caption), "window '%s'" % caption, timeout)

    def wait_gone(self, caption, timeout=30.0):
        self.wait_for(lambda: self.find(caption) is None, "'%s' to close" % caption, timeout)

    # Pixels --------------------------------------------------------------

    def shot(self, path):
        """Saves the whole screen as PNG and returns it as an Image."""
        subprocess.run(["import", "-display", self.display_name, "-window", "root", path],
                       check=True)
        return Image.load(path)

    # Input ---------------------------------------------------------------

    def xdotool(self, *arguments):
        env = dict(os.environ, DISPLAY=self.display_name)
        subprocess.run(["xdotool"] + [str(a) for a in arguments], check=True, env=env)


class Image:
    """RGB pixels of a screenshot."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @staticmethod
    def load(path):
        size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                              capture_output=True, text=True).stdout.split()
        rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                             capture_output=True).stdout
        return Image(int(size[0]), int(size[1]), rgb)

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.rgb[at:at + 3])

    def region(self, rect, exclude=None):
        """The pixels of rect, row by row, with those inside `exclude` zeroed."""
        rows = []
        for y in range(rect.y, rect.y + rect.height):
            start = (y * self.width + rect.x) * 3
            row = bytearray(self.rgb[start:start + rect.width * 3])
            if exclude and exclude.y <= y < exclude.y + exclude.height:
                left = max(exclude.x - rect.x, 0)
                right = min(exclude.x + exclude.width - rect.x, rect.width)
                if left < right:
                    row[left * 3:right * 3] = bytes((right - left) * 3)
            rows.append(bytes(row))
        return rows
