// A race's life: it begins when the menus start it, its countdown releases the cars, and it ends
// at the results or the pause menu's exit. The track's data comes from and goes back to the level.
#include "audio/audio.h"
#include "common/common.h"
#include "content/content.h"
#include "platform/sys.h"
#include "race/race.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

float raceLoadMs;

void beginRace(int track)
{
    double loadStart = Sys_WallClockMs();
    if (loadedTrack)
        endRace(); // never two races at once
    if (musicOn)
        menuMusic.rewind();
    loadTrack(track);
    setupRaceWorld();

    static const char *const tunes[] = {".\\base\\music\\1.ogg", ".\\base\\music\\2.ogg", ".\\base\\music\\3.ogg",
                                        ".\\base\\music\\4.ogg"};
    raceMusic.open(tunes[std::abs(std::rand()) % 4], true, true);
    if (musicOn)
        raceMusic.play();

    musicFade = -1.5f;
    lapCount = 4;
    playerPlace = 4;
    countdownActive = true;
    raceFinished = false;
    overlayTimer = 0;
    resetChaseCamera();
    raceClock = lapClock = bestLapClock = RaceClock{};
    raceLoadMs = float(Sys_WallClockMs() - loadStart);
}

void endRace()
{
    if (!loadedTrack)
        return;
    for (int s : {SAMPLE_EN1, SAMPLE_EN2, SAMPLE_EN3, SAMPLE_EN4, SAMPLE_EN_PASS, SAMPLE_ST, SAMPLE_WIND, SAMPLE_NITRO})
        sampleSlots[s].stop();
    keepRaceSummary();
    destroyRaceWorld();
    unloadTrack();
    if (musicOn)
        raceMusic.rewind();
    raceMusic.close();
    overlayTimer = 0;
    countdownActive = true;
    raceFinished = false;
}

void advanceCountdown()
{
    // A long frame (loading, a stall) would otherwise skip whole numbers.
    overlayTimer += 0.01f * std::min(frameTime, kLongestStep);
    if (overlayTimer > 6.0f)
        countdownActive = false;
    if (overlayTimer > 10.0f)
        overlayTimer = 0.0f;
}
