#include "platform/png_write.h"
#include "platform/sys_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(Files, GamePathsWithBackslashesOpen)
{
    TempDir dir;
    dir.enter();
    writeBytes("base/menu.inf", {1, 2, 3});
    FILE *f = Sys_FOpen(".\\base\\menu.inf", "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(Sys_FileExists(".\\base\\menu.inf"));
    EXPECT_EQ(Sys_NativePath(".\\base\\music\\menu.ogg"), "./base/music/menu.ogg");
    unsigned char buf[8];
    EXPECT_EQ(Sys_ReadFile(".\\base\\menu.inf", buf, sizeof buf), 3);
    EXPECT_EQ(Sys_ReadFile("base/none.inf", buf, sizeof buf), -1);
}

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporary)
{
    TempDir dir;
    dir.enter();
    ASSERT_TRUE(Sys_WriteFileAtomic("base/a.bin", "old", 3));
    ASSERT_TRUE(Sys_WriteFileAtomic("base/a.bin", "newer", 5));
    EXPECT_EQ(readBytes("base/a.bin"), std::vector<unsigned char>({'n', 'e', 'w', 'e', 'r'}));
    EXPECT_FALSE(std::filesystem::exists("base/a.bin.tmp"));
    EXPECT_FALSE(Sys_WriteFileAtomic("nodir/a.bin", "x", 1));
}

// A stored-block PNG has a fixed, checkable layout. (The header's sizes and depth, and the blocks'
// lengths, are read by the game tests' screenshot reader; what it skips is checked here.)
TEST(Png, EncodesAValidStoredStream)
{
    const uint8_t px[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}; // 2x2 RGB
    auto png = Sys_EncodePng(2, 2, 3, px);
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
    // Unwrap the stored deflate block and compare with the filtered scanlines.
    const uint8_t *z = png.data() + 8 + 25 + 8;
    EXPECT_EQ(z[0], 0x78);
    EXPECT_EQ(z[2], 1) << "one final stored block";
    unsigned n = z[3] | z[4] << 8;
    EXPECT_EQ(n, 14u);
    EXPECT_EQ(unsigned(z[5] | z[6] << 8), (~n) & 0xFFFF);
    const uint8_t expect[14] = {0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255};
    EXPECT_EQ(std::vector<uint8_t>(z + 7, z + 21), std::vector<uint8_t>(expect, expect + 14));
    auto big = std::vector<uint8_t>(300 * 300 * 4, 7);
    EXPECT_GT(Sys_EncodePng(300, 300, 4, big.data()).size(), big.size()) << "spans several stored blocks";
}

} // namespace
