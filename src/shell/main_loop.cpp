// Process entry: start-up in a fixed order, the single-threaded message and frame loop, and
// shut-down in the reverse order, writing the two data files back.
#include "audio/audio.h"
#include "common/common.h"
#include "common/controls.h"
#include "effects/effects.h"
#include "frontend/frontend.h"
#include "platform/sys_files.h"
#include "platform/sys_pad.h"
#include "race/race.h"
#include "render/pass_times.h"
#include "shell/automation.h"
#include "shell/shell.h"

#include <cstdio>

bool keyLatch;

// Pause (Escape) stops a running race; camera (C) switches the camera; frame rate (F) the
// read-out. Camera and frame rate share a one-shot latch that any of the race's keys, or a held
// nitro, camera or frame-rate input, keeps closed.
void handleToggleKeys()
{
    if (actionHeld(ACTION_PAUSE) && gameState == STATE_RACING && !countdownActive && !raceFinished)
        pauseRace();
    bool camera = actionHeld(ACTION_CAMERA), frameRate = actionHeld(ACTION_FRAME_RATE);
    if (camera && !keyLatch && gameState == STATE_RACING) {
        keyLatch = true;
        if (++cameraMode > 1)
            cameraMode = 0;
    }
    if (frameRate && !keyLatch) {
        showFps = !showFps;
        keyLatch = true;
    }
    static const unsigned latchKeys[] = {VK_SPACE, 'Y', 'R', 'F', 'L', 'K', 'C', 'X', 'Z', 'O', 'P', 'I', 'U'};
    // Any of these keys held keeps the latch shut, so F pressed while Space is down does not
    // toggle; releasing them all opens it again.
    bool held = camera || frameRate || actionHeld(ACTION_NITRO);
    for (unsigned k : latchKeys)
        held = held || keyDown[k];
    keyLatch = held;
}

// Every path of the game starts with base/; a player who starts the program from elsewhere
// (the repository's root after a build, a desktop launcher) still finds it beside the program.
static bool findDataFolder()
{
    std::vector<std::string> searched;
    if (Sys_FindDataDir(&searched))
        return true;
    std::string list, lines;
    for (const std::string &s : searched) {
        list += (list.empty() ? "" : ", ") + s;
        lines += "\n" + s;
    }
    Sys_Report("no base/ folder with the game's data in %s", list.c_str());
    Sys_MessageBox(("The game's data folder base/ was not found. Looked for it at:" + lines).c_str(), "ERROR",
                   MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// Without a window the player reads how each race went on standard output, as it ends (flushed,
// so a script watching the run sees each race when it happens).
static void printRaceSummaries()
{
    static int printed;
    if (!Sys_Headless() || lastRace.number == printed)
        return;
    printed = lastRace.number;
    std::printf("%s\n", raceSummaryLine(lastRace).c_str());
    std::fflush(stdout);
}

static int runLoop()
{
    bool quitPosted = false;
    for (;;) {
        SysMsg msg;
        if (Sys_PeekMessage(&msg)) {
            if (msg.message == WM_QUIT)
                return int(msg.wParam);
            gameWindowProc(msg.message, msg.wParam, msg.lParam);
            continue;
        }
        if (windowActive)
            renderFrame();
        if (!Sys_Headless())
            takeScreenshots(automation.frame);
        writeTraceLine();
        // The frame is over: the clock moves on and the sound is mixed up to it.
        Sys_AdvanceFrameClock();
        renderAudio(Sys_ClockMs());
        automation.frame++;
        postScriptedInput(automation.frame);
        if (automation.frames >= 0 && automation.frame == automation.frames)
            Sys_PostQuitMessage(0);
        printRaceSummaries();
        // Without a window nobody plays the menus: races started from the command line end the
        // run once the last has returned to them.
        bool commandLineRacesOver = autoRaceTrack ? lastRace.number > 0 : autoCareerRacesStarted == autoCareerRaces;
        if (Sys_Headless() && (autoRaceTrack || autoCareerRaces) && commandLineRacesOver &&
            gameState != STATE_RACING && !quitPosted) {
            quitPosted = true;
            Sys_PostQuitMessage(0);
        }
        if (quitRequested)
            return 0;
        Sys_SwapBuffers();
        markPassEnd(PASS_SWAP);
        handleToggleKeys();
    }
}

int gameMain(int argc, char **argv)
{
    int code = parseCommandLine(argc, argv);
    if (code >= 0)
        return code;
    Sys_SetFixedFrameMs(automation.fixedFrameMs);
    Sys_SetAutoAnswer(automation.autoAnswer);
    Sys_SetHeadless(automation.headless);
    if (!findDataFolder())
        return EXIT_CANNOT_START;

    readSettings();
    readControls();
    readCareer();
    Sys_OpenPads();
    if (!openAudioDevice(automation.audioOutPath, automation.headless)) {
        Sys_Report("no OpenAL device could be opened, not even a loopback one");
        return EXIT_CANNOT_START;
    }
    loadSamples();
    menuMusic.open(".\\base\\music\\menu.ogg", true, true);
    if (automation.headless) {
        // What the window's opening starts besides the graphics.
        seedRandomGenerator();
        timerInit();
    } else {
        if (!openGameWindow("Cobalt Overdrive", screenWidth, screenHeight, colorBits, !automation.windowed))
            return EXIT_CANNOT_START;
        loadCarEffects();
    }
    enterMainMenu();
    if ((automation.inputPath && !loadInputScript(automation.inputPath)) ||
        (automation.tracePath && !openTrace(automation.tracePath))) {
        closeGameWindow();
        return EXIT_BAD_COMMAND_LINE;
    }
    postScriptedInput(0);

    code = runLoop();
    keepRaceSummary(); // a race cut short by --frames tells how far it got
    printRaceSummaries();

    Sys_ClosePads();
    releaseSamples();
    menuMusic.close();
    closeAudioDevice();
    writeSettings();
    writeCareer();
    closeGameWindow(); // nothing to close without a window
    closeTrace();
    if (!automation.noBrowser)
        if (const char *address = writeStatsPage())
            Sys_OpenURL(address);
    return code;
}
