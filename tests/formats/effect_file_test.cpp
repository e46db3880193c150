// The effect file reader on files the tests write: every value lands in its field, and damaged
// files are refused or made safe before an emitter allocates from or divides by them.
#include "formats/effect_file.h"
#include "support/file_builders.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

// Every field a different value, so a value read into the wrong field shows.
EffectParams distinctParams()
{
    EffectParams e;
    e.particleCount = 37;
    e.maxSize = 2.5f;
    e.gravity[0] = 0.1f, e.gravity[1] = 0.2f, e.gravity[2] = 0.3f;
    e.scale[0] = 0.4f, e.scale[1] = 0.5f, e.scale[2] = 0.6f;
    e.fadeScale = 0.7f;
    e.spread[0] = 11, e.spread[1] = 12, e.spread[2] = 13;
    e.offset[0] = 1.4f, e.offset[1] = 1.5f, e.offset[2] = 1.6f;
    e.fadeSpread = 17;
    e.fadeDivisor = 18.5f;
    e.fadeBase = 1.9f;
    e.growth = 2.0f;
    e.startSize = 2.1f;
    e.energyDecay = 2.2f;
    e.startLife = 2.3f;
    e.blendMode = 1;
    return e;
}

// Every field, compared through the file layout: equal files hold equal values, and a
// mismatch names the byte (four a value) where they part.
void expectSame(const EffectParams &a, const EffectParams &b) { EXPECT_EQ(makeEffect(a), makeEffect(b)); }

bool parse(const Bytes &b, EffectParams *out) { return parseEffect(b.data(), b.size(), out); }

} // namespace

TEST(EffectFile, EveryValueLandsInItsFieldAndTheLastGivesTheBlend)
{
    EffectParams want = distinctParams(), got{};
    Bytes file = makeEffect(want);
    ASSERT_EQ(file.size(), kEffectFileSize);
    file[4] = 7; // the unused second value disagrees with the last: the last one counts
    ASSERT_TRUE(parse(file, &got));
    expectSame(got, want);

    Bytes longer = file;
    longer.resize(200, 0xEE); // whatever follows the 24 values is not read
    got = {};
    ASSERT_TRUE(parse(longer, &got));
    expectSame(got, want);

    // (Good files from disk: the generated effects' test.)
    TempDir dir;
    EXPECT_FALSE(readEffectFile(dir.file("base/effects/none.eff").c_str(), &got));
    EXPECT_FALSE(readEffectFile(dir.write("base/effects/short.eff", Bytes(file.begin(), file.end() - 1)).c_str(), &got));
}

TEST(EffectFile, DamagedFilesAreRefusedOrMadeSafe)
{
    EffectParams out;
    Bytes good = makeEffect(distinctParams());
    EXPECT_FALSE(parseEffect(nullptr, 0, &out));
    for (size_t n = 0; n < kEffectFileSize; n++)
        EXPECT_FALSE(parseEffect(good.data(), n, &out)) << n << " bytes";

    EffectParams e = distinctParams();
    e.particleCount = -1;
    EXPECT_FALSE(parse(makeEffect(e), &out)) << "negative particle count";
    for (int count : {kMaxEffectParticles + 1, INT_MAX}) {
        e.particleCount = count;
        ASSERT_TRUE(parse(makeEffect(e), &out));
        EXPECT_EQ(out.particleCount, kMaxEffectParticles) << "an absurd pool is capped";
    }
    e.particleCount = 0;
    ASSERT_TRUE(parse(makeEffect(e), &out));
    EXPECT_EQ(out.particleCount, 0) << "an empty pool is a valid file";

    // Moduli below 1 would divide by zero: that axis gets no random part.
    e = distinctParams();
    e.spread[0] = 0, e.spread[1] = -5, e.spread[2] = INT_MIN;
    e.fadeSpread = 0;
    ASSERT_TRUE(parse(makeEffect(e), &out));
    for (int s : out.spread)
        EXPECT_EQ(s, 1);
    EXPECT_EQ(out.fadeSpread, 1);
    EXPECT_EQ(out.fadeDivisor, e.fadeDivisor);

    // No fade divisor: the fade speed is its base alone.
    e = distinctParams();
    e.fadeDivisor = 0;
    ASSERT_TRUE(parse(makeEffect(e), &out));
    EXPECT_EQ(out.fadeSpread, 1);
    EXPECT_NE(out.fadeDivisor, 0.0f);
    EXPECT_EQ(out.fadeBase, e.fadeBase);

    // A value that is no number at all is garbage, wherever it stands.
    for (size_t word = 2; word < 23; word++) {
        if (word == 10 || word == 11 || word == 12 || word == 16)
            continue; // the integer spreads
        for (float bad : {NAN, INFINITY}) {
            Bytes b = good;
            std::memcpy(&b[4 * word], &bad, 4);
            EXPECT_FALSE(parse(b, &out)) << "value " << word + 1;
        }
    }
}
