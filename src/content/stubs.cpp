// Loading steps not written yet.
#include "content/content.h"

void loadCarModels() {}
void loadGarageLights() {}
