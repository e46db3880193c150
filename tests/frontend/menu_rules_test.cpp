// The menus as the player works them, without a screen: the cursor set where the window system
// would report it, clicks, hovers and keys through the game's own handlers, and what they change.
#include "audio/audio.h"
#include "common/common.h"
#include "frontend/frontend.h"
#include "platform/sys.h"
#include "race/race.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

struct Menus : ::testing::Test {
    TempDir dir; // New game and a bought packet save the career into base/ here
    void SetUp() override
    {
        dir.enter();
        loadingPhase = false;
        resolutionIndex = 1; // 800 x 600: cursor pixels are menu units
        soundOn = true;
        musicOn = false;
        frameTime = 1.0f;
        career = {};
        career.careerStarted = 1;
        newCareer(); // cars 0..2, race 1, 350 cash; car 0 selected
        showScreen(STATE_MAIN_MENU);
    }
    // The screen as it stands once its fade is over and it has been drawn once.
    static void showScreen(int state)
    {
        gameState = shownState = state;
        screenFade = 1;
        menuSelection = 0;
        menuScroll = 0;
        menuItemCount = menuItemTotal(state);
        packetFocus = -1;
        for (bool &f : hoverFlags)
            f = false;
    }
    static bool clickAt(int x, int y)
    {
        Sys_SetCursorPos(x, y);
        return menuClick();
    }
    static int plays(int sample) { return samplePlayCount[sample]; }
};

TEST_F(Menus, HoverSetsItsFlagOnceWithOneSoundAndAClickClearsIt)
{
    Sys_SetCursorPos(75, 300); // over the select bar
    int before = plays(SAMPLE_MENU2);
    menuHover();
    menuHover();
    EXPECT_TRUE(hoverFlags[HOVER_SELECT_BAR]);
    EXPECT_FALSE(hoverFlags[HOVER_UP_ARROW] || hoverFlags[HOVER_DOWN_ARROW]);
    EXPECT_EQ(plays(SAMPLE_MENU2) - before, 1) << "the hover sound plays on entry only";
    Sys_SetCursorPos(200, 300);
    menuHover();
    EXPECT_FALSE(hoverFlags[HOVER_SELECT_BAR]);

    // Packets are hovered only in the tuning screen.
    Sys_SetCursorPos(330, 180);
    menuHover();
    EXPECT_FALSE(hoverFlags[HOVER_PACKET_1]);
    showScreen(STATE_TUNING);
    menuHover();
    EXPECT_TRUE(hoverFlags[HOVER_PACKET_1]);
    menuClickReset();
    for (bool f : hoverFlags)
        EXPECT_FALSE(f);

    soundOn = false;
    before = plays(SAMPLE_MENU2);
    menuHover();
    EXPECT_EQ(plays(SAMPLE_MENU2), before) << "no sound while sound is off";
}

TEST_F(Menus, ListKeepsItsSelectionWithinItsItems)
{
    menuSelection = 3; // "Quit", the last
    int before = plays(SAMPLE_MENU1);
    clickAt(75, 400);
    EXPECT_EQ(menuSelection, 3);
    EXPECT_EQ(menuScroll, 0);
    EXPECT_EQ(plays(SAMPLE_MENU1) - before, 1) << "the arrow still clicks";
    menuKey(VK_DOWN);
    EXPECT_EQ(menuSelection, 3);
    menuSelection = 0;
    clickAt(75, 200);
    menuKey(VK_UP);
    EXPECT_EQ(menuSelection, 0);
    EXPECT_EQ(menuScroll, 0);
}

TEST_F(Menus, CarSelectNeverReachesALockedCar)
{
    showScreen(STATE_CAR_SELECT);
    selectedCar = 2;
    menuKey(VK_RIGHT); // "Car >>"
    EXPECT_EQ(selectedCar, 2) << "car 3 is locked";
    menuKey(VK_LEFT);
    EXPECT_EQ(selectedCar, 1);

    for (int c = 0; c < 18; c++)
        career.carOpen[c] = true;
    selectedCar = 11;
    menuKey(VK_RIGHT);
    EXPECT_EQ(selectedCar, 11) << "the chooser ends at car 11 even with later cars open";

    // A damaged career with the selected car closed: Continue shows the first open car.
    for (int c = 0; c < 18; c++)
        career.carOpen[c] = c == 4 || c == 7;
    selectedCar = 0;
    showScreen(STATE_CAREER_MENU);
    menuSelection = 1; // "Continue game"
    menuKey(VK_RETURN);
    EXPECT_EQ(gameState, STATE_CAR_SELECT);
    EXPECT_EQ(selectedCar, 4);
}

