// The reflection picture the car paint mixes in: 256 x 256 from the player's car towards the
// view point, so the paint shows the street behind the camera.
#include "content/content.h"
#include "race/car.h"
#include "race/race.h"
#include "render/lights.h"
#include "render/ms3d.h"
#include "render/render.h"
#include "render/view_volume.h"
#include "scene/scene.h"

namespace {

// How far the mirrored street reaches. The picture is small and soft on the paint: past a few
// blocks the buildings are a few texels, and the sky box fills in behind.
constexpr float kReflectionReach = 160.0f;

} // namespace

void renderReflection(bool inRace)
{
    beginReflectionPicture();
    if (inRace && cars[0].body) {
        PhysVec3 p = bodyPosition(cars[0].body);
        const float eye[3] = {p.x, p.y, p.z};
        float dx = viewPoint[0] - eye[0], dy = viewPoint[1] - eye[1], dz = viewPoint[2] - eye[2];
        // Before the camera has first moved there is no direction to look in.
        if (dx * dx + dy * dy + dz * dz > 1e-4f) {
            applyCamera(eye, viewPoint);
            beginLitScene();
            setLightMaterial();
            drawLitModelInside(visualModel, currentViewVolume(eye, kReflectionReach));
            endLitScene();
            beginUnlit();
            drawSkyBox(0, -1000, 0, 8000, 3000, 8000);
            drawLightGlows(eye);
            endUnlit();
        }
    }
    endReflectionPicture();
}
