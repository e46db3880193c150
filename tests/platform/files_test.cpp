#include "platform/sys_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace
