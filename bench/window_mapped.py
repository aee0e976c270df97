#!/usr/bin/env python3
"""Prints how long a program takes from launch until its first window is mapped on the X
display in DISPLAY, told by the X server itself (a MapNotify on the root window), so any
player can be timed alike. Usage: bench/window_mapped.py RUNS COMMAND [ARGUMENT...]"""
import ctypes
import os
import select
import statistics
import subprocess
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]


def mapped_after(display, command):
    """Milliseconds from launch to the first window mapped, or None after 10 s."""
    event = ctypes.create_string_buffer(192)
    while x11.XPending(display):  # what earlier runs left
        x11.XNextEvent(display, event)
    start = time.monotonic()
    run = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    took = None
    fd = x11.XConnectionNumber(display)
    while took is None and time.monotonic() - start < 10:
        if not x11.XPending(display):
            select.select([fd], [], [], 0.05)
            continue
        x11.XNextEvent(display, event)
        if ctypes.c_int.from_buffer(event).value == MAP_NOTIFY:
            took = (time.monotonic() - start) * 1000
    run.terminate()
    run.wait()
    return took


def main():
    runs, command = int(sys.argv[1]), sys.argv[2:]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("window_mapped: no X display")
    x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
    x11.XFlush(display)
    times = []
    for _ in range(runs):
        took = mapped_after(display, command)
        if took is not None:
            times.append(took)
        time.sleep(0.3)
    if not times:
        sys.exit("window_mapped: no window was mapped")
    print("%.0f / %.0f / %.0f ms (min / median / max of %d)"
          % (min(times), statistics.median(times), max(times), len(times)))


main()
