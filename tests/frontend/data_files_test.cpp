// The settings and career files on real disk: layouts, defaults for missing or damaged files,
// and saves that never leave a half-written file behind.
#include "common/common.h"
#include "frontend/frontend.h"
#include "race/race.h"
#include "platform/sys_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

// Each file as read, and as written back: damaged fields keep their defaults (800 x 600, 32-bit
// colour, 24-bit depth, sound and music on), a short or missing file gives all of them. A
// resolution chosen on the options screen is saved only once accepted. (A sound file read and
// written back unchanged is the game runs' own check, tests/e2e.)
TEST(Settings, FileValuesDecideModeDepthsAndSwitchesAndAreWrittenBack)
{
    TempDir dir;
    dir.enter();
    struct Case {
        Bytes file;
        int width, height, colour, depth;
        bool sound, music;
        Bytes written;
    } cases[] = {
        {words({0, 16, 16, 7, -1, 0}), 640, 480, 16, 16, true, true, words({0, 16, 16, 1, 1, 0})},
        {words({77, 12, 99, 0, 1, 3}), 800, 600, 32, 24, false, true, words({1, 32, 24, 0, 1, 3})},
        {{}, 800, 600, 32, 24, true, true, words({1, 32, 24, 1, 1, 0})},
        {Bytes(23, 0), 800, 600, 32, 24, true, true, words({1, 32, 24, 1, 1, 0})},
    };
    optionsAccepted = false;
    screenWidth = 0;
    readSettings(); // no file at all
    EXPECT_EQ(screenWidth, 800);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "file of " << c.file.size() << " bytes");
        writeBytes("base/menu.inf", c.file);
        readSettings();
        EXPECT_EQ(screenWidth, c.width);
        EXPECT_EQ(screenHeight, c.height);
        EXPECT_EQ(colorBits, c.colour);
        EXPECT_EQ(depthBits, c.depth);
        EXPECT_EQ(soundOn, c.sound);
        EXPECT_EQ(musicOn, c.music);
        ASSERT_TRUE(writeSettings());
        EXPECT_EQ(readBytes("base/menu.inf"), c.written);
    }

    optionsResolutionIndex = 3; // 1280x1024 chosen on the options screen, after the last file
    colorBits = 16;
    optionsAccepted = false; // (an accepted one is saved in the menus' end-to-end run)
    writeSettings();
    EXPECT_EQ(readBytes("base/menu.inf"), words({1, 16, 24, 1, 1, 0}));
}

// The cars, races, points and cash New game starts from are seen in the menus' end-to-end run,
// which starts from a career well under way.
TEST(Career, NewGameClearsTheOldCareerButItsSlotFlags)
{
    TempDir dir;
    dir.enter();
    career = {};
    career.raceSlot[5].flag = true;
    career.raceSlot[5].bestPlace = 2;
    career.tuningBought[4][1] = 1;
    newCareer();
    auto b = readBytes("base/career.inf");
    ASSERT_EQ(b.size(), 712u);
    EXPECT_EQ(wordAt(b, 18 + 4 * 6 + 1), 0) << "the packets bought are gone";
    EXPECT_EQ(wordAt(b, 126 + 10), 1) << "slot flags stay as they were";
    EXPECT_EQ(wordAt(b, 127 + 10), 0) << "best places are cleared";
}

TEST(Career, ACrashBetweenWriteAndRenameLeavesTheOldFileWhole)
{
    TempDir dir;
    dir.enter();
    career = {};
    career.cash = 1111;
    career.racesOpen = 1;
    ASSERT_TRUE(writeCareer());
    auto before = readBytes("base/career.inf");

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        career.cash = 2222;
        sysCrashBeforeRename = true;
        writeCareer();
        _exit(0); // not reached: the hook ends the process first
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the child must have died at the crash point";
    EXPECT_EQ(readBytes("base/career.inf"), before);
    readCareer();
    EXPECT_EQ(career.cash, 1111);
    // The next save replaces the stale temporary and lands.
    career.cash = 3333;
    ASSERT_TRUE(writeCareer());
    readCareer();
    EXPECT_EQ(career.cash, 3333);
}

} // namespace
