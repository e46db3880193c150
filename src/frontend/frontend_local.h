// What the front end's menu files share among themselves: quads placed the menus' way, the menu
// sounds, and the screens' own drawing.
#pragma once
#include "render/overlay.h"

// A quad of half size (halfWidth, halfHeight) about (x, y), white at the screen's fade, blended
// by its alpha; texture coordinates 0..1.
OverlayQuad menuQuad(GLuint texture, float x, float y, float halfWidth, float halfHeight);
// The menu clicks and hovers are heard only while sound is on.
void playMenuSample(int sample);

// The screens beyond the shared list, each drawn after the panel, the list and the title.
void drawCarSelectScreen();
void drawTuningScreen();
void drawRaceSelectScreen();
