// Starting a race from the front end and leaving it for the menus.
#include "audio/audio.h"
#include "common/common.h"
#include "content/content.h"
#include "frontend/frontend.h"
#include "race/car.h"
#include "race/race.h"
#include "render/images.h"

#include <algorithm>
#include <cstdlib>

int autoRaceTrack, autoRaceCar = -1;
int autoCareerRaces, autoCareerRacesStarted;
static int previousCareerRace; // of the unattended career run

// A race draws none of the menus' own pictures and only its own cars: the rest is let go while it
// runs (about 19 MB of textures off a race's peak memory) and comes back as the menus draw it.
static void letGoWhatTheRaceDoesNotDraw()
{
    if (!framesDrawn())
        return;
    releaseMenuTextures();
    int models[NUM_CARS];
    for (int c = 0; c < NUM_CARS; c++)
        models[c] = cars[c].model;
    keepOnlyCarTextures(models, NUM_CARS);
}

// Both kinds of race from here on: the race set up on `track`, and what it does not draw let go.
static void enterRace(int track)
{
    gameState = STATE_RACING;
    newCarOpened = false;
    beginRace(track);
    letGoWhatTheRaceDoesNotDraw();
}

void startQuickRace(int track, int car)
{
    careerRace = false;
    awardPending = false;
    quickTrack = track;
    selectedCar = car >= 0 ? car : std::rand() % 6;
    // A quick race drives the car as it comes, without packets.
    carPower = carStats[selectedCar][0];
    carMaxSpeed = carStats[selectedCar][1];
    carSuspension = carStats[selectedCar][2];
    enterRace(quickTrack);
}

void startCareerRace()
{
    careerRace = true;
    awardPending = true;
    carValues(selectedCar);
    enterRace(selectedRace);
}

void startNextCareerRace()
{
    // Counted from the race that came before, not from selectedRace: the results screen moves that
    // to the highest open race.
    int open = std::clamp(career.racesOpen, 1, 15);
    previousCareerRace = previousCareerRace % open + 1;
    selectedRace = previousCareerRace;
    autoCareerRacesStarted++;
    startCareerRace();
}

void leaveRace()
{
    endRace();
    if (framesDrawn())
        loadMenuTextures(); // the garage brings back its car itself, as it shows it
    if (gameState != STATE_RACING && musicOn)
        menuMusicPending = true;
}

void pauseRace()
{
    raceMusic.stop();
    gameState = shownState = STATE_PAUSE;
    screenFade = 0;
    menuSelection = 0;
    if (framesDrawn())
        loadMenuTextures(); // about 20-25 ms, under a frame of the race
}

void resumeRace()
{
    gameState = STATE_RACING;
    if (musicOn)
        raceMusic.play();
    musicFade = -1.5f;
    if (framesDrawn())
        releaseMenuTextures();
}
