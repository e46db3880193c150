// Post-processing: the finished frame is copied into sceneTexture, reduced into the blur targets
// by the HDR and blur programs, and laid back over the picture as its glow. Not drawn yet: the
// frame reaches the screen as it was drawn.
#include "render/render.h"

void copySceneTexture() {}
void postProcessPass(int, int) {}
void drawComposite() {}
