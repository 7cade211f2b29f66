#!/usr/bin/env python3
"""Times whole commands, interleaved round by round so that a busy moment of
the machine falls on every command alike, and prints each one's median.

Usage: time-commands.py ROUNDS NAME=COMMAND [NAME=COMMAND ...]
Prints one line per command: NAME median_ms mean_ms. Exits non-zero when a
command fails.
"""
import shlex
import statistics
import subprocess
import sys
import time

def main():
    rounds = int(sys.argv[1])
    commands = [arg.split("=", 1) for arg in sys.argv[2:]]
    times = {name: [] for name, _ in commands}
    for round_number in range(rounds + 3):  # the first three rounds warm up
        for name, command in commands:
            start = time.perf_counter()
            result = subprocess.run(shlex.split(command), stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            elapsed = time.perf_counter() - start
            if result.returncode != 0:
                sys.exit(f"{name} failed: {command}")
            if round_number >= 3:
                times[name].append(elapsed * 1000)
    for name, _ in commands:
        print(f"{name} {statistics.median(times[name]):.2f} {statistics.mean(times[name]):.2f}")

main()
