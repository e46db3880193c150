// The night sky around a race: the flattened dome with its two drifting cloud layers, the skyline
// band around the track, and the cheaper sky box of the reflection picture. Not drawn yet: the
// sky stays the clear colour.
#include "render/render.h"

float skyScroll;

void drawSkyDome() {}
void drawHorizonBand(float, float, float, float, float, float) {}
void drawSkyBox(float, float, float, float, float, float) {}
