// The race overlay (rev dial, bend arrow, nitro, speed, lap and place) and the results screen.
// Not drawn yet: the race picture shows alone.
#include "frontend/frontend.h"
#include "render/render.h"

void drawHud() { drawComposite(); }
void drawResults() {}
