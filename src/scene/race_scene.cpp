// The race frame's 3D scene: the chase camera, the four cars with their wheels, and the track,
// lit per pixel by the nearest street lights.
#include "content/content.h"
#include "race/car.h"
#include "race/car_table.h"
#include "race/race.h"
#include "render/lights.h"
#include "render/ms3d.h"
#include "render/render.h"
#include "scene/scene.h"

void drawCars()
{
    for (const Car &car : cars) {
        if (!car.body)
            continue;
        int model = car.model >= 0 && car.model < kCarModels ? car.model : 0;
        float m[16];
        bodyTransform(car.body, m); // rotation in the upper 3x3, position in the last column
        const Mat4 body = mat4FromArray(m);
        float front = carStats[model][3] * kAxleScale;
        float rear = carStats[model][4] * kAxleScale;
        for (int wheel = 0; wheel < 4; wheel++) {
            bool isFront = wheel >= 2;
            float side = wheel % 2 == 0 ? 1.0f : -1.0f;
            float drop = car.wheelCompression[isFront ? 0 : 2] - 0.45f;
            float spin = car.wheelSpin[isFront ? 0 : 2];
            Mat4 place = mat4Multiply(body, mat4Translation(isFront ? front : -rear, -drop, side));
            if (isFront)
                place = mat4Multiply(place, mat4Rotation(car.steer * 57.324f, 0, 1, 0));
            place = mat4Multiply(place, mat4Rotation(spin, 0, 0, 1));
            // The left wheels are the right ones turned over, so their rims face outwards.
            if (side < 0)
                place = mat4Multiply(place, mat4Rotation(-180, 1, 0, 0));
            drawLitModel(carWheelModels[model], &place);
        }
        setPaintReflection(true);
        const Mat4 raised = mat4Multiply(body, mat4Translation(0, 0.15f, 0));
        drawLitModel(carBodyModels[model], &raised);
        setPaintReflection(false);
    }
}

void drawRaceScene()
{
    clearFrame();
    beginLitScene();
    applyCamera(cameraEye, cameraTarget);
    placeFixedLight(200, 600, 0);
    selectLights(viewPoint, viewDir, false);
    setLightMaterial();
    drawCars();
    drawLitModel(visualModel, nullptr);
    endLitScene();
    drawCarEffects();
    drawCheckpointMarker();
}
