// One frame of the game, chosen by the state globals: the start-up loading screen, a race frame
// or a menu frame, then the overlays every frame shares.
#include "audio/audio.h"
#include "common/common.h"
#include "content/content.h"
#include "frontend/frontend.h"
#include "race/race.h"
#include "render/font.h"
#include "render/images.h"
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

static void loadingFrame()
{
    loadingClock += frameTime * 0.01f;
    drawLoadingScreen(loadingClock < 7.0f ? 0 : 1);
    if (loadingClock <= 8.0f)
        return;
    // The one blocking frame: everything the menus and races need from disk.
    loadingPhase = false;
    loadTextureSet();
    loadCarModels();
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
    fitSceneToWindow(screenWidth, screenHeight);
    renderReflection(true);
    clearFrame();
    raceMusic.update();
    musicFade += frameTime * 0.004f;
    raceMusic.setGain(musicGain());
    sampleSlots[SAMPLE_POINT].setGain(musicGain());
    drawRaceScene();
    copySceneTexture();
    postProcessPass(3, 0);
    postProcessPass(3, 1);
    postProcessPass(2, 1);
    postProcessPass(2, 2);
    drawHud();
    raceStep();
    if ((countdownActive || (overlayTimer > 0 && overlayTimer < 10)) && !raceFinished) {
        drawStartCountdown(overlayTimer);
        advanceCountdown();
    }
    if (raceFinished)
        drawResults();
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
    clearFrame();
    fitSceneToWindow(screenWidth, screenHeight);
    placeFixedLight(0, 0, 0);
    for (int s : {SAMPLE_MENU1, SAMPLE_MENU2})
        sampleSlots[s].setPositionVelocity(chaseEye[0], chaseEye[1] + 2.0f, chaseEye[2], 0, 0, 0);
    menuMusic.update();
    musicFade += frameTime * 0.004f;
    menuMusic.setGain(musicGain());
    // The garage stands behind every menu but the pause menu, which keeps the race picture.
    if (gameState != STATE_PAUSE)
        drawGarageScene(menuClock);
    drawComposite();
    drawMenuScreens();
}

bool renderFrame()
{
    updateFrameClock();
    clearFrame();
    if (loadingPhase) {
        loadingFrame();
        return true;
    }
    if (gameState == STATE_RACING)
        raceFrame();
    if (gameState != STATE_RACING)
        menuFrame();
    if (showFps) {
        beginOverlayText();
        printSmall(670, 500, 1, "FPS:%2i", int(fps));
        endOverlayText();
    }
    // The start-up music waits for a smooth frame rate so it does not stutter in.
    if (musicOn && menuMusicPending && fps > 15) {
        menuMusicPending = false;
        menuMusic.play();
        musicFade = -1.5f;
    }
    return true;
}
