// Loading steps not written yet.
#include "content/content.h"

void drawLoadingScreen(int) {}
void loadCarModels() {}
void loadGarageLights() {}
