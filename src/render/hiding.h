// What the city's buildings hide from the eye. The boxes inside the buildings are drawn into a
// coarse picture of the current view: each of its pixels holds the farthest depth of a box that
// covers the pixel whole, or nothing. A part of a model whose box lies, everywhere it could show,
// behind what the picture holds is hidden by a building and need not be drawn: the software
// renderer would rasterise and depth-test every one of its pixels only to throw them away.
#pragma once
#include <vector>

#include "formats/buildings.h"

class HidingPicture {
public:
    // Draws the boxes as the current projection and modelview see them (in the space they are
    // given in, which is the space hides() is asked about).
    void draw(const std::vector<BuildingBox> &boxes);
    // Whether everything of the box from lo to hi lies behind the boxes last drawn.
    bool hides(const float lo[3], const float hi[3]) const;

    // The picture's size: a pixel of it is 5 of the race's 800 x 600.
    static constexpr int kWidth = 160, kHeight = 120;

private:
    static constexpr int kTile = 8, kTilesAcross = kWidth / kTile, kTilesDown = kHeight / kTile;
    float clip[16] = {};
    bool drawn = false;
    // For each pixel the farthest distance ahead of the nearest box covering it whole; a large
    // number where none does. The tiles keep the largest of their pixels', to pass over a
    // tile at once.
    std::vector<float> farthest = std::vector<float>(size_t(kWidth * kHeight));
    std::vector<float> tiles = std::vector<float>(size_t(kTilesAcross * kTilesDown));

    bool project(const float p[3], float *x, float *y, float *ahead) const;
};
