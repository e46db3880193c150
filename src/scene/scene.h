// The scenes the game draws in 3D: the race as the chase camera sees it, with the reflection
// picture the car paint mirrors, and the garage behind the menus. The scene reads the race; the
// GL primitives it draws with know no game state.
#pragma once

// The reflection picture of this frame (from the player's car in a race, the clear colour in
// the garage), left in reflectionTexture.
void renderReflection(bool inRace);
// The race frame's 3D picture: camera, lights, cars and track.
void drawRaceScene();
void drawCars();
// The selected car in the garage tunnel behind every menu screen.
void drawGarageScene();

// Every car's dust, exhaust smoke and fire, advanced by the frame and drawn at their points on
// the car; the marker at the player's next checkpoint.
void drawCarEffects();
void drawCheckpointMarker();
