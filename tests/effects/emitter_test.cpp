// The particle emitters without a display: birth and re-birth, the drift of the newborn, loading
// damaged files, and what a car's frame tells its emitters.
#include "effects/effects.h"
#include "support/file_builders.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A pool whose random terms are all zero (every modulus 1), so each particle can be worked out.
EffectParams plainParams(int count)
{
    EffectParams e{};
    e.particleCount = count;
    e.maxSize = 1.0f;
    e.gravity[1] = -1.0f;
    e.scale[0] = e.scale[1] = e.scale[2] = 0.5f;
    e.fadeScale = 0.5f;
    e.spread[0] = e.spread[1] = e.spread[2] = 1;
    e.offset[0] = -2, e.offset[1] = -4, e.offset[2] = 0; // born moving at (2, 4, 0) plus the drift
    e.fadeSpread = 1;
    e.fadeDivisor = 1;
    e.fadeBase = 0.2f;
    e.growth = 0.3f;
    e.startSize = 0.2f;
    e.energyDecay = 0.25f;
    e.startLife = 0.8f;
    e.blendMode = 0;
    return e;
}

const float kNoDrift[3] = {0, 0, 0};

} // namespace

TEST(Emitter, BirthOnlyWhileEmittingAndDriftOnlyForTheNewborn)
{
    // Switched off before its first update: every particle is dead from the start and stays so.
    ParticleEmitter off;
    off.setUp(plainParams(20));
    off.emitting = false;
    for (int i = 0; i < 50; i++)
        off.update(1.0f, kNoDrift);
    EXPECT_EQ(off.liveCount(), 0);

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
    em.params.gravity[1] = 0;
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

TEST(Emitter, LoadingTakesTheBlendFromTheFileAndDamagedFilesLeaveNothing)
{
    TempDir dir;
    for (int mode : {1, 0, 2, -1}) {
        EffectParams e = plainParams(5);
        e.blendMode = mode;
        ParticleEmitter em;
        ASSERT_TRUE(em.load(dir.write("m.eff", makeEffect(e)).c_str()));
        EXPECT_EQ(em.blend(), mode == 1 ? BILLBOARD_ADD : BILLBOARD_ALPHA) << "file value " << mode;
        EXPECT_EQ(em.particles.size(), 5u);
    }

    // A loaded emitter given a damaged file afterwards ends up empty, not half old, half new.
    Bytes good = makeEffect(plainParams(5));
    EffectParams negative = plainParams(-3);
    for (const Bytes &bad : {Bytes(good.begin(), good.begin() + 50), Bytes(), makeEffect(negative)}) {
        ParticleEmitter em;
        ASSERT_TRUE(em.load(dir.write("good.eff", good).c_str()));
        EXPECT_FALSE(em.load(dir.write("bad.eff", bad).c_str()));
        EXPECT_TRUE(em.particles.empty());
        em.update(20.0f, kNoDrift);
        EXPECT_EQ(em.liveCount(), 0);
    }
    ParticleEmitter missing;
    EXPECT_FALSE(missing.load(dir.file("none.eff").c_str()));
    EXPECT_TRUE(missing.particles.empty());
}

TEST(Emitter, ACarsFrameDrivesItsThreeEmitters)
{
    // Dust from the lightest skid; nitro turns the fire green.
    driveCarEffects(0, 0.02f, 0.4f, false);
    EXPECT_TRUE(dustEmitters[0].emitting);
    EXPECT_EQ(dustEmitters[0].params.startLife, 0.02f);
    EXPECT_EQ(fireEmitters[0].params.startLife, 0.4f);
    EXPECT_EQ(fireEmitters[0].colourR, 1.0f);
    driveCarEffects(0, 0.005f, 1.0f, true);
    EXPECT_FALSE(dustEmitters[0].emitting);
    EXPECT_EQ(fireEmitters[0].colourR, 0.0f);
    EXPECT_EQ(fireEmitters[0].colourG, 1.0f);
    EXPECT_EQ(fireEmitters[0].colourB, 0.0f);
    EXPECT_TRUE(fireEmitters[0].emitting);
    EXPECT_TRUE(smokeEmitters[0].emitting);
    EXPECT_EQ(smokeEmitters[0].params.startLife, 1.0f);

    driveCarEffects(2, 0.6f, 0.5f, false);
    EXPECT_TRUE(dustEmitters[2].emitting);
    EXPECT_FALSE(dustEmitters[0].emitting) << "another car's emitters are left alone";
    driveCarEffects(4, 1, 1, true); // no such car: nothing happens
    driveCarEffects(-1, 1, 1, true);
}
