// The garage behind the menus: the selected car in the scrolling tunnel, trembling slightly as
// if its engine ran, its wheels rolling while the tunnel scrolls past.
#include "common/common.h"
#include "content/content.h"
#include "race/car.h"
#include "race/race.h"
#include "render/lights.h"
#include "render/ms3d.h"
#include "render/render.h"
#include "scene/scene.h"

#include <cmath>
#include <cstdlib>

namespace {

// No camera moves the garage: the car stands at this point in eye space, looked at along -z.
const float kGaragePoint[3] = {0.15f, -0.25f, -8.0f};
const float kGarageViewDir[3] = {0, 0, -1};

float shakePhase[2];

} // namespace

void drawGarageScene(float clock)
{
    shakePhase[0] += float(std::rand() % 25) * 0.05f * frameTime;
    shakePhase[1] += float(std::rand() % 45) * 0.05f * frameTime;
    renderReflection(false);

    beginUnlit();
    drawGarageTunnel(kGaragePoint, clock);
    // The tunnel alone is the picture the car's paint mirrors.
    copySceneTexture();

    const float at[3] = {kGaragePoint[0] + std::sin(shakePhase[0]) * 0.0075f,
                         kGaragePoint[1] + std::sin(shakePhase[1]) * 0.0045f, kGaragePoint[2]};
    int model = selectedCar >= 0 && selectedCar < kCarModels ? selectedCar : 0;
    holdCarTextures(model); // a race may have let its textures go
    beginLitScene();
    selectLights(kGaragePoint, kGarageViewDir, false);
    setLightMaterial();
    const Mat4 car = mat4Multiply(mat4Translation(at[0], at[1], at[2]), mat4Rotation(-65, 0, 1, 0));
    setPaintReflection(true, sceneTexture);
    drawLitModel(carBodyModels[model], &car);
    setPaintReflection(false);
    for (int wheel = 0; wheel < 4; wheel++) {
        bool isFront = wheel >= 2;
        float along = isFront ? axleOffset(model, true) : -axleOffset(model, false);
        const Mat4 place = wheelPlacement(car, along, 0.48f, wheel % 2 == 0 ? 1.0f : -1.0f, 0, clock);
        drawLitModel(carWheelModels[model], &place);
    }
    endLitScene();

    postProcessFrame();
}
