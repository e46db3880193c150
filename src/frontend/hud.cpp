// The race overlay (rev dial and needle, bend arrow, top band, nitro gauge, speed, lap and place)
// and the results screen that books the race and returns to the menus.
#include "audio/audio.h"
#include "common/common.h"
#include "content/content.h"
#include "effects/effects.h"
#include "frontend/frontend.h"
#include "race/car.h"
#include "race/race.h"
#include "render/font.h"
#include "render/images.h"
#include "render/overlay.h"
#include "render/render.h"
#include "render/texture_names.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kDegrees = 57.29578f;

// The arrow's shown angle, turning towards the bend at a steady rate.
float arrowAngle;

void drawRevCounter(float rpm)
{
    OverlayQuad dial;
    dial.x0 = 606;
    dial.y0 = -6;
    dial.x1 = 806;
    dial.y1 = 194;
    drawMaskedQuad(dial, textureSet[TEX_HUD_DIAL_MASK], textureSet[TEX_HUD_DIAL_LIGHT]);
    OverlayQuad needle;
    needle.x0 = -11;
    needle.y0 = -6;
    needle.x1 = 11;
    needle.y1 = 104;
    needle.originX = 706;
    needle.originY = 94;
    needle.angle = revNeedleAngle(rpm);
    drawMaskedQuad(needle, textureSet[TEX_HUD_NEEDLE_MASK], textureSet[TEX_HUD_NEEDLE_LIGHT]);
}

void drawBendArrow()
{
    BendArrow arrow = bendArrow();
    if (!arrow.shown)
        return;
    float target = std::clamp(arrow.turn * kDegrees, -90.0f, 90.0f);
    float step = 1.5f * frameTime;
    if (arrowAngle > target)
        arrowAngle -= step;
    if (arrowAngle < target)
        arrowAngle += step;
    OverlayQuad q;
    q.texture = textureSet[TEX_HUD_BEND_ARROW];
    q.blend = OVERLAY_ADD;
    float half = 45 + arrow.margin;
    q.x0 = q.y0 = -half;
    q.x1 = q.y1 = half;
    q.originX = 400;
    q.originY = 542;
    q.angle = arrowAngle;
    q.color[0] = arrow.red;
    q.color[1] = arrow.green;
    q.color[2] = 0;
    q.color[3] = arrow.alpha;
    drawOverlayQuad(q);
}

void drawNitroGauge(float nitro)
{
    float f = std::min(1.0f, nitro * 0.01f);
    OverlayQuad fill;
    fill.texture = tgaSet[TGA_HUD_NITRO_FILL].texture;
    fill.x0 = -5;
    fill.y0 = 0;
    fill.x1 = 195;
    fill.y1 = 200 * f;
    fill.t1 = f;
    drawMostlyClearQuad(fill);
    OverlayQuad frame = fill;
    frame.texture = tgaSet[TGA_HUD_NITRO_FRAME].texture;
    frame.y1 = 200;
    frame.t1 = 1;
    drawMostlyClearQuad(frame);
}

} // namespace

float revNeedleAngle(float rpm)
{
    return 152.5f - std::clamp((rpm - 1000) * 0.035f, 0.0f, 243.0f);
}

int shownLap(int lap)
{
    return lap < 2 ? 1 : lap;
}

BendArrow bendArrow()
{
    BendArrow a = {};
    const Car &player = cars[0];
    if (countdownActive || raceFinished || waypointCount <= 0 || !player.body)
        return a;
    int c = std::clamp(player.progressWaypoint, 0, waypointCount - 1);
    int n = (c + 1) % waypointCount, p = (c + waypointCount - 1) % waypointCount;
    auto at = [](int i) { return PhysVec3{waypoints[i].x, waypoints[i].y, waypoints[i].z}; };
    PhysVec3 route = normalized(at(c) - at(p)), next = normalized(at(n) - at(c));
    PhysVec3 travel = normalized(bodyLinearVelocity(player.body));
    a.turn = horizontalAngle(route, next);
    // Travelling the wrong way (or sideways) the arrow would point nowhere useful.
    if (std::fabs(horizontalAngle(route, travel)) >= 45 / kDegrees)
        return a;
    a.shown = true;
    float d = length(at(c) - bodyPosition(player.body));
    a.alpha = (30000 - d * d) * 0.0000333f;
    // Sharp bends make the arrow pulse with the checkpoint marker.
    a.margin = std::fabs(a.turn) > 0.785f ? 8 * std::sin(markerPhase * 0.05f) : 1;
    // Green for gentle bends, turning red as the bend sharpens.
    a.red = std::fabs(a.turn * 0.637f);
    a.green = a.alpha - a.red;
    return a;
}

void drawHud()
{
    const Car &player = cars[0];
    beginOverlay();
    drawComposite();
    drawRevCounter(player.rpm);
    drawBendArrow();
    OverlayQuad band;
    band.x0 = 0;
    band.y0 = 474;
    band.x1 = 800;
    band.y1 = 602;
    drawMaskedQuad(band, textureSet[TEX_HUD_BAND_MASK], textureSet[TEX_HUD_BAND_LIGHT]);
    drawNitroGauge(player.nitro);
    endOverlay();

    beginOverlayText();
    // The blanks inside these formats place the numbers after their labels.
    printLarge(737, 32, 1, "%2i", int(playerSpeed * 10.5f));
    printSmall(742, 12, 1, "km/h");
    printLarge(60, 566, 1, "Lap   /");
    printLarge(60, 566, 0, "    %2i", shownLap(player.lap));
    printLarge(60, 566, 0, "      %2i", lapCount);
    printLarge(610, 566, 1, "Place  /");
    printLarge(610, 566, 0, "     %2i", playerPlace);
    printLarge(610, 566, 0, "       %2i", NUM_CARS);
    endOverlayText();
}

void drawResults()
{
    if (overlayTimer > 1.0f) {
        // Booked once, in the first frame the result is shown, and saved at once: a result won
        // is kept even if the game never reaches its orderly exit.
        if (awardPending) {
            bookRaceResult();
            writeCareer();
        }
        if (framesDrawn()) {
            beginOverlayText();
            printLarge(280, 360, 1, "You take %1i place!", playerPlace);
            if (newCarOpened)
                printLarge(230, 320, 1, "New car is open!");
            endOverlayText();
        }
    }
    overlayTimer += frameTime * 0.01f;
    if (overlayTimer <= 10.0f)
        return;
    if (careerRace) {
        gameState = STATE_CAR_SELECT;
        selectedRace = career.racesOpen;
    } else {
        gameState = STATE_MAIN_MENU;
        selectedCar = 0;
        selectedRace = 1;
    }
    awardPending = false;
    careerRace = false;
    leaveRace();
    if (soundOn)
        sampleSlots[SAMPLE_MENU1].play();
    menuClickReset();
}
