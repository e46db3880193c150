// The effects of every car in the race frame, and the marker at the player's next checkpoint.
// Not drawn yet.
#include "scene/scene.h"

void drawCarEffects() {}
void drawCheckpointMarker() {}
