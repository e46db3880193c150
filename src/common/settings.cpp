// The settings record and its 24-byte file of six little-endian words.
#include "common/common.h"
#include "platform/sys.h"
#include "platform/sys_files.h"

int resolutionIndex, screenWidth, screenHeight, colorBits, depthBits;
bool soundOn, musicOn;
int mouseSensitivity;
int optionsResolutionIndex;
bool optionsAccepted;
const char *const settingsPath = ".\\base\\menu.inf";

static const int modeWidth[] = {640, 800, 1024, 1280, 1600};
static const int modeHeight[] = {480, 600, 768, 1024, 1200};

void screenSizeFromIndex(int index, int *width, int *height)
{
    bool known = index >= 0 && index < 5;
    *width = known ? modeWidth[index] : 0;
    *height = known ? modeHeight[index] : 0;
}

void setDefaultSettings()
{
    resolutionIndex = 1;
    colorBits = 32;
    depthBits = 24;
    soundOn = true;
    musicOn = true;
    mouseSensitivity = 0;
    screenSizeFromIndex(resolutionIndex, &screenWidth, &screenHeight);
    optionsResolutionIndex = resolutionIndex;
}

void decodeSettings(const unsigned char *data, long size)
{
    setDefaultSettings();
    if (size < 24)
        return;
    // A damaged value would open a window of no size or ask for a format no card has; such a
    // field keeps its default and the others are still honoured.
    int index = Sys_GetWord(data);
    if (index >= 0 && index < 5)
        resolutionIndex = index;
    int bits = Sys_GetWord(data + 4);
    if (bits == 16 || bits == 32)
        colorBits = bits;
    int depth = Sys_GetWord(data + 8);
    if (depth == 16 || depth == 24)
        depthBits = depth;
    soundOn = Sys_GetWord(data + 12) != 0;
    musicOn = Sys_GetWord(data + 16) != 0;
    mouseSensitivity = Sys_GetWord(data + 20);
    screenSizeFromIndex(resolutionIndex, &screenWidth, &screenHeight);
    optionsResolutionIndex = resolutionIndex;
}

void encodeSettings(unsigned char out[24])
{
    const int words[6] = {resolutionIndex, colorBits, depthBits, soundOn ? 1 : 0, musicOn ? 1 : 0, mouseSensitivity};
    for (int i = 0; i < 6; i++)
        Sys_PutWord(out + 4 * i, words[i]);
}

void readSettings()
{
    unsigned char data[24];
    long n = Sys_ReadFile(settingsPath, data, sizeof data);
    decodeSettings(data, n);
}

bool writeSettings()
{
    if (optionsAccepted && optionsResolutionIndex >= 0 && optionsResolutionIndex < 5)
        resolutionIndex = optionsResolutionIndex;
    unsigned char data[24];
    encodeSettings(data);
    return Sys_WriteFileAtomic(settingsPath, data, sizeof data);
}

bool isModeAvailable(int width, int height)
{
    int w, h, b;
    for (int i = 0; Sys_EnumDisplayModes(i, &w, &h, &b); i++)
        if (w == width && h == height)
            return true;
    return false;
}

int nextAvailableMode(int index, bool (*available)(int width, int height))
{
    for (int step = 1; step <= 5; step++) {
        int candidate = ((index + step) % 5 + 5) % 5;
        if (available(modeWidth[candidate], modeHeight[candidate]))
            return candidate;
    }
    return index;
}
