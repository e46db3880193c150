// Runs the game binary the way a player starts it, in a scratch directory whose base/ holds the
// generated content (linked) and the test's own data files.
#pragma once
#include "support/temp_dir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

struct GameRun {
    int exitCode = -1000;
    bool timedOut = false;
    std::string stderrText;
    std::string stdoutText;
};

// Links every entry of the generated base/ into the folder `base` (made as needed), except the
// data files the game writes and the entries named in `leaveOut`: "music" leaves out a folder,
// "sound/cr0.wav" one file of it (the folder is then made and the rest linked one by one).
inline void linkContentInto(const std::filesystem::path &base, const std::vector<std::string> &leaveOut = {},
                            const std::string &folder = "")
{
    std::error_code ec;
    std::filesystem::create_directories(base / folder, ec);
    for (const auto &e : std::filesystem::directory_iterator(std::filesystem::path(COBALT_BASE_DIR) / folder, ec)) {
        std::string name = (folder.empty() ? "" : folder + "/") + e.path().filename().string();
        if (name == "menu.inf" || name == "career.inf" || name == "controls.inf" ||
            std::find(leaveOut.begin(), leaveOut.end(), name) != leaveOut.end())
            continue;
        if (std::any_of(leaveOut.begin(), leaveOut.end(), [&](const std::string &l) { return l.rfind(name + "/", 0) == 0; }))
            linkContentInto(base, leaveOut, name);
        else
            std::filesystem::create_symlink(e.path(), base / name, ec);
    }
}

// The same into dir/base.
inline void linkContent(const TempDir &dir) { linkContentInto(dir.path / "base"); }

using GameEnv = std::vector<std::pair<std::string, std::string>>;

// Starts `binary` in the folder `cwd` with its standard error and output going to the two files;
// returns its process id without waiting.
inline pid_t startProgram(const std::string &binary, const std::filesystem::path &cwd, std::vector<std::string> args,
                          const std::string &errPath, const std::string &outPath, const GameEnv &env = {})
{
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(101);
        for (const auto &[key, value] : env)
            setenv(key.c_str(), value.c_str(), 1);
        int fd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 2);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        std::vector<char *> argv;
        std::string bin = binary;
        argv.push_back(bin.data());
        for (auto &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(bin.c_str(), argv.data());
        _exit(102);
    }
    return pid;
}

