// The game played from its first screen with real X input on the virtual display: the pointer
// moved and clicked by xdotool through the career into a race, then keys pressed through the
// paused race and a quick race, and the mouse again through the options and the quit question,
// the way a new player would. Each screen on the way is saved as the X server shows it, under
// build/pictures/menus/.
#include "support/live_game.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Menu units (800 x 600, y from the top) in the middle of the left column's buttons, the first
// tuning packet and two option rows. The game runs at 640 x 480, the quickest mode to draw, so
// each lands on a window pixel that the game scales back by 1.25.
const int kSelectBar[2] = {75, 300};
const int kUpArrow[2] = {75, 200};
const int kDownArrow[2] = {75, 400};
const int kPacket1[2] = {330, 180};
const int kResolutionRow[2] = {400, 145};
const int kMusicRow[2] = {400, 395};

// Game clock per frame: menus settle in a few frames and the countdown passes quickly.
const char *const kFrameMs = "60";

std::string picture(const std::string &name) { return "pictures/menus/" + name; }

// A picture of a menu screen once its list has come to rest in its highlight row.
void shoot(LiveGame &g, const char *name)
{
    EXPECT_TRUE(g.waitUntil([&] { return g.field("menuScroll") == "0"; }, 120, "list at rest")) << g.log;
    g.waitFrames(2);
    EXPECT_TRUE(g.capture(picture(name))) << name;
}

// Moves the list to `item` one step at a time, with the arrows or with the keys, waiting for
// each step to show in the trace.
bool moveToItem(LiveGame &g, int item, bool keys)
{
    while (g.number("menuSelection") != item) {
        int from = g.number("menuSelection");
        bool down = item > from;
        if (keys)
            g.tap(down ? "Down" : "Up");
        else
            g.clickAt(down ? kDownArrow[0] : kUpArrow[0], down ? kDownArrow[1] : kUpArrow[1]);
        if (!g.waitUntil([&] { return g.number("menuSelection") == (down ? from + 1 : from - 1); }, 30, "selection"))
            return false;
    }
    return true;
}

// Chooses `item` with the select bar (or Enter) and waits for `screen` (-1: no screen to wait for).
bool choose(LiveGame &g, int item, int screen, bool keys)
{
    if (!moveToItem(g, item, keys))
        return false;
    if (keys)
        g.tap("Return");
    else
        g.clickAt(kSelectBar[0], kSelectBar[1]);
    return screen < 0 || g.waitForScreen(screen);
}

double raceSeconds(const LiveGame &g) { return std::atof(g.field("raceClock").c_str()); }

// Escape held until the pause menu is in.
void pause(LiveGame &g)
{
    ASSERT_TRUE(g.waitUntil([&] { return g.field("countdownActive") == "false"; }, 300, "countdown over")) << g.log;
    g.press("Escape");
    ASSERT_TRUE(g.waitForScreen(4)) << g.log;
    g.release("Escape");
}

