// Functions of this subsystem that are not written yet live here until they are.
#include "render/render.h"

void renderReflection(bool) {}
void drawGarageScene() {}
void copySceneTexture() {}
void postProcessPass(int, int) {}
