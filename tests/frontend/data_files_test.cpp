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

TEST(Settings, FileValuesDecideModeDepthsAndSwitchesAndAreWrittenBack)
{
    TempDir dir;
    dir.enter();
    writeBytes("base/menu.inf", words({2, 32, 24, 1, 0, 5}));
    optionsAccepted = false;
    readSettings();
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_EQ(colorBits, 32);
    EXPECT_EQ(depthBits, 24);
    EXPECT_TRUE(soundOn);
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(mouseSensitivity, 5);
    ASSERT_TRUE(writeSettings());
    EXPECT_EQ(readBytes("base/menu.inf"), words({2, 32, 24, 1, 0, 5}));
}

TEST(Settings, NonZeroSwitchesReadAsOnAndAreWrittenAsOne)
{
    TempDir dir;
    dir.enter();
    writeBytes("base/menu.inf", words({0, 16, 16, 7, -1, 0}));
    readSettings();
    EXPECT_EQ(screenWidth, 640);
    EXPECT_TRUE(soundOn && musicOn);
    writeSettings();
    EXPECT_EQ(readBytes("base/menu.inf"), words({0, 16, 16, 1, 1, 0}));
}

TEST(Settings, MissingOrShortFileGivesTheDefaults)
{
    TempDir dir;
    dir.enter();
    for (int size : {-1, 0, 3, 23}) {
        if (size >= 0) {
            auto b = words({4, 16, 16, 0, 0, 9});
            b.resize(size_t(size));
            writeBytes("base/menu.inf", b);
        }
        readSettings();
        EXPECT_EQ(resolutionIndex, 1) << size;
        EXPECT_EQ(screenWidth, 800);
        EXPECT_EQ(screenHeight, 600);
        EXPECT_EQ(colorBits, 32);
        EXPECT_EQ(depthBits, 24);
        EXPECT_TRUE(soundOn && musicOn);
    }
}

TEST(Settings, DamagedFieldsKeepTheirDefaultsAndTheRestIsHonoured)
{
    TempDir dir;
    dir.enter();
    writeBytes("base/menu.inf", words({77, 12, 99, 0, 1, 3}));
    readSettings();
    EXPECT_EQ(screenWidth, 800) << "an unknown resolution must not give a 0x0 window";
    EXPECT_EQ(colorBits, 32);
    EXPECT_EQ(depthBits, 24);
    EXPECT_FALSE(soundOn);
    EXPECT_EQ(mouseSensitivity, 3);
}

TEST(Settings, OnlyAnAcceptedResolutionIsSaved)
{
    TempDir dir;
    dir.enter();
    writeBytes("base/menu.inf", words({1, 32, 24, 1, 1, 0}));
    readSettings();
    optionsResolutionIndex = 3; // 1280x1024 chosen on the options screen
    colorBits = 16;
    optionsAccepted = false;
    writeSettings();
    EXPECT_EQ(readBytes("base/menu.inf"), words({1, 16, 24, 1, 1, 0}));
    optionsAccepted = true;
    writeSettings();
    EXPECT_EQ(wordAt(readBytes("base/menu.inf"), 0), 3);
    optionsAccepted = false;
}

TEST(Settings, UnwritableFileIsSkippedQuietly)
{
    TempDir dir;
    dir.enter();
    std::filesystem::remove_all("base");
    EXPECT_FALSE(writeSettings());
}

TEST(Career, NewGameWritesTheStartingRecord)
{
    TempDir dir;
    dir.enter();
    career = {};
    career.raceSlot[5].flag = true;
    career.raceSlot[5].bestPlace = 2;
    career.cash = 99999;
    career.careerStarted = 1;
    newCareer();
    EXPECT_EQ(selectedCar, 0);
    EXPECT_EQ(selectedRace, 1);
    auto b = readBytes("base/career.inf");
    ASSERT_EQ(b.size(), 712u);
    for (int c = 0; c < 18; c++)
        EXPECT_EQ(wordAt(b, size_t(c)), c < 3 ? 1 : 0) << "car " << c;
    for (int i = 18; i < 126; i++)
        EXPECT_EQ(wordAt(b, size_t(i)), 0);
    EXPECT_EQ(wordAt(b, 126 + 10), 1) << "slot flags stay as they were";
    EXPECT_EQ(wordAt(b, 127 + 10), 0) << "best places are cleared";
    EXPECT_EQ(wordAt(b, 174), 1);
    EXPECT_EQ(wordAt(b, 175), 0);
    EXPECT_EQ(wordAt(b, 176), 350);
}

TEST(Career, RoundTripKeepsEveryField)
{
    TempDir dir;
    dir.enter();
    career = {};
    career.carOpen[0] = career.carOpen[11] = true;
    career.tuningBought[4][5] = 1;
    career.raceSlot[23].flag = true;
    career.raceSlot[14].bestPlace = 3;
    career.racesOpen = 15;
    career.careerPoints = 1500;
    career.cash = 4200;
    career.careerStarted = 1;
    ASSERT_TRUE(writeCareer());
    auto first = readBytes("base/career.inf");
    career = {};
    readCareer();
    EXPECT_TRUE(career.carOpen[11]);
    EXPECT_FALSE(career.carOpen[10]);
    EXPECT_EQ(career.tuningBought[4][5], 1);
    EXPECT_EQ(wordAt(first, 18 + 4 * 6 + 5), 1);
    EXPECT_TRUE(career.raceSlot[23].flag);
    EXPECT_EQ(career.raceSlot[14].bestPlace, 3);
    EXPECT_EQ(career.racesOpen, 15);
    EXPECT_EQ(career.careerPoints, 1500);
    EXPECT_EQ(career.cash, 4200);
    writeCareer();
    EXPECT_EQ(readBytes("base/career.inf"), first);
}

TEST(Career, MissingShortOrDamagedFilesGiveAPlayableRecord)
{
    TempDir dir;
    dir.enter();
    readCareer(); // missing
    EXPECT_TRUE(career.carOpen[0] && career.carOpen[2]);
    EXPECT_FALSE(career.carOpen[3]);
    EXPECT_EQ(career.racesOpen, 1);
    EXPECT_EQ(career.cash, 350);

    writeBytes("base/career.inf", std::vector<unsigned char>(711, 0xFF));
    readCareer(); // one byte short
    EXPECT_EQ(career.cash, 350);

    std::vector<unsigned char> garbage(712);
    for (size_t i = 0; i < garbage.size(); i++)
        garbage[i] = (unsigned char)(i * 131 + 7);
    writeBytes("base/career.inf", garbage);
    readCareer();
    EXPECT_GE(career.racesOpen, 1);
    EXPECT_LE(career.racesOpen, 15);
    for (auto &slot : career.raceSlot) {
        EXPECT_GE(slot.bestPlace, 0);
        EXPECT_LE(slot.bestPlace, 4);
    }
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

TEST(Career, CarValuesAddFivePercentPerPacketUpToFull)
{
    fillCarStats();
    career = {};
    carValues(0);
    EXPECT_FLOAT_EQ(carPower, 0.5f);
    for (int k = 0; k < 6; k++)
        career.tuningBought[17][k] = 1;
    carValues(17);
    EXPECT_FLOAT_EQ(carPower, 1.0f) << "0.75 + 0.3 is capped";
    EXPECT_FLOAT_EQ(carMaxSpeed, 1.0f);
    EXPECT_NEAR(carSuspension, 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(carStats[5][3], 3.62f);
    EXPECT_FLOAT_EQ(carStats[15][4], 4.39f);
}

} // namespace
