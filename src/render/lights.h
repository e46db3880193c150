// Street lights: the light list of the loaded track (or of the garage), the choice of the four
// that light each frame, and their transform into the space of each object drawn.
#pragma once

#include "render/gl_ext.h"
#include "render/matrix.h"

class HidingPicture;
class Model;
struct ViewVolume;

struct LevelLight {
    float position[3];
    float color[3];
    float direction[3]; // straight down for every street light
    int focus;          // spot exponent: kLampFocus for every street light
    int spare;
    float distanceSq;   // horizontal distance to the camera, squared; every frame
    float viewAngle;    // radians off the view direction; every frame
};

constexpr int kMaxLevelLights = 200;
extern LevelLight levelLights[kMaxLevelLights];
extern int numLevelLights;

// One light per baked triangle of a light-marker model: at its centroid, in its material's
// emissive colour. A model with more triangles than the list holds gives the first 200.
void extractLights(const Model &model);
// The lights of one frame: four street lights and the fixed fifth one, in world space, with the
// point they were chosen from.
struct LightSlots {
    float position[5][4];
    float color[5][3];
    float direction[4][3];
    float viewPoint[3];
};
// Sorts `lights` nearest to viewPoint first (horizontally) and fills the four slots with the
// nearest lights that lie within 1.7 radians of viewDir or within 40 units; slots left over are
// parked at (0, -10000, 0) and keep their other values. The fifth light is the fixed far one,
// blue and low while paused.
void chooseLights(LevelLight *lights, int count, const float viewPoint[3], const float viewDir[3], bool paused,
                  LightSlots *chosen);
// With lightProgram in use and the camera set: chooseLights over levelLights, uploaded with the
// colours (every lamp has the focus the light program is built with, kLampFocus).
void selectLights(const float viewPoint[3], const float viewDir[3], bool paused);
// Around every object drawn with the light program. placement is the object's own 4x4 matrix
// (column-major, as GL keeps it), null for the identity.
void prepareObjectLights(const float *placement);
void sendObjectLights();
// Sets the material uniforms every lit object of a frame shares.
void setLightMaterial();

// ---- drawing lit by the street lights ----
// Opens the lit 3D picture: blending, lighting and fog off, colour white, the light program on.
void beginLitScene();
// Back to the fixed-function state the overlays expect: program off, texturing and fog on.
void endLitScene();
// Draws a model lit by the chosen lights, placed by `placement` (null: where it stands). Each
// material's emissive colour lights its mesh from within.
void drawLitModel(Model *model, const Mat4 *placement);
// The same for a model standing where it is (the track), drawing only what lies in `volume`
// and, with `hiding`, what that does not hide.
void drawLitModelInside(Model *model, const ViewVolume &volume, const HidingPicture *hiding = nullptr);
// Car paint: a mirrored picture (0: the reflection picture) mixed in for the models drawn until
// it is switched off.
void setPaintReflection(bool on, GLuint picture = 0);
