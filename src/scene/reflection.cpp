// The reflection picture the car paint mixes in: 256 x 256 from the player's car towards the
// view point. Not drawn yet: the picture is whatever reflectionTexture holds.
#include "scene/scene.h"

void renderReflection(bool) {}
