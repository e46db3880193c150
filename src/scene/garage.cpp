// The garage behind the menus: the selected car in the scrolling tunnel. Not drawn yet: the menus
// stand on the clear colour.
#include "scene/scene.h"

void drawGarageScene() {}
