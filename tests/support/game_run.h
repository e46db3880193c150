// Runs the game binary the way a player starts it, in a scratch directory whose base/ holds the
// generated content (linked) and the test's own data files.
#pragma once
#include "support/temp_dir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

struct GameRun {
    int exitCode = -1000;
    bool timedOut = false;
    std::string stderrText;
    std::string stdoutText;
};

// Links every entry of the generated base/ into dir/base, except the two data files.
inline void linkContent(const TempDir &dir)
{
    std::error_code ec;
    for (const auto &e : std::filesystem::directory_iterator(COBALT_BASE_DIR, ec)) {
        std::string name = e.path().filename().string();
        if (name == "menu.inf" || name == "career.inf")
            continue;
        std::filesystem::create_symlink(e.path(), dir.path / "base" / name, ec);
    }
}

// Starts the game in dir with its standard error and output going to the two files; returns
// its process id without waiting.
inline pid_t startGame(const TempDir &dir, std::vector<std::string> args, const std::string &errPath,
                       const std::string &outPath,
                       const std::vector<std::pair<std::string, std::string>> &env = {})
{
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.path.c_str()) != 0)
            _exit(101);
        for (const auto &[key, value] : env)
            setenv(key.c_str(), value.c_str(), 1);
        int fd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 2);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        std::vector<char *> argv;
        std::string bin = COBALT_GAME_BINARY;
        argv.push_back(bin.data());
        for (auto &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(bin.c_str(), argv.data());
        _exit(102);
    }
    return pid;
}

inline GameRun runGame(const TempDir &dir, std::vector<std::string> args, int timeoutSeconds = 240,
                       const std::vector<std::pair<std::string, std::string>> &env = {})
{
    GameRun r;
    std::string errPath = dir.file("stderr.txt");
    pid_t pid = startGame(dir, std::move(args), errPath, errPath + ".out", env);
    auto start = std::chrono::steady_clock::now();
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(timeoutSeconds)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            r.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status))
        r.exitCode = int(int8_t(WEXITSTATUS(status)));
    std::ifstream in(errPath);
    std::stringstream ss;
    ss << in.rdbuf();
    r.stderrText = ss.str();
    std::ifstream outIn(errPath + ".out");
    std::stringstream so;
    so << outIn.rdbuf();
    r.stdoutText = so.str();
    return r;
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
