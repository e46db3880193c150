// The start-up loading screen.
#pragma once

// image 0: the first picture; 1: the second picture with "Loading...".
void drawLoadingScreen(int image);
