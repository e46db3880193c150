// The generator must write the same bytes every time: the build regenerates base/ whenever
// the generator changes, and nothing in it may depend on the clock or on thread timing.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// A sample of every kind of sound (engine, off-throttle loop, big crash, noise loop, chime)
// and the menu tune: enough to cover every code path without generating everything twice.
const char *kSubset[] = {"sound/en2.wav", "sound/en_pass.wav", "sound/cr3.wav", "sound/wind.wav",
                         "sound/point.wav", "music/menu.ogg"};
const char *kSubsetNames = "en2,en_pass,cr3,wind,point,menu";

TEST(GenAudio, TwoRunsWriteIdenticalBytesMatchingTheBuild)
{
    TempDir da, db;
    std::string a = da.path.string(), b = db.path.string();
    // Both runs at once: quicker on two cores, and any dependence on timing has a chance to show.
    std::string gen = std::string(GENAUDIO_BINARY) + " ";
    std::string both = "sh -c '" + gen + a + " --only " + kSubsetNames + " & p=$!; " + gen + b + " --only " +
                       kSubsetNames + " || exit 1; wait $p'";
    ASSERT_EQ(std::system(both.c_str()), 0);
    for (const char *f : kSubset) {
        SCOPED_TRACE(f);
        auto fa = readBytes(a + "/" + f), fb = readBytes(b + "/" + f);
        ASSERT_FALSE(fa.empty());
        EXPECT_TRUE(fa == fb);
        EXPECT_TRUE(fa == readBytes(std::string(COBALT_BASE_DIR) + "/" + f)) << "base/ is stale or differs";
    }
}

} // namespace
