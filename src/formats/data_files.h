// The game's two data files: the settings (".\base\menu.inf", 6 words) and the career
// ("base/career.inf", 178 words), little-endian 32-bit integers with no header. Bytes in, plain
// records out: a word no game could have written is refused on its own, so one damaged word
// never reaches a window size, a price or a race list.
#pragma once
#include <cstddef>

// What a decode found wrong with a file image; 0 for a sound one.
enum : unsigned {
    DATA_FILE_SHORT = 1,        // fewer bytes than the layout: nothing was taken from it
    DATA_FILE_OUT_OF_RANGE = 2, // some words were refused and their fields kept their defaults
};

// ---- reading and saving either file ----
// Reads the file into data (capacity: the layout's size plus one byte, so a file that has grown
// shows up as damaged too); the bytes read, or -1 when there is no file.
long readDataFile(const char *gamePath, unsigned char *data, size_t layoutSize);
// Says on standard error what was wrong with a file as decoded: a size other than the layout's
// (then `whenShort` says what the game does instead) or values refused (`whenOutOfRange`). No file
// at all is a first start and gives no line.
void reportDataFile(const char *gamePath, long bytesRead, size_t layoutSize, unsigned found, const char *whenShort,
                    const char *whenOutOfRange);
// Saves the whole file or nothing; a file that cannot be written (a read-only folder, a full disk)
// keeps its old contents, and a line on standard error says what was not saved.
bool saveDataFile(const char *gamePath, const unsigned char *data, size_t size);

// ---- settings ----
constexpr size_t kSettingsFileSize = 24;
struct SettingsRecord {
    int resolutionIndex = 1; // 0..4: 640x480, 800x600, 1024x768, 1280x1024, 1600x1200
    int colorBits = 32;      // 16 or 32
    int depthBits = 24;      // 16 or 24
    bool soundOn = true;
    bool musicOn = true;
    int mouseSensitivity = 0; // kept and written back
};
// Reads a file image into *out, which starts from the defaults above.
unsigned decodeSettingsFile(const unsigned char *data, size_t size, SettingsRecord *out);
void encodeSettingsFile(const SettingsRecord &in, unsigned char out[kSettingsFileSize]);

// ---- career ----
constexpr size_t kCareerFileSize = 712;
struct Career {
    bool carOpen[18];
    int tuningBought[18][6]; // 1 bought, 0 not
    struct {
        bool flag; // carried along, used for nothing
        int bestPlace; // 0 until the first podium, then its place 1..3
    } raceSlot[24];
    int racesOpen; // 1..15
    int careerPoints;
    int cash;
    int careerStarted;
};
// Points and cash grow by a few hundred a race: a value past this is a damaged word, and keeping
// below it keeps every sum the career makes from overflowing.
constexpr int kCareerValueLimit = 100000000;
// Reads a file image into *out. A short image leaves *out as it was (the caller decides what a
// career without a file is); refused words leave a playable value in their field.
unsigned decodeCareerFile(const unsigned char *data, size_t size, Career *out);
void encodeCareerFile(const Career &in, unsigned char out[kCareerFileSize]);