TEST(MenuPlay, TheMouseThroughTheCareerKeysThroughTheRacesAndTheMouseThroughOptionsAndQuit)
{
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0 || !std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs xdotool and an X display (scripts/setup.sh test provides both)";
    TempDir dir;
    linkContent(dir);
    // 640 x 480, sound and music on. A career well under way, which New game must reset.
    writeBytes(dir.file("base/menu.inf"), words({0, 32, 24, 1, 1, 0}));
    Bytes career = words({1, 1, 1, 1, 1, 1, 1, 1});
    career.resize(174 * 4, 0);
    Bytes last = words({7, 600, 9999, 1}); // races open, points, cash, started
    career.insert(career.end(), last.begin(), last.end());
    writeBytes(dir.file("base/career.inf"), career);

    LiveGame g(dir, {"--windowed", "--no-browser", "--seed", "7", "--fixed-frame-ms", kFrameMs});
    g.menuUnitsPerPixel = 1.25;
    ASSERT_TRUE(g.findWindow() && g.waitForScreen(1)) << g.log;
    g.pointAt(kSelectBar[0], kSelectBar[1]);
    ASSERT_TRUE(g.waitUntil([&] { return g.list("hoverFlags").rfind("[false,false,true", 0) == 0; }, 30, "hover"))
        << g.log;
    shoot(g, "main_menu.png");

    // With the mouse: Career, New game, Tuning, packet 1 bought, back, Select race, race 1 started.
    // (A whole race takes minutes to draw on the software renderer; the headless career runs book
    // finished races. The keys in these screens are the menu rules' tests.)
    EXPECT_TRUE(choose(g, 0, 20, false)) << g.log; // "Street Racing / Career"
    EXPECT_EQ(g.number("cash"), 9999) << "the saved career is only read";
    shoot(g, "career_menu.png");
    EXPECT_TRUE(choose(g, 0, 2, false)) << g.log; // "New game"
    EXPECT_EQ(g.number("cash"), 350);
    EXPECT_EQ(g.number("racesOpen"), 1);
    EXPECT_EQ(g.number("selectedCar"), 0);
    shoot(g, "car_select.png");
    EXPECT_TRUE(choose(g, 2, 29, false)) << g.log; // "Tuning"
    shoot(g, "tuning.png");
    g.clickAt(kPacket1[0], kPacket1[1]);
    EXPECT_TRUE(g.waitUntil([&] { return g.number("cash") == 0; }, 30, "packet bought")) << g.log;
    EXPECT_EQ(g.list("tuningBought"), "[1,0,0,0,0,0]");
    shoot(g, "tuning_bought.png");
    EXPECT_TRUE(choose(g, 0, 2, false)) << g.log; // "Back"
    EXPECT_TRUE(choose(g, 3, 21, false)) << g.log; // "Select race"
    EXPECT_EQ(g.number("menuItemCount"), 2) << "race 1 and Back";
    shoot(g, "race_select.png");

    EXPECT_TRUE(choose(g, 0, -1, false)); // "Race  1"
    EXPECT_TRUE(g.waitUntil([&] { return g.number("gameState") == 0 && g.field("countdownActive") == "true"; }, 120,
                            "race loaded"))
        << g.log;
    EXPECT_EQ(g.field("careerRace"), "true");
    EXPECT_EQ(g.field("awardPending"), "true");

    // Keys from here: the pointer rests away from every button and the window has the keyboard.
    g.pointAt(760, 580);
    g.xdotool("windowfocus --sync " + g.window);

    // Escape pauses over the frozen race picture.
    pause(g);
    double frozen = raceSeconds(g);
    g.waitFrames(10);
    EXPECT_EQ(raceSeconds(g), frozen) << "the race stands still while paused";
    shoot(g, "pause.png");

    ASSERT_TRUE(choose(g, 0, -1, true)); // "Continue"
    ASSERT_TRUE(g.waitUntil([&] { return g.number("gameState") == 0; }, 30, "continue")) << g.log;
    EXPECT_LT(std::atof(g.field("musicFade").c_str()), 0.0) << "the race tune starts again from silence";
    EXPECT_EQ(g.number("shownState"), 4);
    ASSERT_TRUE(g.waitUntil([&] { return raceSeconds(g) > frozen + 0.5; }, 120, "race runs on")) << g.log;

    pause(g);
    ASSERT_TRUE(choose(g, 1, -1, true)); // "Restart"
    ASSERT_TRUE(g.waitUntil([&] { return g.number("gameState") == 0 && g.field("countdownActive") == "true"; }, 120,
                            "restarted"))
        << g.log;
    EXPECT_EQ(g.number("selectedRace"), 1) << "the same race again";
    EXPECT_EQ(g.field("careerRace"), "true");
    EXPECT_EQ(g.field("awardPending"), "true") << "the restarted race still books its result";
    EXPECT_LT(raceSeconds(g), 0.5);

    pause(g);
    ASSERT_TRUE(choose(g, 2, 2, true)) << g.log; // "Exit"
    EXPECT_EQ(g.field("awardPending"), "false");
    EXPECT_EQ(g.number("cash"), 0) << "a race left half-way books nothing";
    shoot(g, "car_select_after_race.png");
    // A race lets go of the menus' own pictures: the tunnel must come back as it was (without its
    // pictures it is drawn white, and the screen's mean grey rises from about 0.15 to 0.7).
    double before = pictureGrey(picture("car_select.png")), after = pictureGrey(picture("car_select_after_race.png"));
    ASSERT_GE(before, 0.0);
    EXPECT_NEAR(after, before, 0.05) << "the car select screen looks as it did before the race";

    // A quick race leaves for the main menu.
    g.tap("Escape"); // car select's Back
    ASSERT_TRUE(g.waitForScreen(1)) << g.log;
    ASSERT_TRUE(choose(g, 1, -1, true)) << g.log; // "Quick Race"
    ASSERT_TRUE(g.waitUntil([&] { return g.number("gameState") == 0; }, 120, "quick race loaded")) << g.log;
    EXPECT_EQ(g.field("careerRace"), "false");
    pause(g);
    ASSERT_TRUE(choose(g, 2, 1, true)) << g.log; // "Exit"
    EXPECT_EQ(g.number("selectedCar"), 0);

    // The mouse again: the options, then the quit question, which has no Back for Escape.
    ASSERT_TRUE(choose(g, 2, 5, false)) << g.log; // "Options"
    int modeBefore = g.number("optionsResolutionIndex");
    g.clickAt(kResolutionRow[0], kResolutionRow[1]);
    g.clickAt(kMusicRow[0], kMusicRow[1]);
    ASSERT_TRUE(g.waitUntil([&] { return g.field("musicOn") == "false"; }, 30, "music off")) << g.log;
    ASSERT_TRUE(choose(g, 0, -1, false)); // "Accept"
    ASSERT_TRUE(g.waitUntil([&] { return g.field("optionsAccepted") == "true"; }, 30, "accepted")) << g.log;
    int modeChosen = g.number("optionsResolutionIndex");
    shoot(g, "options.png");
    EXPECT_EQ(g.number("gameState"), 5) << "Accept stays on the screen";
    ASSERT_TRUE(choose(g, 2, 1, false)) << g.log; // "Back"
    ASSERT_TRUE(choose(g, 3, 90, false)) << g.log; // "Quit"
    shoot(g, "quit_question.png");
    g.tap("Escape");
    g.waitFrames(5);
    EXPECT_EQ(g.number("gameState"), 90);
    // The two data files damaged on disk while the game runs: the game keeps its own values.
    writeBytes(dir.file("base/career.inf"), {1, 2, 3, 4, 5});
    writeBytes(dir.file("base/menu.inf"), {9, 9, 9});
    ASSERT_TRUE(choose(g, 1, -1, false)); // "Yes"
    EXPECT_EQ(g.finish(), 0) << g.log;

    // Whole files with what the game held, not what the damage left. The career: New game, packet
    // 1 bought for car 0 with the whole 350 and race 1 left half-way, so the first three cars
    // open, no other packet, no place, no points.
    auto b = readBytes(dir.file("base/career.inf"));
    ASSERT_EQ(b.size(), 712u);
    for (int w = 0; w < 24; w++)
        EXPECT_EQ(wordAt(b, size_t(w)), w < 3 || w == 18 ? 1 : 0) << "word " << w << " (cars open, then packets)";
    EXPECT_EQ(wordAt(b, 127), 0) << "best place of race 1";
    EXPECT_EQ(wordAt(b, 174), 1) << "races open";
    EXPECT_EQ(wordAt(b, 175), 0);
    EXPECT_EQ(wordAt(b, 176), 0);
    EXPECT_EQ(readBytes(dir.file("base/menu.inf")), words({modeChosen, 32, 24, 1, 0, 0}))
        << "the accepted resolution (from " << modeBefore << "), music switched off";
}

} // namespace
