// Virtual pads in scripted input: what the script says and what it refuses.
#include "platform/sys_pad.h"
#include "shell/automation.h"

#include <gtest/gtest.h>

namespace {

TEST(InputScript, PadEventsNameTheirPadButtonAxisAndValue)
{
    const char *text = "5 pad 1 connect\n"
                       "6 pad 1 down dpad_left\n"
                       "7 pad 2 axis LT 0.5\n"
                       "7 pad 2 axis leftx -1\n"
                       "8 pad 1 up A\n"
                       "9 pad 8 disconnect\n";
    ScriptEvent ev[8];
    int n = 0;
    std::string error;
    ASSERT_TRUE(parseInputScript(text, ev, 8, &n, &error)) << error;
    ASSERT_EQ(n, 6);
    EXPECT_EQ(ev[0].message, unsigned(SCRIPT_PAD_CONNECT));
    EXPECT_EQ(ev[0].pad, 1);
    EXPECT_EQ(ev[1].message, unsigned(SCRIPT_PAD_DOWN));
    EXPECT_EQ(ev[1].wParam, (unsigned long)(PAD_DPAD_LEFT));
    EXPECT_EQ(ev[2].message, unsigned(SCRIPT_PAD_AXIS));
    EXPECT_EQ(ev[2].wParam, (unsigned long)(PAD_LEFT_TRIGGER));
    EXPECT_EQ(ev[2].value, 0.5f);
    EXPECT_EQ(ev[3].wParam, (unsigned long)(PAD_LEFT_X));
    EXPECT_EQ(ev[3].value, -1.0f);
    EXPECT_EQ(ev[4].message, unsigned(SCRIPT_PAD_UP));
    EXPECT_EQ(ev[5].pad, 8);

    const char *bad[] = {"5 pad",           "5 pad 0 connect",       "5 pad 9 connect",        "5 pad x connect",
                         "5 pad 1 wiggle",  "5 pad 1 down",          "5 pad 1 down Z",         "5 pad 1 axis UP 0",
                         "5 pad 1 axis LEFTX 1.5", "5 pad 1 axis LT -0.5", "5 pad 1 axis RT", "5 pad 1 connect now"};
    for (const char *line : bad) {
        ScriptEvent one[2];
        EXPECT_FALSE(parseInputScript(line, one, 2, &n, &error)) << line;
        EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    }
}

} // namespace
