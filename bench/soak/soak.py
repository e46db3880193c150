#!/usr/bin/env python3
"""Soak run: one game process races the career's 15 circuits back to back, headless, the
autopilot driving, for a given time. After every race it records the process's resident memory
and open file descriptors; at the end it checks that neither grew beyond the first round of
circuits (allowing for noise), that every race was finished, that nothing was reported on
standard error (an OpenAL error shows there as a box's text) and that the game quit in order.

  bench/soak/soak.py [--minutes 60] [--races N] [--build build] [--table soak.md]

Prints one line per race as it ends and a table of the start, middle and end; exits 1 when a
check fails. The short run of the test suite is --races 3 (see CMakeLists.txt here).
"""
import argparse
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

CAREER_WORDS = 178
CIRCUITS = 15
# Resident memory moves by a few hundred kilobytes between races (allocator pools, the mixer's
# buffers); a leak of a track's models or sounds would be tens of megabytes per round.
MEMORY_NOISE_KB = 4096
RACE_LINE = re.compile(r"^race track=(\d+) car=(\d+) finished=(yes|no) place=(\d+) time=([\d.]+)")


def career_with_every_race_open():
    """A career record whose race list holds all 15 races, so the run goes round every circuit."""
    words = [0] * CAREER_WORDS
    words[0:3] = [1, 1, 1]  # cars 0..2, as a new career has them
    words[174] = CIRCUITS   # racesOpen
    words[176] = 350        # cash
    words[177] = 1          # careerStarted
    return struct.pack("<%di" % CAREER_WORDS, *words)


def make_game_folder(base):
    """A scratch folder whose base/ links every generated file but the two data files."""
    folder = tempfile.mkdtemp(prefix="cobalt-soak-")
    os.mkdir(os.path.join(folder, "base"))
    for name in os.listdir(base):
        if name not in ("menu.inf", "career.inf"):
            os.symlink(os.path.join(base, name), os.path.join(folder, "base", name))
    with open(os.path.join(folder, "base", "career.inf"), "wb") as f:
        f.write(career_with_every_race_open())
    return folder


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def open_descriptors(pid):
    return len(os.listdir("/proc/%d/fd" % pid))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--minutes", type=float, default=60, help="how long to race (default 60)")
    parser.add_argument("--races", type=int, default=0, help="stop after this many races instead")
    parser.add_argument("--build", default=os.path.join(here, "..", "..", "build"),
                        help="the build folder with cobalt-overdrive and base/")
    parser.add_argument("--table", help="also write the table (Markdown) to this file")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    game = os.path.join(args.build, "cobalt-overdrive")
    folder = make_game_folder(os.path.abspath(os.path.join(args.build, "base")))
    # The game is told to play more races than the time allows; the end of the time stops it the
    # way the system stops a program, and it must still quit in order.
    races_asked = args.races if args.races else 1000000
    command = [game, "--headless", "--autopilot", "--career", str(races_asked), "--seed", str(args.seed),
               "--fixed-frame-ms", "10", "--no-browser"]
    env = dict(os.environ, ALSOFT_LOGLEVEL="0")
    errors_path = os.path.join(folder, "stderr.txt")
    with open(errors_path, "w") as errors:
        game_process = subprocess.Popen(command, cwd=folder, stdout=subprocess.PIPE, stderr=errors, env=env,
                                        text=True, bufsize=1)
    pid = game_process.pid
    start = time.monotonic()
    deadline = start + args.minutes * 60
    rows = []  # (race, track, finished, place, race seconds, wall seconds, memory kB, descriptors)
    stop_sent = False
    print("race track finished place  race_s   wall_s  rss_kB  fds", flush=True)
    for line in game_process.stdout:
        m = RACE_LINE.match(line)
        if not m:
            continue
        try:
            memory, descriptors = resident_kb(pid), open_descriptors(pid)
        except OSError:
            break  # the process is already gone: its last line is a race cut short
        row = (len(rows) + 1, int(m.group(1)), m.group(3) == "yes", int(m.group(4)), float(m.group(5)),
               time.monotonic() - start, memory, descriptors)
        rows.append(row)
        print("%4d %5d %8s %5d %7.1f %8.1f %7d %4d" % (row[0], row[1], "yes" if row[2] else "no", row[3], row[4],
                                                      row[5], row[6], row[7]), flush=True)
        if not args.races and time.monotonic() >= deadline and not stop_sent:
            game_process.send_signal(signal.SIGTERM)
            stop_sent = True
    if not args.races and not stop_sent:
        game_process.send_signal(signal.SIGTERM)
        stop_sent = True
    status = game_process.wait()
    with open(errors_path) as f:
        error_lines = [l.rstrip("\n") for l in f if l.strip()]

    # The race running when the stop came is cut short (its line says finished=no): it is not one
    # of the races that must finish, nor a measure of the memory of a finished race.
    if stop_sent and rows and not rows[-1][2]:
        rows.pop()
    failures = []
    if status != 0:
        failures.append("the game exited with status %d" % status)
    if error_lines:
        failures.append("standard error is not empty: %s" % " | ".join(error_lines[:5]))
    if args.races and len(rows) != args.races:
        failures.append("%d races asked, %d reported" % (args.races, len(rows)))
    if not rows:
        failures.append("no race finished")
    for r in rows:
        if not r[2]:
            failures.append("race %d (track %d) was not finished" % (r[0], r[1]))
        expected_track = (r[0] - 1) % CIRCUITS + 1
        if r[1] != expected_track:
            failures.append("race %d was on track %d, not %d" % (r[0], r[1], expected_track))
    if rows:
        # Tracks differ in size: the first round of circuits sets the level; after it the memory
        # must not climb past that round's highest. The descriptors are the same for every race:
        # by the time a race's line is read the next race may have opened its tune, one more.
        first_round = rows[:CIRCUITS]
        memory_ceiling = max(r[6] for r in first_round) + MEMORY_NOISE_KB
        for r in rows[CIRCUITS:]:
            if r[6] > memory_ceiling:
                failures.append("race %d: %d kB resident, above the first round's %d kB" %
                                (r[0], r[6], memory_ceiling - MEMORY_NOISE_KB))
                break
        for r in rows[1:]:
            if r[7] > rows[0][7] + 1:
                failures.append("race %d: %d descriptors open, %d after the first" % (r[0], r[7], rows[0][7]))
                break

    def table_row(r):
        return "| %d | %d | %.0f | %.1f | %d | %d |" % (r[0], r[1], r[5], r[6] / 1024.0, r[7], r[3])

    picked = []
    if rows:
        for r in (rows[0], rows[len(rows) // 2], rows[-1]):
            if r not in picked:
                picked.append(r)
    table = ["| race | track | wall s | resident MB | descriptors | place |", "|---|---|---|---|---|---|"]
    table += [table_row(r) for r in picked]
    summary = "%d races in %.1f min, exit status %d" % (len(rows), (time.monotonic() - start) / 60, status)
    print("\n" + "\n".join(table) + "\n\n" + summary)
    if args.table:
        with open(args.table, "w") as f:
            f.write("\n".join(table) + "\n\n" + summary + "\n")
    for f in failures:
        print("FAIL: " + f, file=sys.stderr)
    if not failures:
        shutil.rmtree(folder, ignore_errors=True)
    else:
        print("the game's folder is kept: " + folder, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
