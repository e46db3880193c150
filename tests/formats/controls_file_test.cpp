// The controls file reader against good and damaged files.
#include "formats/controls_file.h"
#include "platform/sys_files.h"
#include "platform/sys_pad.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Every kind of binding somewhere, so a round trip shows each lands where it was.
ControlBindings sample()
{
    ControlBindings c;
    for (int a = 0; a < ACTION_COUNT; a++) {
        c.slot[a][0] = {BIND_KEY, 'A' + a};
        c.slot[a][1] = {BIND_PAD_BUTTON, a};
    }
    c.slot[ACTION_STEER_LEFT][2] = {BIND_PAD_MINUS, PAD_LEFT_X};
    c.slot[ACTION_BRAKE][2] = {BIND_PAD_PLUS, PAD_LEFT_TRIGGER};
    c.slot[ACTION_PAUSE][0] = {};
    return c;
}

Bytes encoded(const ControlBindings &c)
{
    Bytes b(kControlsFileSize);
    encodeControls(c, b.data());
    return b;
}

// Sets a word and hashes the file again, as a program writing a wrong value would.
Bytes withWord(Bytes b, size_t word, int value)
{
    Sys_PutWord(b.data() + 4 * word, value);
    uint32_t h = 2166136261u;
    for (size_t i = 0; i + 4 < b.size(); i++)
        h = (h ^ b[i]) * 16777619u;
    Sys_PutWord(b.data() + b.size() - 4, int(h));
    return b;
}

// The word of one binding's kind (its code follows).
size_t kindWord(int action, int slot) { return size_t(3 + (action * kBindingSlots + slot) * 2); }

TEST(ControlsFile, DamagedFilesAreRefusedAndLeaveTheBindingsAlone)
{
    TempDir dir;
    const Bytes good = encoded(sample());
    struct Case {
        const char *what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"one byte short", Bytes(good.begin(), good.end() - 1)},
        {"one byte long past the end", [&] { Bytes b = good; b.push_back(0); return b; }()},
        {"garbage", Bytes(kControlsFileSize, 0xFF)},
        {"another magic", withWord(good, 0, 0x4C544E44)},
        {"a later version", withWord(good, 1, 2)},
        {"fewer actions", withWord(good, 2, ACTION_COUNT - 1)},
        {"huge action count", withWord(good, 2, 0x7FFFFFFF)},
        {"unknown kind", withWord(good, kindWord(2, 1), 7)},
        {"negative kind", withWord(good, kindWord(2, 1), -1)},
        {"key code 0", withWord(withWord(good, kindWord(0, 0), BIND_KEY), kindWord(0, 0) + 1, 0)},
        {"key code past the table", withWord(good, kindWord(0, 0) + 1, 256)},
        {"a key in a pad slot", withWord(withWord(good, kindWord(1, 1), BIND_KEY), kindWord(1, 1) + 1, 'K')},
        {"a pad button in the key slot", withWord(withWord(good, kindWord(1, 0), BIND_PAD_BUTTON), kindWord(1, 0) + 1, 0)},
        {"button past the pad", withWord(good, kindWord(3, 1) + 1, PAD_BUTTON_COUNT)},
        {"axis past the pad", withWord(withWord(good, kindWord(3, 2), BIND_PAD_PLUS), kindWord(3, 2) + 1, PAD_AXIS_COUNT)},
        {"a trigger pushed below rest",
         withWord(withWord(good, kindWord(3, 2), BIND_PAD_MINUS), kindWord(3, 2) + 1, PAD_RIGHT_TRIGGER)},
        {"an empty slot with a code", withWord(good, kindWord(ACTION_PAUSE, 0) + 1, 5)},
    };
    const ControlBindings before = sample();
    for (const Case &c : cases) {
        ControlBindings out = before;
        EXPECT_FALSE(parseControls(c.bytes.data(), c.bytes.size(), &out)) << c.what;
        EXPECT_TRUE(out == before) << c.what;
        EXPECT_FALSE(readControlsFile(dir.write("base/controls.inf", c.bytes).c_str(), &out)) << c.what;
    }
    // Any single byte scribbled on, hash included, is caught.
    for (size_t i = 0; i < good.size(); i++) {
        Bytes b = good;
        b[i] ^= 0x10;
        ControlBindings out;
        EXPECT_FALSE(parseControls(b.data(), b.size(), &out)) << "byte " << i;
    }
    ControlBindings out;
    EXPECT_FALSE(parseControls(nullptr, 0, &out));
    EXPECT_FALSE(readControlsFile(dir.file("missing/controls.inf").c_str(), &out));
    EXPECT_FALSE(readControlsFile(dir.path.c_str(), &out)) << "a folder is no file";
}

} // namespace
