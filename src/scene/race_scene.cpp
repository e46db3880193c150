// The race frame's 3D scene: the chase camera, the four cars with their wheels and the track,
// lit per pixel by the nearest street lights, then the night sky, the car effects, the
// checkpoint marker and the glows round the lamps.
#include "common/common.h"
#include "content/content.h"
#include "race/car.h"
#include "race/car_table.h"
#include "race/race.h"
#include "render/billboards.h"
#include "render/hiding.h"
#include "render/lights.h"
#include "render/ms3d.h"
#include "render/pass_times.h"
#include "render/render.h"
#include "render/texture_names.h"
#include "render/view_volume.h"
#include "scene/scene.h"

#include <algorithm>

float axleOffset(int model, bool front)
{
    return carStats[model][front ? 3 : 4] * kAxleScale;
}

Mat4 wheelPlacement(const Mat4 &body, float along, float drop, float side, float steerDegrees, float spinDegrees)
{
    Mat4 place = mat4Multiply(body, mat4Translation(along, -drop, side));
    if (steerDegrees != 0)
        place = mat4Multiply(place, mat4Rotation(steerDegrees, 0, 1, 0));
    place = mat4Multiply(place, mat4Rotation(spinDegrees, 0, 0, 1));
    // The left wheels are the right ones turned over, so their rims face outwards.
    if (side < 0)
        place = mat4Multiply(place, mat4Rotation(-180, 1, 0, 0));
    return place;
}

void drawCars()
{
    for (const Car &car : cars) {
        if (!car.body)
            continue;
        int model = car.model >= 0 && car.model < kCarModels ? car.model : 0;
        float m[16];
        bodyTransform(car.body, m); // rotation in the upper 3x3, position in the last column
        const Mat4 body = mat4FromArray(m);
        // The body first: the wheels are half inside it, and what it hides of them is then
        // turned away by the depth test before it is lit.
        setPaintReflection(true);
        const Mat4 raised = mat4Multiply(body, mat4Translation(0, 0.15f, 0));
        drawLitModel(carBodyModels[model], &raised);
        setPaintReflection(false);
        for (int wheel = 0; wheel < 4; wheel++) {
            bool isFront = wheel >= 2;
            float along = isFront ? axleOffset(model, true) : -axleOffset(model, false);
            float drop = car.wheelCompression[isFront ? 0 : 2] - 0.45f;
            float steer = isFront ? car.steer * 57.324f : 0.0f;
            const Mat4 place =
                wheelPlacement(body, along, drop, wheel % 2 == 0 ? 1.0f : -1.0f, steer, car.wheelSpin[isFront ? 0 : 2]);
            drawLitModel(carWheelModels[model], &place);
        }
    }
}

void drawLightGlows(const float viewer[3])
{
    // Glows shine through the fog: a lamp is seen from afar.
    beginBillboards(textureSet[TEX_LAMP_GLOW], BILLBOARD_ADD, false);
    int count = std::min(numLevelLights, kMaxGlows);
    for (int i = 0; i < count; i++) {
        const LevelLight &l = levelLights[i];
        const float color[4] = {l.color[0], l.color[1], l.color[2], 0.4f};
        drawBillboard(viewer, l.position, kGlowSize, color);
    }
    endBillboards();
}

void drawRaceScene()
{
    clearToNightSky();
    beginLitScene();
    applyCamera(cameraEye, cameraTarget);
    placeFixedLight(200, 600, 0);
    selectLights(viewPoint, viewDir, false);
    setLightMaterial();
    markPassEnd(PASS_SCENE);
    drawCars();
    markPassEnd(PASS_CARS);
    // What the buildings hide of the track, and of the sky below, is left undrawn (the cars hide
    // too little to count).
    static HidingPicture hiding;
    hiding.draw(levelBuildings);
    drawLitModelInside(visualModel, currentViewVolume(cameraEye, 0), &hiding);
    endLitScene();
    markPassEnd(PASS_TRACK);

    // Drawn after the solid scene, so the depth test leaves only the pixels still open to them.
    beginUnlit();
    drawSkyDome(cameraEye, frameTime, &hiding);
    endUnlit();
    markPassEnd(PASS_SKY);
    drawCarEffects();
    drawCheckpointMarker();
    markPassEnd(PASS_EFFECTS);
    drawLightGlows(cameraEye);
    markPassEnd(PASS_GLOWS);
}
