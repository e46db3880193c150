// A turntable for one model, so content can be checked by eye outside a race. Needs the GL
// context that initGraphics set up.
#pragma once

// Loads the model with its textures; false when the file is refused.
bool viewModelLoad(const char *path);
// Clears the frame and draws the model fitted to the view, turned by angle degrees about y.
void viewModelDraw(int width, int height, float angle);
void viewModelRelease();
