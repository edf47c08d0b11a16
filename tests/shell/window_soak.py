#!/usr/bin/env python3
"""Random input for the calculator's window, driven with xdotool (XTest).

Sends EVENTS seeded random events to the window: typed keys and key
combinations, modifiers pressed and released on their own, clicks of every
button, wheel turns, drags, and window-manager requests (move, resize, raise,
focus, unmap and map again). Nothing it sends is meant to close the window:
Ctrl+Q is never sent, and a modifier held down on its own is always released
before a "q" is typed, alone or in a combination, since a Ctrl held over a
later q (or super+q) is Ctrl+Q. Between
batches of events it checks that the program still runs; when it has ended,
it prints the events of the last batch and exits with status 1.

Usage: window_soak.py SEED EVENTS WINDOW_ID PID X Y [--hold-over-q]
  --hold-over-q  let a modifier held on its own stay down over a typed q: a
                 held Ctrl then makes it Ctrl+Q, and the window rightly closes
"""

import os
import random
import subprocess
import sys
import time

KEYS = list("0123456789ABCDEFGHIJKLMNabcdefghijklmnopqrstuvwxyz") + [
    "plus", "minus", "asterisk", "slash", "percent", "equal", "period", "comma", "space", "Return",
    "KP_Enter", "KP_Add", "KP_Subtract", "KP_Multiply", "KP_Divide", "KP_Decimal", "KP_5", "BackSpace",
    "Delete", "Escape", "Tab", "Up", "Down", "Left", "Right", "Home", "End", "Prior", "Next", "F1", "F5",
    "F10", "Menu", "Caps_Lock", "Num_Lock", "underscore", "exclam", "question",
]
MODIFIERS = ["ctrl", "shift", "alt", "super"]
# Ctrl combinations the window knows or ignores; never ctrl+q.
CTRL_COMBOS = ["ctrl+c", "ctrl+v", "ctrl+a", "ctrl+z", "ctrl+x", "ctrl+w", "ctrl+n", "ctrl+Return", "ctrl+7"]


class Soak:
    def __init__(self, seed, window, x, y, hold_over_q):
        self.random = random.Random(seed)
        self.window = window
        self.x, self.y = x, y
        self.held = []  # modifiers pressed on their own and not yet released
        self.hold_over_q = hold_over_q

    def point(self):
        r = self.random
        if r.random() < 0.9:
            return self.x + r.randrange(320), self.y + r.randrange(460)
        return r.randrange(1280), r.randrange(1024)

    def next_event(self):
        """One event as a list of xdotool words."""
        r = self.random
        kind = r.choices(["key", "combo", "modifier", "click", "wheel", "drag", "window"],
                         [40, 6, 8, 25, 6, 10, 5])[0]
        if kind == "key":
            return self.typed(r.choice(KEYS + ["q", "Q"]))
        if kind == "combo":
            if r.random() < 0.5:
                return ["key", r.choice(CTRL_COMBOS)]
            return self.typed(r.choice(["shift", "alt", "super"]) + "+" + r.choice(KEYS))
        if kind == "modifier":
            if self.held and r.random() < 0.6:
                m = self.held.pop(r.randrange(len(self.held)))
                return ["keyup", m]
            m = r.choice(MODIFIERS)
            if m in self.held:
                self.held.remove(m)
                return ["keyup", m]
            self.held.append(m)
            return ["keydown", m]
        if kind == "click":
            x, y = self.point()
            return ["mousemove", str(x), str(y), "click", str(r.choice([1, 1, 1, 2, 3]))]
        if kind == "wheel":
            x, y = self.point()
            return ["mousemove", str(x), str(y), "click", "--repeat", str(r.randint(1, 5)), str(r.choice([4, 5, 6, 7]))]
        if kind == "drag":
            x, y = self.point()
            words = ["mousemove", str(x), str(y), "mousedown", "1"]
            for _ in range(r.randint(1, 6)):
                x, y = self.point() if r.random() < 0.3 else (x + r.randint(-60, 60), y + r.randint(-60, 60))
                words += ["mousemove", str(max(0, x)), str(max(0, y))]
            return words + ["mouseup", "1"]
        # Window-manager requests (no window manager runs: they act at once).
        w = self.window
        choice = r.choice(["move", "size", "raise", "focus", "unmap", "minimize"])
        if choice == "move":
            return ["windowmove", w, str(r.randrange(0, 900)), str(r.randrange(0, 500))]
        if choice == "size":
            return ["windowsize", w, str(r.randint(1, 900)), str(r.randint(1, 1000))]
        if choice == "raise":
            return ["windowraise", w]
        if choice == "focus":
            return ["windowfocus", w]
        if choice == "unmap":
            return ["windowunmap", w, "sleep", "0.05", "windowmap", w]
        return ["windowminimize", w, "sleep", "0.05", "windowmap", w]

    def typed(self, key):
        """Types KEY (a key or a combination such as super+q); a q, alone or
        in a combination, first lets go of the modifiers held on their own."""
        if key.split("+")[-1] in ("q", "Q") and not self.hold_over_q:
            return self.release_all() + ["key", key]
        return ["key", key]

    def follow_window(self):
        """Aims later clicks at the window where it is now."""
        shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.window],
                               capture_output=True, text=True).stdout
        place = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
        if "X" in place and "Y" in place:
            self.x, self.y = int(place["X"]), int(place["Y"])

    def release_all(self):
        words = [w for m in self.held for w in ("keyup", m)]
        self.held = []
        return words


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    # A zombie has ended too.
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(")")[-1].split()[0] != "Z"
    except OSError:
        return False


def release(words):
    """Lets go of whatever the soak still holds down."""
    if words:
        subprocess.run(["xdotool"] + words, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(args) != 6:
        print(__doc__)
        return 2
    seed, events, window, pid, x, y = int(args[0]), int(args[1]), args[2], int(args[3]), int(args[4]), int(args[5])
    soak = Soak(seed, window, x, y, "--hold-over-q" in sys.argv)
    batch_size = 10
    sent = 0
    while sent < events:
        batch = []
        for _ in range(min(batch_size, events - sent)):
            held = list(soak.held)
            batch.append((soak.next_event(), held))
        words = [w for e, _ in batch for w in e]
        # A window request on a window that went away fails the chain; the
        # check below tells why.
        subprocess.run(["xdotool"] + words, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        time.sleep(0.02)
        if any(e[0].startswith("window") for e, _ in batch):
            soak.follow_window()
        if not alive(pid):
            print(f"the program ended within events {sent + 1} to {sent + len(batch)} (seed {seed}):")
            for i, (e, held) in enumerate(batch):
                print(f"  {sent + 1 + i}: {' '.join(e)}" + (f"  (held down: {' '.join(held)})" if held else ""))
            release(soak.release_all())
            return 1
        sent += len(batch)
    release(soak.release_all() + ["mouseup", "1"])
    print(f"{sent} random events (seed {seed}): the window stayed open")
    return 0


if __name__ == "__main__":
    sys.exit(main())