// Sends `signal` to a program started above and waits for its end; its wait status.
inline int stopProgram(pid_t pid, int signal = SIGKILL)
{
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// Waits up to `seconds` for a program started above to end; false when it still runs.
inline bool waitForEnd(pid_t pid, double seconds, int *status)
{
    auto start = std::chrono::steady_clock::now();
    while (waitpid(pid, status, WNOHANG) != pid) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= seconds)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A wait status as the exit code a shell shows (-1000 when the program did not exit by itself).
inline int exitCodeOf(int status) { return WIFEXITED(status) ? int(int8_t(WEXITSTATUS(status))) : -1000; }

// The game started as a player starts it, from the folder dir that holds its base/.
inline pid_t startGame(const TempDir &dir, std::vector<std::string> args, const std::string &errPath,
                       const std::string &outPath, const GameEnv &env = {})
{
    return startProgram(COBALT_GAME_BINARY, dir.path, std::move(args), errPath, outPath, env);
}

// A file's whole text (empty when it cannot be read).
inline std::string textOf(const std::string &path)
{
    Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs `binary` in the folder `cwd` to its end (killed after timeoutSeconds); its standard output
// and error are kept in dir.
inline GameRun runProgram(const TempDir &dir, const std::string &binary, const std::filesystem::path &cwd,
                          std::vector<std::string> args, int timeoutSeconds = 240, const GameEnv &env = {})
{
    GameRun r;
    std::string errPath = dir.file("stderr.txt");
    pid_t pid = startProgram(binary, cwd, std::move(args), errPath, errPath + ".out", env);
    int status = 0;
    if (!waitForEnd(pid, timeoutSeconds, &status)) {
        status = stopProgram(pid);
        r.timedOut = true;
    }
    r.exitCode = exitCodeOf(status);
    r.stderrText = textOf(errPath);
    r.stdoutText = textOf(errPath + ".out");
    return r;
}

// The game as a player starts it from the folder that holds its base/.
inline GameRun runGame(const TempDir &dir, std::vector<std::string> args, int timeoutSeconds = 240, const GameEnv &env = {})
{
    return runProgram(dir, COBALT_GAME_BINARY, dir.path, std::move(args), timeoutSeconds, env);
}

// A screenshot's width and height; {0, 0} unless it is laid out as the game writes its PNGs:
// 8-bit RGB, one IDAT chunk right after the IHDR, holding stored (uncompressed) deflate blocks
// whose lengths add up to the filtered rows and end where the chunk's checksum begins.
inline std::pair<uint32_t, uint32_t> screenshotSize(const Bytes &png)
{
    auto be32 = [&](size_t at) { return uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    if (png.size() < 45 || std::memcmp(&png[37], "IDAT", 4) != 0 || png[24] != 8 || png[25] != 2)
        return {0, 0};
    size_t end = 41 + size_t(be32(33)) - 4, p = 43, bytes = 0; // the adler-32 closes the data
    if (end > png.size())
        return {0, 0};
    for (size_t n; p + 5 <= end && !((png[p] >> 1) & 3); p += 5 + n) { // a flag byte, the length twice
        n = size_t(png[p + 1] | png[p + 2] << 8);
        bytes += n;
    }
    if (p != end || bytes != (size_t(be32(16)) * 3 + 1) * be32(20))
        return {0, 0};
    return {be32(16), be32(20)};
}

// Standard output of a shell command.
inline std::string commandOutput(const std::string &command)
{
    std::string out;
    if (FILE *p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

// A grey measure of a saved picture, or of the part "WxH+X+Y" of it, from 0 to 1, by ImageMagick:
// "mean", or "maxima" for its brightest pixel; -1 when the picture cannot be read.
inline double pictureGrey(const std::string &path, const char *measure = "mean", const std::string &part = "")
{
    std::string crop = part.empty() ? "" : " -crop " + part;
    const std::string out =
        commandOutput("convert " + path + crop + " -colorspace gray -format '%[fx:" + measure + "]' info: 2>/dev/null");
    double grey = -1;
    if (std::sscanf(out.c_str(), "%lf", &grey) != 1)
        grey = -1;
    return grey;
}

// The trace as one string per line.
inline std::vector<std::string> traceLines(const std::string &path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

// The raw text of a top-level field of one trace line ("12", "true", "1.5").
inline std::string traceField(const std::string &line, const std::string &name)
{
    std::string key = "\"" + name + "\":";
    size_t at = line.find(key);
    if (at == std::string::npos)
        return "";
    at += key.size();
    size_t end = line.find_first_of(",}", at);
    return line.substr(at, end - at);
}

// A field's value as a number (0 when absent).
inline double traceNumber(const std::string &text, const char *name) { return std::atof(traceField(text, name).c_str()); }

// The numbers of a list field of a trace line or of a part of it, nested lists read flat:
// "[1,2,3]" gives 1, 2, 3 and "[[0,5],[2,4]]" gives 0, 5, 2, 4. Empty when absent.
inline std::vector<double> traceList(const std::string &text, const std::string &name)
{
    std::vector<double> out;
    size_t at = text.find("\"" + name + "\":[");
    if (at == std::string::npos)
        return out;
    const char *p = text.c_str() + at + name.size() + 4;
    for (int depth = 0; *p && depth >= 0;) {
        if (*p == '[' || *p == ']' || *p == ',') {
            depth += *p == '[' ? 1 : *p == ']' ? -1 : 0;
            p++;
            continue;
        }
        char *end;
        double v = std::strtod(p, &end);
        if (end == p)
            break; // not a list of numbers
        out.push_back(v);
        p = end;
    }
    return out;
}

// The text of car n's object in a trace line.
inline std::string carText(const std::string &line, int n)
{
    size_t at = line.find("{\"number\":" + std::to_string(n));
    return at == std::string::npos ? "" : line.substr(at, line.find('}', at) - at);
}

// The first trace line where a top-level field has this value, or -1.
inline long firstFrame(const std::vector<std::string> &lines, const char *field, const char *value)
{
    for (size_t i = 0; i < lines.size(); i++)
        if (traceField(lines[i], field) == value)
            return long(i);
    return -1;
}
