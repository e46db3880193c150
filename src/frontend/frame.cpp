// One frame of the game, chosen by the state globals: the start-up loading screen, a race frame
// or a menu frame, then the overlays every frame shares.
#include "audio/audio.h"
#include "common/common.h"
#include "content/content.h"
#include "frontend/frontend.h"
#include "platform/sys.h"
#include "race/car.h"
#include "race/race.h"
#include "render/font.h"
#include "render/images.h"
#include "render/pass_times.h"
#include "render/render.h"
#include "scene/scene.h"

#include <algorithm>
#include <cmath>

int gameState, shownState;
float screenFade, screenAlpha;
int menuSelection, menuItemCount;
float menuScroll;
float menuClock;
bool loadingPhase = true;
float loadingClock;
bool menuMusicPending;
bool showFps;
bool awardPending;
bool quitRequested;

static float musicGain()
{
    return std::clamp(musicFade, 0.0f, 1.0f);
}

void enterMainMenu()
{
    gameState = STATE_MAIN_MENU;
    selectedCar = 0;
    selectedRace = 1;
    menuClock = 40.0f;
}

void fitSceneToWindow(int width, int height)
{
    if (gameState == STATE_RACING)
        resizeScene(width, height, 70.0 + 0.5 * playerSpeed, 15000.0);
    else
        resizeScene(width, height, 35.0, 1000.0);
}

// A run without a window keeps every frame's logic (clocks, race, sound, states) and draws
// nothing, nor loads what only drawing needs.
bool framesDrawn()
{
    return !Sys_Headless();
}

static void loadingFrame()
{
    static int framesShown;
    loadingClock += frameTime * 0.01f;
    if (framesDrawn()) {
        drawLoadingScreen(loadingClock < 7.0f ? 0 : 1);
        // The first picture goes on screen before what the loading screen shows later is read
        // (its late picture, the glyphs of "Loading..." and the rest of the TGA set: about a
        // fifth of the time from launch to that picture): it is loaded under the second frame,
        // which shows the same picture.
        if (++framesShown == 2)
            loadStartupRest();
    }
    if (loadingClock <= 8.0f)
        return;
    // The one blocking frame: everything the menus and races need from disk.
    loadingPhase = false;
    if (framesDrawn()) {
        releaseUiTextures(); // nothing shows the loading pictures again
        loadTextureSet();
        loadCarModels();
    }
    fillCarStats();
    loadGarageLights();
    if (musicOn)
        menuMusic.play();
    musicFade = -1.5f;
    menuMusicPending = true;
    seedRandomGenerator();
    if (autoRaceTrack)
        startQuickRace(autoRaceTrack, autoRaceCar);
}

static void raceFrame()
{
    markPassEnd(PASS_OTHER); // messages and the sound mix since the last frame
    if (framesDrawn()) {
        fitSceneToWindow(screenWidth, screenHeight);
        renderReflection(true);
        markPassEnd(PASS_REFLECTION);
        clearFrame();
    }
    raceMusic.update();
    musicFade += frameTime * 0.004f;
    raceMusic.setGain(musicGain());
    sampleSlots[SAMPLE_POINT].setGain(musicGain());
    updateChaseCamera();
    if (framesDrawn()) {
        drawRaceScene();
        markPassEnd(PASS_SCENE);
        postProcessFrame();
        markPassEnd(PASS_POST);
    }
    // The ranking the HUD shows is built before the step, so the place the player takes at a
    // waypoint is the one the frame before left.
    updateStandings();
    if (framesDrawn())
        drawHud();
    markPassEnd(PASS_HUD);
    raceStep();
    markPassEnd(PASS_OTHER);
    if ((countdownActive || (overlayTimer > 0 && overlayTimer < 10)) && !raceFinished) {
        if (framesDrawn())
            drawStartCountdown(overlayTimer);
        advanceCountdown();
    }
    if (raceFinished)
        drawResults();
    markPassEnd(PASS_HUD);
}

void updateScreenFade()
{
    if (shownState != gameState) {
        screenFade -= frameTime * 0.05f;
        if (screenFade <= 0) {
            screenFade = 0;
            shownState = gameState;
            menuSelection = gameState == STATE_RACE_SELECT ? selectedRace - 1 : 0;
        }
    }
    if (shownState == gameState)
        screenFade = std::min(1.0f, screenFade + frameTime * 0.05f);
    screenAlpha = 1.0f - std::cos(screenFade * 1.5707f);
}

static void menuFrame()
{
    updateScreenFade();
    if (framesDrawn()) {
        clearFrame();
        fitSceneToWindow(screenWidth, screenHeight);
        placeFixedLight(0, 0, 0);
    }
    for (int s : {SAMPLE_MENU1, SAMPLE_MENU2})
        sampleSlots[s].setPositionVelocity(chaseEye[0], chaseEye[1] + 2.0f, chaseEye[2], 0, 0, 0);
    menuMusic.update();
    musicFade += frameTime * 0.004f;
    menuMusic.setGain(musicGain());
    if (framesDrawn())
        drawMenuScreens();
    else
        updateMenuList(menuItemTotal(shownState)); // keys move through the lists without a window too
}

bool renderFrame()
{
    updateFrameClock();
    if (framesDrawn())
        clearFrame();
    if (loadingPhase) {
        loadingFrame();
        return true;
    }
    if (gameState != STATE_RACING && autoCareerRacesStarted < autoCareerRaces)
        startNextCareerRace();
    if (gameState == STATE_RACING)
        raceFrame();
    if (gameState != STATE_RACING)
        menuFrame();
    if (showFps && framesDrawn()) {
        beginOverlayText();
        printSmall(670, 500, 1, "FPS:%2i", int(fps));
        endOverlayText();
    }
    // The start-up music waits for a smooth frame rate so it does not stutter in. It is the menus'
    // tune: a race that began first (straight from loading) drops it, or it would start under the
    // race tune and play on in the pause menu.
    if (gameState == STATE_RACING)
        menuMusicPending = false;
    if (musicOn && menuMusicPending && fps > 15) {
        menuMusicPending = false;
        menuMusic.play();
        musicFade = -1.5f;
    }
    return true;
}
