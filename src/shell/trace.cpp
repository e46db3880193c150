// The per-frame trace (one JSON object a frame, each subsystem's values under the game's own
// names) and the screenshots asked for on the command line.
#include "audio/audio.h"
#include "common/common.h"
#include "common/controls.h"
#include "effects/effects.h"
#include "frontend/frontend.h"
#include "platform/sys.h"
#include "platform/sys_files.h"
#include "race/car.h"
#include "race/race.h"
#include "render/pass_times.h"
#include "render/render.h"
#include "shell/automation.h"
#include "shell/shell.h"

#include <cstdio>

static FILE *traceFile;

bool openTrace(const char *path)
{
    traceFile = Sys_FOpen(path, "wb");
    if (!traceFile)
        Sys_Report("cannot write %s", path);
    return traceFile != nullptr;
}

void writeTraceLine()
{
    if (!traceFile)
        return;
    TraceLine line;
    line.field("frame", int(automation.frame));
    line.field("clockMs", Sys_ClockMs());
    line.field("frameTime", double(frameTime));
    line.field("fps", double(fps));
    line.field("gameState", gameState);
    line.field("shownState", shownState);
    line.field("screenFade", double(screenFade));
    line.field("loadingPhase", loadingPhase);
    line.field("loadingClock", double(loadingClock));
    line.field("windowActive", windowActive);
    line.field("showFps", showFps);
    line.field("cameraMode", cameraMode);
    line.field("mouseX", mouseX);
    line.field("mouseY", mouseY);
    line.field("musicFade", double(musicFade));
    line.field("messageBoxes", Sys_BoxCount());
    std::string plays = "[";
    for (int i = 0; i < SAMPLE_COUNT; i++)
        plays += (i ? "," : "") + std::to_string(samplePlayCount[i]);
    line.fieldRaw("soundPlays", plays + "]");
    traceMenuFields(line);
    traceControlsScreenFields(line);
    traceControlFields(line);
    traceRaceFields(line); // while a race is loaded, paused ones included
    if (raceWorld)
        traceEffectFields(line);
    tracePassFields(line);
    line.text += "}\n";
    std::fputs(line.text.c_str(), traceFile);
    // Whole lines as they happen: a test (or a person) following the game as it runs reads them.
    std::fflush(traceFile);
}

void closeTrace()
{
    if (traceFile)
        std::fclose(traceFile);
    traceFile = nullptr;
}

void takeScreenshots(long frame)
{
    for (int i = 0; i < automation.shotCount; i++)
        if (automation.shots[i].frame == frame && !saveScreenshot(automation.shots[i].path.c_str()))
            Sys_Report("cannot write %s", automation.shots[i].path.c_str());
}
