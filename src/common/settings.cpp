// The settings record and its 24-byte file of six little-endian words.
#include "common/common.h"
#include "formats/data_files.h"
#include "platform/sys.h"

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

static void takeSettings(const SettingsRecord &r)
{
    resolutionIndex = r.resolutionIndex;
    colorBits = r.colorBits;
    depthBits = r.depthBits;
    soundOn = r.soundOn;
    musicOn = r.musicOn;
    mouseSensitivity = r.mouseSensitivity;
    screenSizeFromIndex(resolutionIndex, &screenWidth, &screenHeight);
    optionsResolutionIndex = resolutionIndex;
}

void setDefaultSettings()
{
    takeSettings(SettingsRecord());
}

unsigned decodeSettings(const unsigned char *data, long size)
{
    SettingsRecord r;
    unsigned found = decodeSettingsFile(data, size < 0 ? 0 : size_t(size), &r);
    takeSettings(r);
    return found;
}

void encodeSettings(unsigned char out[24])
{
    SettingsRecord r;
    r.resolutionIndex = resolutionIndex;
    r.colorBits = colorBits;
    r.depthBits = depthBits;
    r.soundOn = soundOn;
    r.musicOn = musicOn;
    r.mouseSensitivity = mouseSensitivity;
    encodeSettingsFile(r, out);
}

void readSettings()
{
    unsigned char data[kSettingsFileSize + 1];
    long n = readDataFile(settingsPath, data, kSettingsFileSize);
    unsigned found = decodeSettings(data, n);
    reportDataFile(settingsPath, n, kSettingsFileSize, found, "the default settings are used",
                   "those settings are back to their defaults");
}

bool writeSettings()
{
    if (optionsAccepted && optionsResolutionIndex >= 0 && optionsResolutionIndex < 5)
        resolutionIndex = optionsResolutionIndex;
    unsigned char data[kSettingsFileSize];
    encodeSettings(data);
    return saveDataFile(settingsPath, data, sizeof data);
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
