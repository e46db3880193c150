// The options screen: display resolution, colour depth and depth buffer for the next start, and
// the sound and music switches, which act at once.
#include "audio/audio.h"
#include "common/common.h"
#include "frontend/frontend.h"
#include "frontend/frontend_local.h"
#include "render/font.h"
#include "render/images.h"
#include "render/texture_names.h"

#include <cmath>
#include <cstdio>

namespace {

struct OptionRow {
    const char *label;
    int y; // of the label on the screen; the row takes clicks just around it
};
const OptionRow optionRows[OPTION_ROWS] = {
    {"Display resolution", 450}, {"Color depth", 400}, {"Depth buffer", 350}, {"Sound", 250}, {"Music", 200},
};

void optionValue(int row, char (&out)[32])
{
    int width, height;
    switch (row) {
    case OPTION_RESOLUTION:
        screenSizeFromIndex(optionsResolutionIndex, &width, &height);
        std::snprintf(out, sizeof out, "%ix%i", width, height);
        break;
    case OPTION_COLOR_DEPTH: std::snprintf(out, sizeof out, "%i bit", colorBits); break;
    case OPTION_DEPTH_BUFFER: std::snprintf(out, sizeof out, "%i bit", depthBits); break;
    case OPTION_SOUND: std::snprintf(out, sizeof out, "%s", soundOn ? "Yes" : "No"); break;
    default: std::snprintf(out, sizeof out, "%s", musicOn ? "Yes" : "No"); break;
    }
}

void switchSound()
{
    soundOn = !soundOn;
    // Loops that are running (engines, wind, nitro) would go on sounding without this.
    if (!soundOn)
        for (int s = 0; s < SAMPLE_COUNT; s++)
            if (sampleTable[s].loop)
                sampleSlots[s].stop();
}

void switchMusic()
{
    musicOn = !musicOn;
    if (!musicOn) {
        menuMusic.rewind();
    } else {
        menuMusic.play();
        musicFade = -1.5f;
    }
}

} // namespace

MenuArea optionRowArea(int row)
{
    int y = 600 - optionRows[row].y;
    return {291, 609, y - 19, y + 9};
}

void drawOptionsScreen()
{
    drawOverlayQuad(menuQuad(tgaSet[TGA_MENU_OPTIONS].texture, 433.5f, 300, 233.5f, 250));
    if (optionsAccepted) {
        textAlpha = std::sin(menuClock * 0.7f) + 1.0f;
        printSmall(175, 70, 1, "Changes will be applied ");
        printSmall(175, 45, 1, "after reload the game.");
    }
    textAlpha = screenAlpha;
    for (int row = 0; row < OPTION_ROWS; row++) {
        char value[32];
        optionValue(row, value);
        printSmall(300, optionRows[row].y, 1, "%s", optionRows[row].label);
        printSmall(505, optionRows[row].y, 1, "%s", value);
    }
}

bool optionsClick(int x, int y)
{
    int row = 0;
    while (row < OPTION_ROWS && !optionRowArea(row).contains(x, y))
        row++;
    if (row == OPTION_ROWS)
        return false;
    // The display rows click; the sound and music rows are heard by what they switch.
    if (row <= OPTION_DEPTH_BUFFER)
        playMenuSample(SAMPLE_MENU2);
    menuClickReset();
    switch (row) {
    case OPTION_RESOLUTION: optionsResolutionIndex = nextAvailableMode(optionsResolutionIndex, isModeAvailable); break;
    case OPTION_COLOR_DEPTH: colorBits = colorBits == 16 ? 32 : 16; break;
    case OPTION_DEPTH_BUFFER: depthBits = depthBits == 16 ? 24 : 16; break;
    case OPTION_SOUND: switchSound(); break;
    default: switchMusic(); break;
    }
    return true;
}
