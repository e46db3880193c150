// The twelve car bodies and their wheels, loaded once at the end of the start-up loading screen;
// their textures are let go while a race does not show them.
#include "content/content.h"
#include "render/ms3d.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

Ms3dModel *carBodyModels[kCarModels];
Ms3dModel *carWheelModels[kCarModels];

void loadCarModels()
{
    for (int n = 1; n <= kCarModels; n++) {
        char path[64];
        for (Ms3dModel **slot : {&carBodyModels[n - 1], &carWheelModels[n - 1]}) {
            delete *slot;
            *slot = new Ms3dModel;
            std::snprintf(path, sizeof path, "base/cars/%d/%s", n, slot == &carBodyModels[n - 1] ? "car.ms3d" : "wheel.ms3d");
            (*slot)->loadModelData(path);
            (*slot)->reloadTextures();
            (*slot)->solid = true; // closed bodies and wheels, seen from outside
        }
    }
}

void holdCarTextures(int model)
{
    if (model < 0 || model >= kCarModels)
        return;
    for (Ms3dModel *m : {carBodyModels[model], carWheelModels[model]})
        if (m && m->texturesReleased())
            m->reloadTextures();
}

void keepOnlyCarTextures(const int *models, int count)
{
    for (int n = 0; n < kCarModels; n++) {
        if (std::find(models, models + count, n) != models + count) {
            holdCarTextures(n);
            continue;
        }
        for (Ms3dModel *m : {carBodyModels[n], carWheelModels[n]})
            if (m)
                m->releaseTextures();
    }
}
