// The game killed outright (SIGKILL) at random moments of a career, many times: whatever moment
// the kill lands on, even inside a save, base/career.inf reads back as the record the run started
// from or as one the run saved, never a mixture of two nor the record of a new career.
#include "formats/data_files.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Without a window the game runs its frames as fast as it can; --fixed-frame-ms keeps its clocks
// (loading, fades) in frames all the same.
const std::vector<std::string> kHeadless = {"--headless", "--seed", "5", "--fixed-frame-ms", "10", "--no-browser"};
constexpr int kCars = 12, kPrice = 350;

Bytes fileOf(const Career &c)
{
    Bytes b(kCareerFileSize);
    encodeCareerFile(c, b.data());
    return b;
}

// Keys by frame: Career, Continue game, then for every car the tuning screen, each packet pointed
// at and bought, back, and on to the next car. Every purchase saves the career.
struct Script {
    std::string text;
    long frame = 850; // the loading screen is over by now
    void key(const char *name, int gap = 4)
    {
        text += std::to_string(frame) + " key down " + name + "\n" + std::to_string(frame + 1) + " key up " + name + "\n";
        frame += gap;
    }
};

Script buyEveryPacket()
{
    Script s;
    s.key("RETURN", 50); // "Street Racing Career"
    s.key("DOWN");
    s.key("RETURN", 50); // "Continue game"
    for (int car = 0; car < kCars; car++) {
        s.key("DOWN");
        s.key("DOWN");
        s.key("RETURN", 50); // "Tuning"
        for (int packet = 0; packet < 6; packet++) {
            s.key("RIGHT");
            s.key("RETURN", 12);
        }
        s.key("ESCAPE", 50);
        s.key("RIGHT", 12); // "Car >>"
    }
    return s;
}

// Every record the script saves, in order, from the one it starts with.
std::vector<Bytes> recordsSaved(Career c)
{
    std::vector<Bytes> out = {fileOf(c)};
    for (int car = 0; car < kCars; car++)
        for (int packet = 0; packet < 6; packet++) {
            c.tuningBought[car][packet] = 1;
            c.cash -= kPrice;
            out.push_back(fileOf(c));
        }
    return out;
}

struct KilledSaves : ::testing::Test {
    TempDir dir;
    void SetUp() override { linkContent(dir); }
    std::string careerFile() const { return dir.file("base/career.inf"); }
};

TEST_F(KilledSaves, ACareerKilledAnywhereReadsBackAsTheOldRecordOrOneItSaved)
{
    Career start = {};
    for (int car = 0; car < kCars; car++)
        start.carOpen[car] = true;
    start.racesOpen = 3;
    start.cash = kCars * 6 * kPrice + 1000;
    start.careerStarted = 1;
    const std::vector<Bytes> saved = recordsSaved(start);
    Script script = buyEveryPacket();
    dir.write("keys.txt", Bytes(script.text.begin(), script.text.end()));
    std::vector<std::string> args = kHeadless;
    args.insert(args.end(), {"--input", "keys.txt", "--frames", std::to_string(script.frame + 50)});

    // A run that is not killed saves every record in turn and ends on the last: the records the
    // test expects are the game's. Its length sets the span the kills are spread over.
    dir.write("base/career.inf", saved.front());
    auto began = Clock::now();
    GameRun whole = runGame(dir, args, 120);
    double span = std::chrono::duration<double>(Clock::now() - began).count();
    ASSERT_EQ(whole.exitCode, 0) << whole.stderrText;
    ASSERT_EQ(readBytes(careerFile()), saved.back()) << "the script bought every packet";

    std::random_device device;
    unsigned seed = device();
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> moment(0.0, span);
    const int kills = 40;
    int between = 0; // kills that fell among the saves
    for (int k = 0; k < kills; k++) {
        dir.write("base/career.inf", saved.front());
        fs::remove(careerFile() + ".tmp");
        double at = moment(random);
        pid_t pid = startGame(dir, args, dir.file("stderr.txt"), dir.file("stdout.txt"));
        std::this_thread::sleep_for(std::chrono::duration<double>(at));
        stopProgram(pid);
        SCOPED_TRACE(testing::Message() << "kill " << k << " at " << at << " s of " << span << " (seed " << seed << ")");

        auto found = std::find(saved.begin(), saved.end(), readBytes(careerFile()));
        ASSERT_NE(found, saved.end()) << "the file is a whole record the game saved";
        between += found != saved.begin() && found + 1 != saved.end();
    }
    EXPECT_GT(between, 0) << "some kills fell among the saves (seed " << seed << ")";
}

// A booked race is on disk as soon as its result is shown, before the next race: a game that is
// killed later keeps it. The saved record shows it by the word it puts right (a flag of 7 is
// written back as 1), since a fourth place changes no other field.
TEST_F(KilledSaves, ABookedRaceIsSavedBeforeTheNextRaceBegins)
{
    Career start = {};
    start.carOpen[0] = start.carOpen[1] = start.carOpen[2] = true;
    start.racesOpen = 1;
    start.cash = kPrice;
    start.careerStarted = 1;
    Bytes file = fileOf(start);
    Bytes flagSeven = file;
    flagSeven[126 * 4 + 23 * 8] = 7; // the flag of slot 23, which no race uses
    dir.write("base/career.inf", flagSeven);

    std::vector<std::string> args = kHeadless;
    args.insert(args.end(), {"--autopilot", "--career", "2"});
    pid_t pid = startGame(dir, args, dir.file("stderr.txt"), dir.file("stdout.txt"));
    // The first race's line comes as it ends, after its results; the second race is then under way.
    auto began = Clock::now();
    std::string out;
    while (out.find('\n') == std::string::npos && Clock::now() - began < std::chrono::seconds(300)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        out = textOf(dir.file("stdout.txt"));
    }
    stopProgram(pid);
    ASSERT_NE(out.find("race track=1 car=0 finished=yes"), std::string::npos) << out;

    Bytes saved = readBytes(careerFile());
    Career read = {};
    ASSERT_EQ(decodeCareerFile(saved.data(), saved.size(), &read), 0u);
    EXPECT_EQ(wordAt(saved, 126 + 2 * 23), 1) << "saved after the start";
    int place = std::atoi(out.c_str() + out.find("place=") + 6);
    // The autopilot rarely makes the podium; a fourth place books nothing but the save.
    if (place == 4) {
        Career unchanged = start;
        unchanged.raceSlot[23].flag = true;
        EXPECT_EQ(saved, fileOf(unchanged));
    } else {
        EXPECT_EQ(read.raceSlot[0].bestPlace, place);
    }
}

// Without a window, the system's request to end (SIGTERM, as a session's end or a script sends
// it) ends the game in order, as closing the window does: status 0 and both files saved.
TEST_F(KilledSaves, ATerminatedGameWithoutAWindowEndsInOrder)
{
    pid_t pid = startGame(dir, kHeadless, dir.file("stderr.txt"), dir.file("stdout.txt"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(exitCodeOf(stopProgram(pid, SIGTERM)), 0) << "ended in order, not by the signal itself";
    EXPECT_EQ(readBytes(dir.file("base/menu.inf")).size(), kSettingsFileSize);
    EXPECT_EQ(readBytes(careerFile()).size(), kCareerFileSize);
}

} // namespace
