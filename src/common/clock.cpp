// The one clock of the game: frameTime follows the measured frame length by at most 0.1 per frame
// so a single slow frame cannot throw the cars across the track.
#include "common/common.h"
#include "platform/sys.h"

#include <cmath>

float frameTime;
float fps;

static struct {
    bool performanceTimer;
    int64_t frequency;
    float resolution;
    int64_t start;
    uint32_t startMs;
} timer;

static float previousTenths;
static int frameCounter;
static float windowStart;

void timerInit()
{
    timer = {};
    if (Sys_QueryPerformanceFrequency(&timer.frequency) && timer.frequency > 0) {
        Sys_QueryPerformanceCounter(&timer.start);
        timer.resolution = float(1.0 / double(timer.frequency));
        timer.performanceTimer = true;
    } else {
        timer.startMs = Sys_Milliseconds();
        timer.resolution = 0.001f;
        timer.frequency = 1000;
    }
    previousTenths = 0;
    frameCounter = 0;
    windowStart = 0;
}

float timerGetTime()
{
    if (timer.performanceTimer) {
        int64_t now;
        Sys_QueryPerformanceCounter(&now);
        return float(double(now - timer.start) * double(timer.resolution) * 1000.0);
    }
    return float(double(Sys_Milliseconds() - timer.startMs) * double(timer.resolution) * 1000.0);
}

void updateFrameClock()
{
    frameCounter++;
    if (frameCounter == 1)
        windowStart = timerGetTime() / 1000.0f;
    if (frameCounter == 10) {
        float now = timerGetTime() / 1000.0f;
        fps = 10.0f / (now - windowStart);
        frameCounter = 0;
    }

    float t = timerGetTime() * 0.01f;
    float target = std::fabs(t - previousTenths) * 10.0f;
    previousTenths = t;

    // Steps of 0.1 in single precision drift by a few ulps; a target within that drift counts as
    // equal, or a steady frame would make frameTime hop between two steps for ever.
    const float same = 1e-4f;
    if (target > frameTime + same)
        frameTime += 0.1f;
    if (target < frameTime - same)
        frameTime -= 0.1f;
    if (target < 0.1f)
        frameTime = target;
}
