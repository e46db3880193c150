// The twelve car bodies and their wheels, loaded once at the end of the start-up loading screen.
#include "content/content.h"
#include "render/ms3d.h"

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
