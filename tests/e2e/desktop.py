"""Drives a Windows program under Wine from outside, as a person would:
real key presses and mouse clicks through xdotool, screenshots read back
pixel by pixel. Needs an X display with a window manager (scripts/with-display)."""

import os
import subprocess
import tempfile
import time

WINE_ENV_KEYS = ("WINEPREFIX", "WINEDLLOVERRIDES", "WINEDEBUG", "WINEARCH")

# Keys for the accented letters French answers use. Xvfb's keyboard is US
# and Wine gives spare keycodes no virtual key, so the accents take the
# places of punctuation keys the tests never type ([ ] \ ` ;), bound before
# Wine starts.
ACCENT_KEYCODES = {"eacute": 34, "egrave": 35, "agrave": 51, "ccedilla": 49, "ecircumflex": 47}


def run(*args, check=True):
    return subprocess.run(args, check=check, capture_output=True, text=True).stdout.strip()


def bind_accent_keys():
    for name, code in ACCENT_KEYCODES.items():
        upper = name[0].upper() + name[1:]
        run("xmodmap", "-e", f"keycode {code} = {name} {upper}")


class Player:
    """One run of a player executable in its own folder."""

    def __init__(self, exe, folder, title, timeout=60):
        self.folder = folder
        self.log = open(os.path.join(folder, "wine.log"), "w")
        self.process = subprocess.Popen(["wine", exe], cwd=folder, stdout=self.log, stderr=subprocess.STDOUT)
        self.window = self._wait_for_window(title, timeout)
        time.sleep(0.5)

    def _wait_for_window(self, title, timeout):
        end = time.time() + timeout
        while time.time() < end:
            found = run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$", check=False)
            if found:
                return found.split()[-1]
            time.sleep(0.3)
        raise AssertionError(f"no window titled {title!r} after {timeout} s")

    def geometry(self):
        values = dict(line.split("=") for line in run("xdotool", "getwindowgeometry", "--shell", self.window).split())
        return {key: int(value) for key, value in values.items() if key in ("X", "Y", "WIDTH", "HEIGHT")}

    def resize(self, width, height):
        run("xdotool", "windowsize", "--sync", self.window, str(width), str(height))
        time.sleep(0.5)

    def click(self, x, y, button=1):
        """A click at client coordinates (the X window is the client area)."""
        run("xdotool", "mousemove", "--window", self.window, str(x), str(y))
        time.sleep(0.1)
        run("xdotool", "click", str(button))
        time.sleep(0.3)

    def type(self, text):
        for char in text:
            keysym = {"\xe9": "eacute", "\xe8": "egrave", "\xe0": "agrave", "\xe7": "ccedilla", "\xea": "ecircumflex",
                      " ": "space"}.get(char)
            if keysym:
                run("xdotool", "key", "--delay", "40", keysym)
            else:
                run("xdotool", "type", "--delay", "40", char)
        time.sleep(0.2)

    def key(self, *keys):
        for name in keys:
            run("xdotool", "key", "--delay", "60", name)
            time.sleep(0.25)

    def pixel(self, x, y):
        """The colour at client coordinates, as (red, green, blue)."""
        with tempfile.NamedTemporaryFile(suffix=".ppm") as shot:
            run("import", "-window", self.window, "-depth", "8", shot.name)
            return read_ppm_pixel(shot.name, x, y)

    def screenshot(self, path):
        run("import", "-window", "root", path)

    def close_box(self):
        """Closes as the close box does: the window manager's WM_DELETE_WINDOW
        (Alt+F4 under openbox), pressed again if a busy display dropped it."""
        for _ in range(3):
            run("xdotool", "windowactivate", "--sync", self.window, check=False)
            run("xdotool", "key", "alt+F4", check=False)
            try:
                self.process.wait(5)
                return
            except subprocess.TimeoutExpired:
                pass

    def wait(self, timeout=30):
        try:
            return self.process.wait(timeout)
        finally:
            self.log.close()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


def read_ppm_pixel(path, x, y):
    with open(path, "rb") as file:
        data = file.read()
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    position += 1
    width, maximum = int(fields[1]), int(fields[3])
    assert fields[0] == b"P6" and maximum == 255, "expected an 8-bit binary PPM"
    offset = position + 3 * (y * width + x)
    return tuple(data[offset:offset + 3])
