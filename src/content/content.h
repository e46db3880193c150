// Content loading: tracks with their models, lights, waypoints and race world; the car models;
// the start-up loading screen.
#pragma once

void drawLoadingScreen(int image);
void loadCarModels();
// The garage's lamps become the light list while no track is loaded.
void loadGarageLights();
