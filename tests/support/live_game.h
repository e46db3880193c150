// The game binary running beside the test: the test follows the trace as the game writes it and
// works the window with real X input (xdotool moving the pointer, clicking, pressing keys), as a
// player at the mouse and keyboard would. Pictures of the window are read back from the X server,
// so they show what the player saw.
#pragma once
#include "support/game_run.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>

struct LiveGame {
    pid_t pid = -1;
    int exitCode = -1000;
    std::string tracePath;
    std::string line; // the newest whole trace line
    std::string window;
    std::string log; // what the test did, for failure messages

    LiveGame(const TempDir &dir, std::vector<std::string> args)
    {
        tracePath = dir.file("t.jsonl");
        args.insert(args.end(), {"--trace", tracePath});
        pid = startGame(dir, std::move(args), dir.file("stderr.txt"), dir.file("stdout.txt"));
    }
    ~LiveGame()
    {
        if (running())
            stopProgram(pid);
    }

    bool running()
    {
        int status = 0;
        if (pid > 0 && waitForEnd(pid, 0, &status)) {
            exitCode = exitCodeOf(status);
            pid = -1;
        }
        return pid > 0;
    }

    // Takes in what the game has written since the last look.
    void poll()
    {
        std::ifstream in(tracePath, std::ios::binary);
        in.seekg(0, std::ios::end);
        std::streamoff size = in.tellg();
        // Only the tail matters; a line is well under 8 KB.
        in.seekg(std::max<std::streamoff>(0, size - 16384));
        std::string tail((std::istreambuf_iterator<char>(in)), {});
        size_t end = tail.rfind('\n');
        if (end == std::string::npos)
            return;
        size_t begin = tail.rfind('\n', end - 1);
        line = tail.substr(begin == std::string::npos ? 0 : begin + 1, end - (begin == std::string::npos ? 0 : begin + 1));
    }

    std::string field(const char *name) const { return traceField(line, name); }
    // A list field whole: "[1,0,0]".
    std::string list(const char *name) const
    {
        size_t at = line.find("\"" + std::string(name) + "\":[");
        if (at == std::string::npos)
            return "";
        at = line.find('[', at);
        return line.substr(at, line.find(']', at) - at + 1);
    }
    int number(const char *name) const { return std::atoi(field(name).c_str()); }
    long frame() const { return std::atol(field("frame").c_str()); }

    // Waits (in wall-clock seconds) until the newest line passes `test`; false when the game ended
    // or the time ran out.
    bool waitUntil(const std::function<bool()> &test, double seconds, const std::string &what)
    {
        log += "wait: " + what + "\n";
        auto start = std::chrono::steady_clock::now();
        while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds) {
            poll();
            if (!line.empty() && test())
                return true;
            if (!running())
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        poll();
        log += "  gave up at: " + line.substr(0, 400) + "\n";
        return false;
    }
    // A menu screen fully faded in.
    bool waitForScreen(int state, double seconds = 120)
    {
        return waitUntil([&] { return number("gameState") == state && number("shownState") == state &&
                                      field("screenFade") == "1"; },
                         seconds, "screen " + std::to_string(state));
    }
    // Some frames more, so the picture on the window is one drawn after what was waited for.
    bool waitFrames(long frames, double seconds = 60)
    {
        long target = frame() + frames;
        return waitUntil([&] { return frame() >= target; }, seconds, "frames");
    }

    bool findWindow(double seconds = 120)
    {
        // xdotool prints the ids it found, one a line, and its complaints too (kept for the log).
        std::string out;
        bool found = waitUntil(
            [&] {
                out = commandOutput("xdotool search --name '^Cobalt Overdrive$' 2>&1");
                return !out.empty() && std::isdigit(static_cast<unsigned char>(out[0]));
            },
            seconds, "the window named Cobalt Overdrive");
        if (!found)
            log += "  xdotool's last answer: \"" + out.substr(0, 200) + "\"\n";
        window = out.substr(0, out.find('\n'));
        return found;
    }

    void xdotool(const std::string &args)
    {
        log += "xdotool " + args + "\n";
        std::string command = "xdotool " + args + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            log += "  (failed)\n";
    }
    // The menus' 800 x 600 units per window pixel: 1.25 at 640 x 480, 1 at 800 x 600.
    double menuUnitsPerPixel = 1.0;
    // x and y in menu units (y from the top), placed on the window's pixels.
    // A move onto the pixel the pointer is already on is skipped: xdotool's --sync would wait
    // its full 15 seconds for motion that never comes.
    void pointAt(int x, int y)
    {
        long px = std::lround(x / menuUnitsPerPixel), py = std::lround(y / menuUnitsPerPixel);
        if (px == pointer[0] && py == pointer[1])
            return;
        xdotool("mousemove --sync --window " + window + " " + std::to_string(px) + " " + std::to_string(py));
        pointer[0] = px, pointer[1] = py;
    }
    long pointer[2] = {-1, -1};
    void clickAt(int x, int y)
    {
        pointAt(x, y);
        xdotool("click 1");
    }
    void tap(const std::string &key) { xdotool("key --delay 60 " + key); }
    // A key held until the game has seen it: the race reads held keys once a frame.
    void press(const std::string &key) { xdotool("keydown " + key); }
    void release(const std::string &key) { xdotool("keyup " + key); }

    // The window's picture as the X server shows it, saved as a PNG by ImageMagick's import.
    bool capture(const std::string &path)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return std::system(("import -window " + window + " " + path + " >/dev/null 2>&1").c_str()) == 0;
    }

    // Waits for the game to end by itself; kills it when it does not.
    int finish(double seconds = 60)
    {
        int status = 0;
        if (pid > 0 && waitForEnd(pid, seconds, &status)) {
            exitCode = exitCodeOf(status);
        } else if (pid > 0) {
            stopProgram(pid);
            exitCode = -1002;
        }
        pid = -1;
        return exitCode;
    }
};
