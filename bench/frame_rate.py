#!/usr/bin/python3
"""Frame-rate benchmark: a seeded race driven by the autopilot, on the real clock, in a virtual
display with Mesa's software renderer unless a display is given.

    bench/frame_rate.py [--build build] [--track 1] [--size 800x600] [--frames 600] [--seed 5]
                        [--passes] [--display] [--same-frames MS]

Reports the median, 90th and 99th percentile frame times and frames per second of the race's
frames (loading and the first frames after it left out), the processor time a frame costs (all
the game's threads: on a busy machine the figure that stays put), and with --passes the mean time
of each pass of the frame, its fragment-program runs and the processor time the game's own thread
spent on it (the rest is the renderer's threads drawing it). Passes are timed by finishing the GL
work at each pass boundary, which costs the renderer some overlap: the shares are right, the total
with --passes is a little slower than without. Also reported: the first frame's delay after
launch, the track's load (the race's start, from the click to its first frame) and the game's peak
resident memory. The game runs in a scratch folder whose base/ links the build's content, so the build's
own settings and career files are never touched.
With --same-frames MS the game clock steps MS a frame, so every run draws the same frames: the
way to compare a change pass by pass (frame times then come from the pass timers, and the
percentiles of the real clock are not reported).
"""
import argparse
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SIZES = {"640x480": 0, "800x600": 1, "1024x768": 2, "1280x1024": 3, "1600x1200": 4}


def percentile(sorted_values, p):
    if not sorted_values:
        return float("nan")
    i = min(len(sorted_values) - 1, max(0, int(round(p / 100.0 * (len(sorted_values) - 1)))))
    return sorted_values[i]


def cpu_seconds(pid):
    """User and system time of a running process, all its threads."""
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def scratch_game(build, size_index):
    """A folder with base/ linking every generated file but the two data files."""
    top = tempfile.mkdtemp(prefix="cobalt-bench-")
    base = os.path.join(top, "base")
    os.mkdir(base)
    for name in os.listdir(os.path.join(build, "base")):
        if name not in ("menu.inf", "career.inf"):
            os.symlink(os.path.abspath(os.path.join(build, "base", name)), os.path.join(base, name))
    # The settings file: six little-endian words (mode, colour bits, depth bits, sound, music,
    # mouse sensitivity).
    with open(os.path.join(base, "menu.inf"), "wb") as f:
        f.write(struct.pack("<6i", size_index, 32, 24, 1, 1, 0))
    return top


