#!/usr/bin/env python3
"""The one table at the end of `make bench`: every figure of the window's
start-up, memory, key presses and the headless answer, each beside the same
run's peer or floor, with the ratio (Mervik's figure over the peer's: below 1
is better) and the figure's budget.

Usage: bench-table.py FIGURES   (the JSON lines startup_bench and
                                 keypress_bench added to FIGURES)
"""
import json
import sys


def load(path):
    startup, keys = {}, {}
    with open(path) as lines:
        for line in lines:
            row = json.loads(line)
            if row["bench"] == "startup":
                startup[row["program"]] = row
            elif row["bench"] == "keypress":
                keys[(row["program"], row["typed"], row["scale"])] = row
    return startup, keys


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    startup, keys = load(sys.argv[1])
    rows = []

    def add(figure, ours, peer_name, peer, budget):
        ratio = ours / peer if ours is not None and peer else None
        rows.append((figure, ours, peer_name, peer, ratio, budget))

    def startup_figure(program, field):
        return startup.get(program, {}).get(field)

    for display, suffix in (("X11", ""), ("Wayland", " (Wayland)")):
        floor = "bare SDL2 window" + suffix
        add(f"first frame, {display} (ms)", startup_figure("mervik" + suffix, "frame_ms"), floor,
            startup_figure(floor, "frame_ms"), "<= 1.3x")
    for display, suffix, most in (("X11", "", 24), ("Wayland", " (Wayland)", 40)):
        floor = "bare SDL2 window" + suffix
        add(f"peak resident memory, {display} (MiB)", startup_figure("mervik" + suffix, "peak_MiB"), floor,
            startup_figure(floor, "peak_MiB"), f"<= {most} MiB")
    for display, suffix in (("X11", ""), ("Wayland", " (Wayland)")):
        floor = "bare SDL2 window" + suffix
        add(f"idle CPU, {display} (%)", startup_figure("mervik" + suffix, "idle_cpu_pct"), floor,
            startup_figure(floor, "idle_cpu_pct"), "0")

    for typed in ("7", "1...0"):
        for program in ("mervik", "mervik+panel"):
            for scale in (1, 2, 3):
                ours = keys.get((program, typed, scale), {})
                peer = keys.get(("speedcrunch", typed, scale), {})
                for stat, budget in (("median", ""), ("p90", "<= 2.5 ms"), ("worst", "<= 5 ms")):
                    # The budgets are the growing number's without the panel.
                    if typed == "7" or program != "mervik":
                        budget = ""
                    add(f"key {typed}, {program}, scale {scale}, {stat} (ms)", ours.get(stat),
                        "speedcrunch", peer.get(stat), budget)

    ours, qalc = startup_figure("mervik --keys", "oneshot_ms"), startup_figure("qalc -t", "oneshot_ms")
    add('headless "7 + 5 =" (ms)', ours, "qalc -t 7+5", qalc, "<= 8 ms, <= 0.1x")

    def text(value, digits=2):
        return "-" if value is None else f"{value:.{digits}f}"

    print("\nAll figures of this run, each beside the same run's peer or floor "
          "(x: Mervik's over the peer's; below 1 is better)")
    print(f"{'figure':<44} {'Mervik':>8}  {'against':<27} {'peer':>8} {'x':>6}  budget")
    for figure, ours, peer_name, peer, ratio, budget in rows:
        print(f"{figure:<44} {text(ours):>8}  {peer_name:<27} {text(peer):>8} {text(ratio):>6}  {budget}")


if __name__ == "__main__":
    main()
