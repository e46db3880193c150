// Settings files on arbitrary bytes: whatever the decoder takes must be a mode, depths and
// switches the game can open a window with, and must come back unchanged through a save and a load.
#include "formats/data_files.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t *file = new uint8_t[size]; // exactly the file's bytes, so a read past them is caught
    std::memcpy(file, data, size);
    SettingsRecord r;
    unsigned found = decodeSettingsFile(file, size, &r);
    delete[] file;
    bool ok = r.resolutionIndex >= 0 && r.resolutionIndex < 5 && (r.colorBits == 16 || r.colorBits == 32) &&
              (r.depthBits == 16 || r.depthBits == 24) && ((found & DATA_FILE_SHORT) != 0) == (size < kSettingsFileSize);
    unsigned char saved[kSettingsFileSize];
    encodeSettingsFile(r, saved);
    SettingsRecord again;
    ok = ok && decodeSettingsFile(saved, sizeof saved, &again) == 0 && again.resolutionIndex == r.resolutionIndex &&
         again.colorBits == r.colorBits && again.depthBits == r.depthBits && again.soundOn == r.soundOn &&
         again.musicOn == r.musicOn && again.mouseSensitivity == r.mouseSensitivity;
    if (!ok)
        std::abort();
    return 0;
}
