// The settings and career files, word by word.
#include "formats/data_files.h"
#include "platform/sys_files.h"

#include <algorithm>
#include <string>

unsigned decodeSettingsFile(const unsigned char *data, size_t size, SettingsRecord *out)
{
    *out = SettingsRecord();
    if (!data || size < kSettingsFileSize)
        return DATA_FILE_SHORT;
    unsigned found = 0;
    // A damaged value would open a window of no size or ask for a format no card has; such a
    // field keeps its default and the others are still honoured.
    auto take = [&found](int *field, int value, bool valid) {
        if (valid)
            *field = value;
        else
            found |= DATA_FILE_OUT_OF_RANGE;
    };
    int index = Sys_GetWord(data);
    take(&out->resolutionIndex, index, index >= 0 && index < 5);
    int bits = Sys_GetWord(data + 4);
    take(&out->colorBits, bits, bits == 16 || bits == 32);
    int depth = Sys_GetWord(data + 8);
    take(&out->depthBits, depth, depth == 16 || depth == 24);
    out->soundOn = Sys_GetWord(data + 12) != 0;
    out->musicOn = Sys_GetWord(data + 16) != 0;
    out->mouseSensitivity = Sys_GetWord(data + 20);
    return found;
}

void encodeSettingsFile(const SettingsRecord &in, unsigned char out[kSettingsFileSize])
{
    const int words[6] = {in.resolutionIndex, in.colorBits, in.depthBits, in.soundOn ? 1 : 0, in.musicOn ? 1 : 0,
                          in.mouseSensitivity};
    for (int i = 0; i < 6; i++)
        Sys_PutWord(out + 4 * i, words[i]);
}

long readDataFile(const char *gamePath, unsigned char *data, size_t layoutSize)
{
    return Sys_ReadFile(gamePath, data, layoutSize + 1);
}

void reportDataFile(const char *gamePath, long bytesRead, size_t layoutSize, unsigned found, const char *whenShort,
                    const char *whenOutOfRange)
{
    std::string path = Sys_NativePath(gamePath);
    if (bytesRead >= 0 && size_t(bytesRead) != layoutSize)
        Sys_Report("%s is damaged (%ld bytes, %zu expected): %s", path.c_str(), bytesRead, layoutSize,
                   found & DATA_FILE_SHORT ? whenShort : "the extra bytes are dropped");
    else if (found & DATA_FILE_OUT_OF_RANGE)
        Sys_Report("%s holds values out of range: %s", path.c_str(), whenOutOfRange);
}

bool saveDataFile(const char *gamePath, const unsigned char *data, size_t size)
{
    if (Sys_WriteFileAtomic(gamePath, data, size))
        return true;
    Sys_Report("cannot save %s", Sys_NativePath(gamePath).c_str());
    return false;
}

static const int CAREER_WORDS = int(kCareerFileSize / 4);

unsigned decodeCareerFile(const unsigned char *data, size_t size, Career *out)
{
    if (!data || size < kCareerFileSize)
        return DATA_FILE_SHORT;
    int w[CAREER_WORDS];
    for (int i = 0; i < CAREER_WORDS; i++)
        w[i] = Sys_GetWord(data + 4 * i);
    unsigned found = 0;
    auto within = [&found](int value, int low, int high, int otherwise) {
        if (value >= low && value <= high)
            return value;
        found |= DATA_FILE_OUT_OF_RANGE;
        return otherwise;
    };
    Career &c = *out;
    for (int car = 0; car < 18; car++)
        c.carOpen[car] = w[car] != 0;
    for (int car = 0; car < 18; car++)
        for (int k = 0; k < 6; k++)
            c.tuningBought[car][k] = w[18 + 6 * car + k] != 0 ? 1 : 0;
    for (int r = 0; r < 24; r++) {
        c.raceSlot[r].flag = w[126 + 2 * r] != 0;
        // A place outside 0..4 cannot come from a race; treat it as never finished.
        c.raceSlot[r].bestPlace = within(w[127 + 2 * r], 0, 4, 0);
    }
    // The race list shows races 1..racesOpen: keep it to the races that exist.
    c.racesOpen = within(w[174], 1, 15, std::clamp(w[174], 1, 15));
    c.careerPoints = within(w[175], 0, kCareerValueLimit, std::clamp(w[175], 0, kCareerValueLimit));
    c.cash = within(w[176], 0, kCareerValueLimit, std::clamp(w[176], 0, kCareerValueLimit));
    c.careerStarted = w[177];
    return found;
}

void encodeCareerFile(const Career &c, unsigned char out[kCareerFileSize])
{
    int w[CAREER_WORDS] = {};
    for (int car = 0; car < 18; car++)
        w[car] = c.carOpen[car] ? 1 : 0;
    for (int car = 0; car < 18; car++)
        for (int k = 0; k < 6; k++)
            w[18 + 6 * car + k] = c.tuningBought[car][k];
    for (int r = 0; r < 24; r++) {
        w[126 + 2 * r] = c.raceSlot[r].flag ? 1 : 0;
        w[127 + 2 * r] = c.raceSlot[r].bestPlace;
    }
    w[174] = c.racesOpen;
    w[175] = c.careerPoints;
    w[176] = c.cash;
    w[177] = c.careerStarted;
    for (int i = 0; i < CAREER_WORDS; i++)
        Sys_PutWord(out + 4 * i, w[i]);
}
