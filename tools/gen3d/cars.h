// The twelve cars: body and wheel models with their liveries.
#pragma once
#include "mesh.h"
#include <string>

struct CarDesign {
    const char *kind;
    int paint[3], trim[3];
    int livery; // 0 plain, 1 twin stripes, 2 side band, 3 two-tone, 4 pinstripes, 5 roundels
    float hood, roof, deck;      // heights of bonnet, roof and boot lid (model space)
    float screen, roofFront, roofBack, bootStart; // x where the cabin shapes start and end
    float roofHalf;              // half width of the roof
    bool spoiler;
    int rimStyle;
};
extern const CarDesign carDesigns[12];

ModelMesh buildCarBody(int model);  // model 0..11
ModelMesh buildCarWheel(int model);
bool writeCars(const std::string &baseDir, const std::string &pictureDir);
