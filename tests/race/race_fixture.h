// A race on a track the test builds itself: flat ground around the start of track 1, and walls
// where a test wants them. Real physics, real OpenAL (a silent loopback device), no window.
#pragma once
#include "audio/audio.h"
#include "common/common.h"
#include "platform/sys.h"
#include "content/content.h"
#include "platform/wav_write.h"
#include "race/car.h"
#include "race/race.h"
#include "race/start_places.h"
#include "render/ms3d.h"
#include "support/ms3d_write.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

// A quick race as the menus start one: the track and car chosen, then the race begins.
inline void quickRace(int track, int car)
{
    careerRace = false;
    quickTrack = track;
    selectedCar = car;
    carPower = carStats[car][0];
    carMaxSpeed = carStats[car][1];
    carSuspension = carStats[car][2];
    beginRace(track);
}

struct FlatRace : ::testing::Test {
    TempDir dir;
    static constexpr float startX = kStartPlaces[0][0], startY = kStartPlaces[0][1], startZ = kStartPlaces[0][2];
    static constexpr float groundY = startY - 0.8f;

    void SetUp() override
    {
        dir.enter();
        // Every sample gets a short tone so that playing it is observable.
        std::filesystem::create_directories("base/sound");
        std::vector<int16_t> tone(5512);
        for (size_t i = 0; i < tone.size(); i++)
            tone[i] = int16_t(8000 * ((i / 25) % 2 ? 1 : -1));
        for (const SampleFile &f : sampleTable)
            Sys_WriteWav(f.file, 1, 22050, tone.data(), long(tone.size()));
        ASSERT_TRUE(openAudioDevice(nullptr));
        loadSamples();
        soundOn = true;
        musicOn = false;
        fillCarStats();
        frameTime = 1.0f;
        std::memset(keyDown, 0, sizeof keyDown);
    }
    void TearDown() override
    {
        endRace();
        autopilot = false;
        releaseSamples();
        closeAudioDevice();
        std::memset(keyDown, 0, sizeof keyDown);
    }
    Ms3dLayout flatGround() const
    {
        Ms3dLayout m;
        addGround(m, startX, groundY, startZ, 6000);
        return m;
    }
    // Track 1's waypoint file: one (x, y, z) a waypoint, in whole units, as the game reads them.
    static void writeWaypoints(const std::vector<PhysVec3> &points)
    {
        std::filesystem::create_directories("base/maps/1/points");
        std::vector<unsigned char> bytes = words({int(points.size())});
        for (const PhysVec3 &p : points) {
            std::vector<unsigned char> record = words({int(p.x), int(p.y), int(p.z), 0, 0});
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        writeBytes("base/maps/1/points/level.ai", bytes);
    }
    // Loads track 1 built from the mesh and starts a quick race on it.
    void start(const Ms3dLayout &mesh, int car = 0, unsigned seed = 1)
    {
        std::filesystem::create_directories("base/maps/1");
        writeBytes("base/maps/1/map.ms3d", makeMs3d(mesh));
        std::srand(seed);
        quickRace(1, car);
    }
    void frames(int n)
    {
        for (int i = 0; i < n; i++)
            raceStep();
    }
    // The 6 s start countdown, then the lights go green.
    void countdown(int n = 600)
    {
        frames(n);
        countdownActive = false;
    }
    Car &player() { return cars[0]; }
    float speed() { return length(bodyLinearVelocity(player().body)); }
    PhysVec3 position() { return bodyPosition(player().body); }
    PhysVec3 forward() { return bodyOrientation(player().body).axis[0]; }
    static bool playing(int sample) { return sampleSlots[sample].isPlaying(); }
};