TEST_F(Menus, PacketsAreOfferedInOrderAsFarAsTheCashGoes)
{
    int states[6];
    career.cash = 700;
    career.tuningBought[5][0] = career.tuningBought[5][2] = 1;
    packetStates(5, states);
    EXPECT_EQ(std::vector<int>(states, states + 6), (std::vector<int>{2, 1, 2, 1, 0, 0}));
    career.cash = 100 * kPacketPrice;
    packetStates(5, states);
    EXPECT_EQ(std::vector<int>(states, states + 6), (std::vector<int>{2, 1, 2, 1, 1, 1}));

    // Not enough cash: the click only clicks.
    showScreen(STATE_TUNING);
    selectedCar = 0;
    career.cash = 349;
    int before = plays(SAMPLE_MENU1);
    EXPECT_TRUE(clickAt(330, 180));
    EXPECT_EQ(career.cash, 349);
    EXPECT_EQ(career.tuningBought[0][0], 0);
    EXPECT_EQ(plays(SAMPLE_MENU1) - before, 1);

    // A locked packet stays locked; an offered one is bought once.
    career.cash = 400;
    clickAt(465, 180); // packet 2: locked while packet 1 is not bought
    EXPECT_EQ(career.cash, 400);
    clickAt(330, 180);
    clickAt(330, 180);
    EXPECT_EQ(career.cash, 50);
    EXPECT_EQ(career.tuningBought[0][0], 1);
    carValues(0);
    fillCarStats();
    carValues(0);
    EXPECT_FLOAT_EQ(carPower, carStats[0][0] + 0.05f);

    // The purchase is decided from the car selected now, not the last drawn screen.
    career.cash = kPacketPrice;
    career.tuningBought[1][0] = 1;
    packetStates(2, tuningState); // drawn for car 2: packet 1 on offer
    selectedCar = 1;              // car 1 already has it
    clickAt(330, 180);
    EXPECT_EQ(career.cash, kPacketPrice) << "nothing paid for a packet the car already has";
    clickAt(465, 180);
    EXPECT_EQ(career.tuningBought[1][1], 1);
    EXPECT_EQ(career.cash, 0);
}

TEST_F(Menus, ItemsActOnlyOnTheScreenShownAndNotDuringLoading)
{
    // A second click on "Career" while the main menu fades out must not start a new game.
    career.cash = 5000;
    menuSelection = 0;
    clickAt(75, 300);
    EXPECT_EQ(gameState, STATE_CAREER_MENU);
    clickAt(75, 300);
    EXPECT_EQ(gameState, STATE_CAREER_MENU);
    EXPECT_EQ(career.cash, 5000);

    // The loading screen stands in front of the main menu: nothing there takes input.
    showScreen(STATE_MAIN_MENU);
    loadingPhase = true;
    menuSelection = 3;
    EXPECT_FALSE(clickAt(75, 300));
    EXPECT_FALSE(menuKey(VK_RETURN));
    Sys_SetCursorPos(75, 300);
    menuHover();
    EXPECT_EQ(gameState, STATE_MAIN_MENU);
    EXPECT_FALSE(hoverFlags[HOVER_SELECT_BAR]);
}

// A change of state fades out and in over forty frames; both states set at once only fade in.
TEST_F(Menus, ChangingStateFadesOutThenInOverFortyFrames)
{
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

// (Tuning, car select and the quit question are left by Escape in the menus' end-to-end run.)
TEST_F(Menus, EscapeGoesBackWhereABackItemExists)
{
    const struct {
        int from, to;
    } backs[] = {{STATE_CAREER_MENU, STATE_MAIN_MENU}, {STATE_RACE_SELECT, STATE_CAR_SELECT},
                 {STATE_OPTIONS, STATE_MAIN_MENU},   {STATE_MAIN_MENU, STATE_MAIN_MENU}, {STATE_PAUSE, STATE_PAUSE}};
    for (const auto &b : backs) {
        showScreen(b.from);
        menuKey(VK_ESCAPE);
        EXPECT_EQ(gameState, b.to) << b.from;
    }
    EXPECT_FALSE(quitRequested);
}

TEST_F(Menus, OptionsSwitchAtOnceAndStepTheResolutionOnlyForTheNextStart)
{
    showScreen(STATE_OPTIONS);
    int clicks = plays(SAMPLE_MENU2);
    clickAt(400, 345); // sound
    EXPECT_FALSE(soundOn);
    clickAt(400, 345);
    EXPECT_TRUE(soundOn);
    EXPECT_EQ(plays(SAMPLE_MENU2), clicks) << "the sound row is heard by what it switches";
    depthBits = 24; // (the music row is switched in the menus' end-to-end run)
    clickAt(400, 245);
    EXPECT_EQ(depthBits, 16);

    // The display keeps running in the mode it was opened in. (Accept, which saves the choice and
    // stays on the screen, is the menus' end-to-end run.)
    screenWidth = 800;
    screenHeight = 600;
    optionsResolutionIndex = 1;
    clickAt(400, 145);
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(screenHeight, 600);
}

bool withoutLargeModes(int width, int) { return width != 1280; }
bool noModes(int, int) { return false; }
bool onlyVga(int width, int) { return width == 640; }

TEST_F(Menus, ResolutionStepsPastModesTheDisplayLacks)
{
    EXPECT_EQ(nextAvailableMode(2, withoutLargeModes), 4) << "1024x768 skips 1280x1024";
    EXPECT_EQ(nextAvailableMode(4, withoutLargeModes), 0) << "the cycle wraps";
    EXPECT_EQ(nextAvailableMode(3, noModes), 3) << "nothing available changes nothing";
    EXPECT_EQ(nextAvailableMode(0, onlyVga), 0) << "each mode tried once, the current one last";
    EXPECT_EQ(nextAvailableMode(2, onlyVga), 0);
}

} // namespace
