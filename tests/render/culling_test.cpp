// The race view draws only the cells of the track its camera can see and its buildings do not hide,
// and of those only the front faces. Whatever it leaves out must be invisible: from every few
// waypoints of every circuit, looking along the road, the depth picture drawn with the cells culled
// is exactly the one drawn with the whole track, so is the one with the cells the buildings hide
// left out (looking across the road into the city too), and leaving out the back faces changes only
// a few pixels on the edges of solids (where a back face and a front one meet edge to edge, the
// rasteriser may give the pixel to either), never a face a viewer sees. And where it leaves the
// street lamps out of the light program, their light must have been nothing a pixel shows. The cars
// and wheels are drawn without their back faces: from every side they must look the same, but for a
// few rim pixels where two parts of a body meet edge to edge and a back face filled the seam.
#include "formats/buildings.h"
#include "formats/waypoints.h"
#include "render/hiding.h"
#include "render/lights.h"
#include "render/ms3d.h"
#include "render/render.h"
#include "render/view_volume.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 160, kHeight = 120;

// The depth picture of one view: what `draw` leaves in front of the eye.
std::vector<float> depthPicture(const float eye[3], const float target[3], const std::function<void()> &draw)
{
    clearFrame();
    applyCamera(eye, target);
    draw();
    std::vector<float> depth(size_t(kWidth * kHeight));
    glReadPixels(0, 0, kWidth, kHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth;
}

std::string trackFile(int track, const char *name) { return "base/maps/" + std::to_string(track) + "/" + name; }

// Looks along a circuit from every `step`-th waypoint as a chase camera does: a little above the
// road, along it and a little down, with the race's own projection (the widest view, at speed,
// and its far plane). Gives the number of views.
int forEachView(int track, int step, const std::function<void(int, const float *, const float *)> &look)
{
    std::vector<Waypoint> points(kMaxWaypoints);
    int count = 0;
    if (!readWaypointFile(trackFile(track, "points/level.ai").c_str(), points.data(), kMaxWaypoints, &count))
        count = 0;
    EXPECT_GT(count, 0) << "track " << track;
    resizeScene(kWidth, kHeight, 100.0, 15000.0);
    int views = 0;
    for (int i = 0; i < count; i += step, views++) {
        const Waypoint &a = points[size_t(i)], &b = points[size_t((i + 1) % count)];
        const float eye[3] = {a.x, a.y + 1.0f, a.z};
        const float target[3] = {b.x, b.y - 2.0f, b.z};
        look(i, eye, target);
    }
    return views;
}

bool window()
{
    static bool opened = openTestWindow("culling", kWidth, kHeight);
    glEnable(GL_DEPTH_TEST);
    return opened;
}

// The track drawn without a program, so that the hiding picture can be handed to it.
int noProgram(const float *, const float *, GLint *emissiveUniform)
{
    *emissiveUniform = -1;
    return 0;
}

TEST(Culling, EveryCircuitLooksTheSameWithItsHiddenCellsAndBackFacesLeftOut)
{
    ASSERT_TRUE(window());
    HidingPicture hiding;
    size_t inView = 0, hidden = 0;
    for (int track = 1; track <= 20; track++) {
        auto model = std::make_unique<Ms3dModel>();
        ASSERT_TRUE(model->loadModelData(trackFile(track, "mapvisual.ms3d").c_str())) << "track " << track;
        std::vector<BuildingBox> buildings;
        ASSERT_TRUE(readBuildingsFile(trackFile(track, "buildings.dat").c_str(), buildings)) << "track " << track;
        int drawn = 0;
        int views = forEachView(track, 3, [&](int i, const float *eye, const float *target) {
            model->solid = false;
            std::vector<float> whole = depthPicture(eye, target, [&] { model->draw(); });
            auto inside = [&](bool solid) {
                model->solid = solid;
                return depthPicture(eye, target, [&] { model->drawInside(currentViewVolume(eye, 0)); });
            };
            std::vector<float> front = inside(true), culled = inside(false);
            size_t differ = 0, unlike = 0;
            for (size_t p = 0; p < whole.size(); p++) {
                differ += whole[p] != culled[p];
                // A thin board is drawn twice, once each way round; drawn two-sided, the nearer of
                // the two wins by a rounding of its depth.
                unlike += std::fabs(front[p] - culled[p]) > 2e-7f;
                drawn += whole[p] < 1.0f;
            }
            EXPECT_EQ(differ, 0u) << "track " << track << " waypoint " << i;
            EXPECT_LE(unlike, 12u) << "track " << track << " waypoint " << i << ": a face is missing from the front";
            // What the buildings hide, left out as the race leaves it out, along the road and
            // across it into the city: not a pixel changes.
            model->solid = true;
            const float across[3] = {eye[0] + (target[2] - eye[2]), target[1], eye[2] - (target[0] - eye[0])};
            for (const float *look : {target, across}) {
                std::vector<float> all = depthPicture(eye, look, [&] { model->drawInside(currentViewVolume(eye, 0)); });
                std::vector<float> seen = depthPicture(eye, look, [&] {
                    ViewVolume volume = currentViewVolume(eye, 0);
                    hiding.draw(buildings);
                    model->drawInside(volume, noProgram, &hiding);
                    for (const ModelCell &cell : model->cells)
                        if (boxMayShow(volume, cell.lo, cell.hi)) {
                            inView++;
                            hidden += hiding.hides(cell.lo, cell.hi);
                        }
                });
                EXPECT_EQ(all, seen) << "track " << track << " waypoint " << i << ": a building hid what shows";
            }
        });
        EXPECT_GT(views, 10) << "track " << track;
        EXPECT_GT(drawn, views * kWidth * kHeight / 4) << "track " << track << ": the views see too little road";
    }
    // And the buildings do hide much of what lies in view.
    EXPECT_GT(hidden, inView / 3) << hidden << " of " << inView << " cells in view hidden";
}

// The sky domes are not drawn below kSkyDomeCut: wherever a race view sees past the whole track,
// its ray must meet the outer cloud layer (the first to reach that low) above the cut, or the view
// would show a hole in the sky.
TEST(Culling, NoViewSeesTheSkyDomesBelowTheirCut)
{
    ASSERT_TRUE(window());
    const double R = kSkyDomeRadius, f = kSkyDomeFlattening;
    for (int track = 1; track <= 20; track++) {
        auto model = std::make_unique<Ms3dModel>();
        ASSERT_TRUE(model->loadModelData(trackFile(track, "mapvisual.ms3d").c_str())) << "track " << track;
        forEachView(track, 3, [&](int i, const float *eye, const float *target) {
            const float raised[3] = {eye[0], eye[1] + 2.5f, eye[2]}; // as high as the chase camera
            std::vector<float> depth = depthPicture(raised, target, [&] { model->draw(); });
            GLdouble modelview[16], projection[16];
            GLint viewport[4];
            glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
            glGetDoublev(GL_PROJECTION_MATRIX, projection);
            glGetIntegerv(GL_VIEWPORT, viewport);
            int below = 0;
            for (int y = 0; y < kHeight; y++)
                for (int x = 0; x < kWidth; x++) {
                    if (depth[size_t(y * kWidth + x)] < 1.0f)
                        continue;
                    double far[3];
                    gluUnProject(x + 0.5, y + 0.5, 1.0, modelview, projection, viewport, &far[0], &far[1], &far[2]);
                    // Unflattened, the dome is a sphere of radius R: the ray leaves it where
                    // |p + t d| = R, p and d with their heights divided by the flattening.
                    const double p[3] = {raised[0], raised[1] / f, raised[2]};
                    const double d[3] = {far[0] - raised[0], (far[1] - raised[1]) / f, far[2] - raised[2]};
                    double a = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
                    double b = 2 * (p[0] * d[0] + p[1] * d[1] + p[2] * d[2]);
                    double c = p[0] * p[0] + p[1] * p[1] + p[2] * p[2] - R * R;
                    double t = (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
                    below += (p[1] + t * d[1]) * f < kSkyDomeCut;
                }
            EXPECT_EQ(below, 0) << "track " << track << " waypoint " << i;
        });
    }
}

// Every cell with the whole light program, in the race's order (coplanar road markings win by
// order).
int wholeProgram(const float *, const float *, GLint *emissiveUniform)
{
    glUseProgramObjectARB(lightProgram);
    *emissiveUniform = lightUniforms.emissive;
    return 0;
}

// The track drawn lit, as the race draws it (each cell without the lamps where none of the
// chosen four reaches it), or with the whole light program everywhere.
std::vector<unsigned char> litPicture(Model &track, const float eye[3], const float target[3], bool asTheRace)
{
    clearFrame();
    beginLitScene();
    applyCamera(eye, target);
    const float dir[3] = {target[0] - eye[0], 0, target[2] - eye[2]};
    selectLights(eye, dir, false);
    setLightMaterial();
    if (asTheRace) {
        drawLitModelInside(&track, currentViewVolume(eye, 0));
    } else {
        prepareObjectLights(nullptr);
        sendObjectLights();
        setPaintReflection(false);
        track.drawInside(currentViewVolume(eye, 0), wholeProgram);
    }
    endLitScene();
    std::vector<unsigned char> rgb(size_t(kWidth * kHeight * 3));
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

TEST(Culling, TheLampsAreLeftOutOnlyWhereTheirLightIsNothing)
{
    ASSERT_TRUE(window());
    for (int track : {1, 9}) {
        auto model = std::make_unique<Ms3dModel>();
        ASSERT_TRUE(model->loadModelData(trackFile(track, "mapvisual.ms3d").c_str())) << "track " << track;
        Ms3dModel lamps;
        ASSERT_TRUE(lamps.loadModelData(trackFile(track, "light.ms3d").c_str())) << "track " << track;
        lamps.bakeTriangles();
        extractLights(lamps);
        size_t lampLit = 0;
        forEachView(track, 7, [&](int i, const float *eye, const float *target) {
            std::vector<unsigned char> race = litPicture(*model, eye, target, true);
            std::vector<unsigned char> whole = litPicture(*model, eye, target, false);
            size_t differ = 0;
            for (size_t p = 0; p < race.size(); p++)
                differ += std::abs(int(race[p]) - int(whole[p])) > 1;
            EXPECT_EQ(differ, 0u) << "track " << track << " waypoint " << i;
            // The lamps do light these views: without any, much of the picture is darker.
            numLevelLights = 0;
            std::vector<unsigned char> dark = litPicture(*model, eye, target, false);
            extractLights(lamps);
            for (size_t p = 0; p < race.size(); p++)
                lampLit += race[p] > dark[p] + 8;
        });
        EXPECT_GT(lampLit, size_t(kWidth * kHeight)) << "track " << track << ": no lamp lights the views";
    }
}

TEST(Culling, EveryCarAndWheelLooksTheSameWithoutItsBackFaces)
{
    ASSERT_TRUE(window());
    resizeScene(kWidth, kHeight, 60.0, 1000.0);
    for (int car = 1; car <= 12; car++)
        for (const char *part : {"car.ms3d", "wheel.ms3d"}) {
            char path[64];
            std::snprintf(path, sizeof path, "base/cars/%d/%s", car, part);
            Ms3dModel model;
            ASSERT_TRUE(model.loadModelData(path)) << path;
            float reach = std::string(part) == "car.ms3d" ? 9.0f : 2.5f;
            // Round the model and from above and below, as the chase camera, the garage and a
            // car rolled over may show it.
            for (int view = 0; view < 10; view++) {
                float turn = float(view) * 0.785f, lift = view < 8 ? (view % 2 ? 0.6f : 0.15f) : (view == 8 ? 1.5f : -1.5f);
                const float eye[3] = {reach * std::cos(turn), reach * lift, reach * std::sin(turn)};
                const float target[3] = {0, 0, 0};
                auto picture = [&](bool solid) {
                    model.solid = solid;
                    return depthPicture(eye, target, [&] { model.draw(); });
                };
                std::vector<float> twoSided = picture(false), solid = picture(true);
                size_t differ = 0, covered = 0;
                for (size_t p = 0; p < solid.size(); p++) {
                    differ += solid[p] != twoSided[p];
                    covered += twoSided[p] < 1.0f;
                }
                EXPECT_LE(differ, 5u) << path << " view " << view;
                EXPECT_GT(covered, 100u) << path << " view " << view << ": not in the picture";
            }
        }
}

} // namespace
