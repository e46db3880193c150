#include "frontend/frontend.h"
#include "race/race.h"
#include "common/common.h"
#include "shell/shell.h"

#include <gtest/gtest.h>

namespace {

// A change of state fades out and in over forty frames; both states set at once only fade in.
TEST(ScreenFade, ChangingStateFadesOutThenInOverFortyFrames)
{
    frameTime = 1.0f;
    gameState = shownState = STATE_MAIN_MENU;
    screenFade = 1.0f;
    gameState = STATE_RACE_SELECT;
    selectedRace = 7;
    int frames = 0;
    while (shownState != gameState && frames < 100) {
        updateScreenFade();
        frames++;
    }
    EXPECT_NEAR(frames, 20, 1);
    EXPECT_EQ(menuSelection, 6) << "race select opens on the selected race";
    while (screenFade < 1.0f && frames < 100) {
        updateScreenFade();
        frames++;
    }
    EXPECT_NEAR(frames, 40, 1);
    EXPECT_NEAR(screenAlpha, 1.0f, 1e-3);

    gameState = shownState = STATE_PAUSE;
    screenFade = 0;
    updateScreenFade();
    EXPECT_NEAR(screenFade, 0.05f, 1e-6);
    EXPECT_EQ(shownState, STATE_PAUSE);
}

} // namespace
