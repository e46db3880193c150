// The scenes the game draws in 3D: the race as the chase camera sees it, with the reflection
// picture the car paint mirrors, and the garage behind the menus. The scene reads the race; the
// GL primitives it draws with know no game state.
#pragma once
#include "render/matrix.h"

// The reflection picture of this frame, left in reflectionTexture: in a race the street behind
// the camera as seen from the player's car (track, sky box, lamp glows), mirrored; in the
// garage the clear colour.
void renderReflection(bool inRace);
// The race frame's 3D picture in its order: camera, lights, cars, track, sky, car effects,
// checkpoint marker, lamp glows. Post-processing follows in the frame dispatch.
void drawRaceScene();
void drawCars();
// A car model's axle offset along the car, front or rear, from the car table.
float axleOffset(int model, bool front);
// Where one wheel of a car placed by `body` stands: `along` the car, `drop` below the body's
// axis, on side +1 (right, +z) or -1, turned by `steerDegrees` about the vertical and rolled by
// `spinDegrees`. A wheel model is modelled once for the right side: the left wheels are turned
// over.
Mat4 wheelPlacement(const Mat4 &body, float along, float drop, float side, float steerDegrees, float spinDegrees);
// Glows round the nearest street lamps (levelLights as the light selection sorted them), at
// most kMaxGlows of them, facing `viewer`.
constexpr int kMaxGlows = 30;
constexpr float kGlowSize = 2.0f;
void drawLightGlows(const float viewer[3]);
// The selected car in the garage tunnel behind every menu screen but the pause menu, its
// wheels rolling and the tunnel scrolling with `clock`; ends with the frame copied and
// post-processed, ready for the composite.
void drawGarageScene(float clock);

// Every car's dust, exhaust smoke and fire, advanced by the frame and drawn at their points on
// the car: the smoke and dust sorted by size (the large at half size; see beginSizedRounds),
// then the fire over them; the marker at the player's next checkpoint.
void drawCarEffects();
void drawCheckpointMarker();
