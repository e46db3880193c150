// The controls file: fixed layout, checked word by word and hashed as a whole.
#include "formats/controls_file.h"
#include "platform/sys_files.h"
#include "platform/sys_pad.h"

#include <cstdint>

namespace {

constexpr int kMagic = 0x4C544E43; // "CNTL"
constexpr int kVersion = 1;

uint32_t fnv1a(const unsigned char *p, size_t n)
{
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; i++)
        h = (h ^ p[i]) * 16777619u;
    return h;
}

} // namespace

bool validBinding(const Binding &b, int slot)
{
    bool keySlot = slot == kKeySlot;
    switch (b.kind) {
    case BIND_NONE: return b.code == 0;
    case BIND_KEY: return keySlot && b.code > 0 && b.code < 256;
    case BIND_PAD_BUTTON: return !keySlot && b.code >= 0 && b.code < PAD_BUTTON_COUNT;
    case BIND_PAD_PLUS: return !keySlot && b.code >= 0 && b.code < PAD_AXIS_COUNT;
    case BIND_PAD_MINUS:
        return !keySlot && b.code >= 0 && b.code < PAD_AXIS_COUNT && b.code != PAD_LEFT_TRIGGER &&
               b.code != PAD_RIGHT_TRIGGER;
    default: return false;
    }
}

bool parseControls(const unsigned char *bytes, size_t size, ControlBindings *out)
{
    if (!bytes || size != kControlsFileSize)
        return false;
    size_t body = kControlsFileSize - 4;
    if (uint32_t(Sys_GetWord(bytes + body)) != fnv1a(bytes, body))
        return false;
    if (Sys_GetWord(bytes) != kMagic || Sys_GetWord(bytes + 4) != kVersion || Sys_GetWord(bytes + 8) != ACTION_COUNT)
        return false;
    ControlBindings read;
    const unsigned char *p = bytes + 12;
    for (int a = 0; a < ACTION_COUNT; a++) {
        for (int s = 0; s < kBindingSlots; s++, p += 8) {
            Binding b = {Sys_GetWord(p), Sys_GetWord(p + 4)};
            if (!validBinding(b, s))
                return false;
            read.slot[a][s] = b;
        }
    }
    *out = read;
    return true;
}

void encodeControls(const ControlBindings &in, unsigned char out[kControlsFileSize])
{
    Sys_PutWord(out, kMagic);
    Sys_PutWord(out + 4, kVersion);
    Sys_PutWord(out + 8, ACTION_COUNT);
    unsigned char *p = out + 12;
    for (int a = 0; a < ACTION_COUNT; a++) {
        for (int s = 0; s < kBindingSlots; s++, p += 8) {
            Sys_PutWord(p, in.slot[a][s].kind);
            Sys_PutWord(p + 4, in.slot[a][s].code);
        }
    }
    size_t body = kControlsFileSize - 4;
    Sys_PutWord(out + body, int(fnv1a(out, body)));
}

bool readControlsFile(const char *path, ControlBindings *out)
{
    // One byte more than the layout: enough to tell a file that is too long.
    unsigned char bytes[kControlsFileSize + 1];
    long got = Sys_ReadFile(path, bytes, sizeof bytes);
    return got >= 0 && parseControls(bytes, size_t(got), out);
}