def run(args):
    build = os.path.abspath(args.build)
    game = os.path.join(build, "cobalt-overdrive")
    top = scratch_game(build, SIZES[args.size])
    try:
        trace = os.path.join(top, "trace.json")
        cmd = [game, "--windowed", "--no-browser", "--auto-answer", "no", "--seed", str(args.seed),
               "--race", "%d,0" % args.track, "--autopilot",
               "--trace", trace, "--audio-out", os.path.join(top, "mix.wav")]
        if args.passes or args.same_frames:
            cmd.append("--pass-times")
        if args.same_frames:
            cmd += ["--fixed-frame-ms", str(args.same_frames)]
        env = dict(os.environ)
        xvfb = None
        if not args.display:
            # Our own virtual display, so the game is this script's child and its peak memory
            # is its own (xvfb-run would add the X server's).
            read_fd, write_fd = os.pipe()
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", args.size + "x24",
                                     "-nolisten", "tcp", "-noreset"], pass_fds=[write_fd],
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                    stderr=open(os.path.join(top, "xvfb.txt"), "wb"))
            os.close(write_fd)
            # Read up to the newline: the server writes the number and the newline apart, and
            # a pipe closed in between ends it.
            display = b""
            while not display.endswith(b"\n"):
                chunk = os.read(read_fd, 64)
                if not chunk:
                    break
                display += chunk
            display = display.decode().strip()
            os.close(read_fd)
            env["DISPLAY"] = ":" + display
            env.setdefault("LIBGL_ALWAYS_SOFTWARE", "1")
            env.setdefault("ALSOFT_LOGLEVEL", "0")
        try:
            launch = time.monotonic()
            game_proc = subprocess.Popen(cmd, cwd=top, env=env, stdout=subprocess.DEVNULL,
                                         stderr=open(os.path.join(top, "stderr.txt"), "wb"))
            # The trace is written a line a frame as it happens: its first line is the first
            # frame on screen. Loading takes a time, not a number of frames, so the game runs
            # until the trace holds enough race frames and is then stopped.
            first_frame = None
            race_frames = 0
            pid = 0
            why = ""
            cpu_start = cpu_per_frame = None
            with open(trace, "w"):
                pass
            with open(trace) as follow:
                pending = ""
                while race_frames < args.frames + 12:
                    # wait4 rather than poll: the game's own resource use comes with its status.
                    pid, status, usage = os.wait4(game_proc.pid, os.WNOHANG)
                    if pid:
                        break
                    if xvfb and xvfb.poll() is not None:
                        why = "the virtual display ended (%d): %s" % (
                            xvfb.returncode, open(os.path.join(top, "xvfb.txt"), errors="replace").read()[-1000:])
                        break  # the run cannot be measured
                    if not race_frames and time.monotonic() - launch > 300:
                        why = "five minutes without a race"
                        break
                    chunk = follow.read()
                    if not chunk:
                        time.sleep(0.005)
                        continue
                    if first_frame is None:
                        first_frame = time.monotonic() - launch
                    pending += chunk
                    lines = pending.split("\n")
                    pending = lines.pop()
                    before = race_frames
                    race_frames += sum('"raceClock"' in line for line in lines)
                    # Processor time over the measured frames: the work a frame costs, which
                    # other programs on the machine do not change as they change the wall clock.
                    if before < 12 <= race_frames:
                        cpu_start = (cpu_seconds(game_proc.pid), race_frames)
                    if race_frames >= args.frames + 12 and cpu_start:
                        cpu_per_frame = (cpu_seconds(game_proc.pid) - cpu_start[0]) / (race_frames - cpu_start[1])
            stopped = not pid
            if stopped:
                game_proc.kill()
                _, status, usage = os.wait4(game_proc.pid, 0)
            game_proc.returncode = os.waitstatus_to_exitcode(status)
        finally:
            if xvfb:
                xvfb.terminate()
                xvfb.wait()
        if (game_proc.returncode != 0 and not stopped) or race_frames < args.frames:
            sys.exit("the game failed (%d, %d race frames) %s: %s" % (
                game_proc.returncode, race_frames, why,
                open(os.path.join(top, "stderr.txt"), errors="replace").read()[-2000:]))
        # The last line may have been cut off by the stop.
        frames = [json.loads(line) for line in open(trace) if line.endswith("\n")]
    finally:
        shutil.rmtree(top, ignore_errors=True)

    # Race frames only: the trace line of a frame carries its clock at the frame's start, so a
    # frame's time is the next line's clock minus its own. The first race frames (the track's
    # first draw, caches filling) are left out.
    race = [i for i, f in enumerate(frames[:-1]) if "raceClock" in f and f["gameState"] == frames[i + 1]["gameState"]]
    race = race[10:]
    if args.same_frames:
        times = sorted(sum(frames[i + 1].get("passMs", {}).values()) for i in race)
    else:
        times = sorted(frames[i + 1]["clockMs"] - frames[i]["clockMs"] for i in race)
    if not times:
        sys.exit("no race frames in the trace")
    median = percentile(times, 50)
    load_ms = max(f.get("raceLoadMs", 0) for f in frames)
    print("track %d  %s  %d race frames  (machine load %.2f)" % (args.track, args.size, len(times), os.getloadavg()[0]))
    print("  first frame %.0f ms after launch   track load %.0f ms   peak memory %.0f MB"
          % (1000 * (first_frame or float("nan")), load_ms, usage.ru_maxrss / 1024.0))
    print("  median %.1f ms (%.1f fps)   90%% %.1f ms   99%% %.1f ms   mean %.1f ms   processor %.1f ms a frame"
          % (median, 1000.0 / median, percentile(times, 90), percentile(times, 99), sum(times) / len(times),
             1000 * (cpu_per_frame or float("nan"))))
    if args.passes or args.same_frames:
        w, h = (int(v) for v in args.size.split("x"))
        sums, cpu, runs = {}, {}, {}
        for i in race:
            for key, table in (("passMs", sums), ("passCpuMs", cpu), ("passFragments", runs)):
                for name, v in frames[i + 1].get(key, {}).items():
                    table[name] = table.get(name, 0.0) + v
        total = sum(sums.values()) or 1.0
        print("  %-12s %9s %6s %16s %12s" % ("pass", "mean ms", "share", "fragment runs", "game thread"))
        for name, s in sorted(sums.items(), key=lambda kv: -kv[1]):
            n = runs.get(name, 0.0) / len(race)
            print("  %-12s %9.2f %5.1f%% %9.2f M %4.1f/px %9.2f ms" % (name, s / len(race), 100.0 * s / total, n / 1e6,
                                                                    n / (w * h), cpu.get(name, 0.0) / len(race)))
    return median


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", default="build", help="the build folder (holds the game and base/)")
    p.add_argument("--track", type=int, default=1)
    p.add_argument("--size", default="800x600", choices=sorted(SIZES))
    p.add_argument("--frames", type=int, default=600, help="race frames to measure")
    p.add_argument("--seed", type=int, default=5)
    p.add_argument("--passes", action="store_true", help="time each pass of the frame")
    p.add_argument("--display", action="store_true", help="use $DISPLAY instead of a virtual one")
    p.add_argument("--same-frames", type=int, metavar="MS", help="a fixed game step: the same frames every run")
    run(p.parse_args())


if __name__ == "__main__":
    main()
