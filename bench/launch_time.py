#!/usr/bin/env python3
"""Prints how long the demo takes from launch to its title on screen, in a window.

The title is on screen when the script first waits at the menu: the frame is sent before
the wait begins, and the trace is written and flushed as it begins.
Usage: bench/launch_time.py [build folder or binary] [runs] [options for torami...]   (needs a display, e.g. Xvfb)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
options = sys.argv[3:]
root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
torami = build if os.path.isfile(build) else os.path.join(root, build, "torami")
times = []
with tempfile.TemporaryDirectory() as data:
    for _ in range(runs):
        start = time.monotonic()
        run = subprocess.Popen(
            [torami, *options, "--new", "--data-dir", data, "--trace", "/dev/stdout",
             os.path.join(root, "demo")],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        for line in run.stdout:
            if '"kind":"menu"' in line:
                times.append((time.monotonic() - start) * 1000)
                break
        run.terminate()
        run.wait()
        time.sleep(0.2)
if not times:
    sys.exit("launch_time: the title menu never showed")
print("launch to title on screen: %.0f / %.0f / %.0f ms (min / median / max of %d)"
      % (min(times), statistics.median(times), max(times), len(times)))
