// The particle emitters without a display: birth and re-birth, the drift of the newborn, loading
// damaged files, and what a car's frame tells its emitters.
#include "effects/effects.h"
#include "support/file_builders.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

// A pool whose random terms are all zero (every modulus 1), so each particle can be worked out:
// born with life 0.8, it loses 0.1 a step; without gravity its velocity is what birth gave it.
EffectParams plainParams(int count)
{
    EffectParams e{};
    e.particleCount = count;
    e.fadeScale = 0.5f;
    e.spread[0] = e.spread[1] = e.spread[2] = 1;
    e.offset[0] = -2, e.offset[1] = -4, e.offset[2] = 0; // born moving at (2, 4, 0) plus the drift
    e.fadeSpread = 1;
    e.fadeDivisor = 1;
    e.fadeBase = 0.2f;
    e.startLife = 0.8f;
    return e;
}

const float kNoDrift[3] = {0, 0, 0};

} // namespace

TEST(Emitter, BirthOnlyWhileEmittingAndDriftOnlyForTheNewborn)
{
    // Switched on, the whole pool is born on the first update; switched off, the live particles
    // fade out and none is born again.
    ParticleEmitter em;
    em.setUp(plainParams(20));
    em.update(1.0f, kNoDrift);
    EXPECT_EQ(em.liveCount(), 20);
    em.emitting = false;
    float lastLife = em.particles[0].life;
    for (int i = 0; i < 30; i++) {
        em.update(1.0f, kNoDrift);
        EXPECT_LT(em.particles[0].life, lastLife) << "re-born after emitting was cleared";
        lastLife = em.particles[0].life;
    }
    EXPECT_EQ(em.liveCount(), 0);

    // The drift goes to the particles born in this call only.
    em.emitting = true;
    em.particles[0].life = 0.01f;           // dies and is born again in this call
    em.particles[1].life = 0.5f;            // lives on
    em.particles[1].vx = em.particles[1].vy = em.particles[1].vz = 0;
    const float drift[3] = {100, -50, 25};
    em.particles.resize(2);
    em.update(1.0f, drift);
    EXPECT_EQ(em.particles[0].vx, 2 + 100.0f);
    EXPECT_EQ(em.particles[0].vy, 4 - 50.0f);
    EXPECT_EQ(em.particles[0].vz, 25.0f);
    EXPECT_EQ(em.particles[1].vx, 0.0f);
    EXPECT_EQ(em.particles[1].vy, 0.0f);
    EXPECT_EQ(em.particles[1].vz, 0.0f);
}

// Which files the reader refuses is its own test (tests/formats); a loaded emitter given one
// afterwards ends up empty, not half old, half new.
TEST(Emitter, ADamagedFileLoadedOverAGoodOneLeavesNothing)
{
    TempDir dir;
    Bytes good = makeEffect(plainParams(5));
    ParticleEmitter em;
    ASSERT_TRUE(em.load(dir.write("good.eff", good).c_str()));
    EXPECT_EQ(em.particles.size(), 5u);
    EXPECT_FALSE(em.load(dir.write("bad.eff", Bytes(good.begin(), good.begin() + 50)).c_str()));
    EXPECT_TRUE(em.particles.empty());
    em.update(20.0f, kNoDrift);
    EXPECT_EQ(em.liveCount(), 0);
}

TEST(Emitter, ACarsFrameDrivesItsThreeEmitters)
{
    // Dust from the lightest skid on; the fire white until the nitro burns. (The exhaust smoking
    // and the nitro's green flame are seen in a windowed race, tests/e2e.)
    driveCarEffects(0, 0.02f, 0.4f, true);
    driveCarEffects(0, 0.02f, 0.4f, false);
    EXPECT_TRUE(dustEmitters[0].emitting);
    EXPECT_EQ(fireEmitters[0].colourR + fireEmitters[0].colourG + fireEmitters[0].colourB, 3.0f);
    driveCarEffects(0, 0.005f, 1.0f, true);
    EXPECT_FALSE(dustEmitters[0].emitting);

    driveCarEffects(2, 0.6f, 0.5f, false);
    EXPECT_TRUE(dustEmitters[2].emitting);
    EXPECT_FALSE(dustEmitters[0].emitting) << "another car's emitters are left alone";
    driveCarEffects(4, 1, 1, true); // no such car: nothing happens
    driveCarEffects(-1, 1, 1, true);
}
