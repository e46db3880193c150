// The parts of the platform layer that need no window system: the message queue, the clocks,
// the message-box policy and its record.
#include "platform/sys.h"
#include "platform/sys_local.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

// ---- message queue ----
static const int QUEUE_SIZE = 1024;
static SysMsg queue[QUEUE_SIZE];
static int queueHead, queueCount;

void Sys_PostMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (queueCount == QUEUE_SIZE)
        return; // a flood of input is dropped rather than growing without bound
    queue[(queueHead + queueCount) % QUEUE_SIZE] = {message, wParam, lParam};
    queueCount++;
}

void Sys_PostQuitMessage(int code)
{
    Sys_PostMessage(WM_QUIT, uintptr_t(code), 0);
}

// A request to end from the system (SIGTERM, Ctrl+C) while there is no window: SDL turns it
// into a close message for a window, this does the same without one, so the game ends in order
// and saves its files rather than dying.
static volatile std::sig_atomic_t quitSignalled;

static void noteQuitSignal(int)
{
    quitSignalled = 1;
}

bool Sys_PeekMessage(SysMsg *msg)
{
    if (quitSignalled) {
        quitSignalled = 0;
        Sys_PostMessage(WM_CLOSE, 0, 0);
    }
    if (queueCount == 0)
        Sys_PumpEvents();
    if (queueCount == 0)
        return false;
    *msg = queue[queueHead];
    queueHead = (queueHead + 1) % QUEUE_SIZE;
    queueCount--;
    return true;
}

intptr_t Sys_DefWindowProc(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    // The close box already became WM_CLOSE; nothing else needs the system's help.
    return 0;
}

// ---- clocks ----
static int64_t monotonicNanos()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

static int64_t startNanos = monotonicNanos();

bool Sys_QueryPerformanceFrequency(int64_t *frequency)
{
    *frequency = sys.fixedFrameMs > 0 ? 1000000 : 1000000000;
    return true;
}

bool Sys_QueryPerformanceCounter(int64_t *count)
{
    *count = sys.fixedFrameMs > 0 ? sys.virtualMicros : monotonicNanos() - startNanos;
    return true;
}

uint32_t Sys_Milliseconds()
{
    return uint32_t(int64_t(Sys_ClockMs()));
}

double Sys_ClockMs()
{
    if (sys.fixedFrameMs > 0)
        return double(sys.virtualMicros) / 1000.0;
    return Sys_WallClockMs();
}

double Sys_WallClockMs()
{
    return double(monotonicNanos() - startNanos) / 1e6;
}

double Sys_ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void Sys_SetFixedFrameMs(double ms)
{
    sys.fixedFrameMs = ms;
}

void Sys_AdvanceFrameClock()
{
    if (sys.fixedFrameMs > 0)
        sys.virtualMicros += int64_t(sys.fixedFrameMs * 1000.0 + 0.5);
}

// ---- running without a window ----
void Sys_SetHeadless(bool headless)
{
    sys.headless = headless;
    if (headless) {
        std::signal(SIGTERM, noteQuitSignal);
        std::signal(SIGINT, noteQuitSignal);
    }
}
bool Sys_Headless() { return sys.headless; }

// ---- message boxes ----
static SysBoxRecord boxes[16];
static int boxCount;

int Sys_BoxCount() { return boxCount; }
const SysBoxRecord &Sys_Box(int index) { return boxes[index % 16]; }
void Sys_SetAutoAnswer(int answer) { sys.autoAnswer = answer; }

int Sys_MessageBox(const char *text, const char *title, unsigned flags)
{
    SysBoxRecord &r = boxes[boxCount % 16];
    boxCount++;
    std::snprintf(r.title, sizeof r.title, "%s", title ? title : "");
    std::snprintf(r.text, sizeof r.text, "%s", text ? text : "");
    r.flags = flags;
    bool yesNo = (flags & 0xF) == MB_YESNO;
    if (sys.autoAnswer == 0 && !sys.headless) {
        int answer = Sys_ShowNativeBox(text, title, flags);
        if (answer != 0)
            return answer;
    }
    // Automation, or no display to show the box on: say it on stderr and answer for the player.
    int answer = sys.autoAnswer == IDNO ? IDNO : IDYES;
    std::fprintf(stderr, "[%s] %s -> %s\n", r.title, r.text,
                 !yesNo ? "OK" : answer == IDYES ? "Yes" : "No");
    if (!yesNo)
        return IDOK;
    return answer;
}
