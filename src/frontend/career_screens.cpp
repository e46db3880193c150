// The career's own screens beyond their lists: the selected car's value bars, the six tuning
// packets, and the race map with its marker.
#include "common/common.h"
#include "frontend/frontend.h"
#include "frontend/frontend_local.h"
#include "race/race.h"
#include "render/font.h"
#include "render/images.h"
#include "render/texture_names.h"

#include <algorithm>
#include <cmath>

int tuningState[6];
float raceSelectClock;

namespace {

float packetGlow[6];

// Where each career race lies on its map (odd races on one map, even races on the other).
const float racePlaces[15][2] = {{465, 250}, {320, 347}, {510, 425}, {440, 220}, {420, 390},
                                 {585, 347}, {360, 250}, {583, 272}, {450, 200}, {450, 370},
                                 {360, 280}, {610, 260}, {610, 370}, {320, 320}, {530, 300}};

// Three bars of the selected car with its packets: 0.4 shows empty, 1.0 full.
void drawCarValues()
{
    carValues(selectedCar);
    const float values[3] = {carPower, carMaxSpeed, carSuspension};
    const char *const labels[3] = {"Power", "Max speed", "Suspension"};
    textAlpha = screenAlpha;
    for (int k = 0; k < 3; k++) {
        float x = 190, y = 79.0f - 25.0f * float(k);
        printSmall(int(x), int(y) + 13, 1, "%s", labels[k]);
        float filled = std::max(0.0f, values[k] - 0.4f);
        OverlayQuad fill = menuQuad(tgaSet[TGA_MENU_BAR_FILL].texture, x, y, 0, 0);
        fill.x0 = 1;
        fill.x1 = filled * 416.0f;
        fill.y0 = 5;
        fill.y1 = 10;
        fill.s1 = filled * 1.65f;
        drawOverlayQuad(fill);
        OverlayQuad frame = menuQuad(tgaSet[TGA_MENU_BAR_FRAME].texture, x, y, 0, 0);
        frame.x1 = 250;
        frame.y0 = 4;
        frame.y1 = 11;
        drawOverlayQuad(frame);
    }
}

} // namespace

void packetCentre(int packet, float *x, float *y)
{
    *x = 330.0f + 135.0f * float(packet % 3);
    *y = packet < 3 ? 420.0f : 270.0f;
}

MenuArea packetArea(int packet)
{
    float x, y;
    packetCentre(packet, &x, &y);
    int cx = int(x), cy = 600 - int(y);
    return {cx - 49, cx + 49, cy - 49, cy + 49};
}

void drawCarSelectScreen() { drawCarValues(); }

void drawTuningScreen()
{
    packetStates(selectedCar, tuningState);
    static const float stateColor[3][3] = {{0.5f, 0.1f, 0.1f}, {1, 1, 1}, {0.5f, 0.5f, 0.5f}};
    for (int k = 0; k < 6; k++) {
        bool pointedAt = hoverFlags[HOVER_PACKET_1 + k] || packetFocus == k;
        packetGlow[k] = pointedAt ? std::min(1.0f, packetGlow[k] + frameTime * 0.08f)
                                  : std::max(0.0f, packetGlow[k] - frameTime * 0.02f);
        int state = tuningState[k];
        // A packet on offer pulses; the pointer grows it.
        float pulse = state == 1 ? std::sin(menuClock * 0.5f) : 0.0f;
        float scale = 1.0f + 0.05f * pulse + 0.1f * packetGlow[k];
        float x, y;
        packetCentre(k, &x, &y);
        OverlayQuad button = menuQuad(tgaSet[TGA_MENU_PACKET].texture, x, y, 50 * scale, 50 * scale);
        std::copy(stateColor[state], stateColor[state] + 3, button.color);
        drawOverlayQuad(button);
        if (state != 1) {
            int overlay = state == 0 ? TGA_MENU_PACKET_LOCKED : TGA_MENU_PACKET_BOUGHT;
            drawOverlayQuad(menuQuad(tgaSet[overlay].texture, x + 30, y + 30, 20, 20));
        }
        textAlpha = screenAlpha;
        printSmall(int(x) - 55, int(y) - 65, 1, "Tuning");
        printSmall(int(x) - 55, int(y) - 80, 1, "packet %d", k + 1);
    }
    drawCarValues();
}

void drawRaceSelectScreen()
{
    raceSelectClock += frameTime * 0.1f;
    int race = std::clamp(selectedRace, 1, 15);
    OverlayQuad map = menuQuad(textureSet[race % 2 ? TEX_MENU_MAP_ODD : TEX_MENU_MAP_EVEN], 475, 305, 225, 225);
    drawOverlayQuad(map);
    int best = career.raceSlot[race - 1].bestPlace;
    int marker = best >= 1 && best <= 3 ? TGA_MENU_MARKER_PODIUM : TGA_MENU_MARKER_PLAIN;
    float size = 10.0f * (1.0f + 0.25f * std::sin(raceSelectClock));
    drawOverlayQuad(menuQuad(tgaSet[marker].texture, racePlaces[race - 1][0], racePlaces[race - 1][1], size, size));
}
