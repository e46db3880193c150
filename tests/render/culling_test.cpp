// The race view draws only the cells of the track its camera can see. Whatever it leaves out must
// be invisible: from every few waypoints of every circuit, looking along the road, the depth
// picture drawn with the cells culled is exactly the one drawn with the whole track.
#include "formats/waypoints.h"
#include "render/ms3d.h"
#include "render/render.h"
#include "render/view_volume.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 160, kHeight = 120;

std::vector<float> depthPicture(Model &track, const float eye[3], const float target[3], bool culled)
{
    clearFrame();
    applyCamera(eye, target);
    if (culled)
        track.drawInside(currentViewVolume(eye, 0));
    else
        track.draw();
    std::vector<float> depth(size_t(kWidth * kHeight));
    glReadPixels(0, 0, kWidth, kHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth;
}

TEST(Culling, EveryCircuitLooksTheSameWithItsHiddenCellsLeftOut)
{
    ASSERT_TRUE(openTestWindow("culling", kWidth, kHeight));
    glEnable(GL_DEPTH_TEST);
    for (int track = 1; track <= 20; track++) {
        char path[64];
        std::snprintf(path, sizeof path, "base/maps/%d/mapvisual.ms3d", track);
        auto model = std::make_unique<Ms3dModel>();
        ASSERT_TRUE(model->loadModelData(path)) << path;
        std::snprintf(path, sizeof path, "base/maps/%d/points/level.ai", track);
        std::vector<Waypoint> points(kMaxWaypoints);
        int count = 0;
        ASSERT_TRUE(readWaypointFile(path, points.data(), kMaxWaypoints, &count)) << path;
        // The race's own projection: the widest view (at speed) and its far plane.
        resizeScene(kWidth, kHeight, 100.0, 15000.0);
        int views = 0, drawn = 0;
        for (int i = 0; i < count; i += 3) {
            const Waypoint &a = points[size_t(i)], &b = points[size_t((i + 1) % count)];
            // A chase camera's height above the road, looking along it and a little down.
            const float eye[3] = {a.x, a.y + 1.0f, a.z};
            const float target[3] = {b.x, b.y - 2.0f, b.z};
            std::vector<float> whole = depthPicture(*model, eye, target, false);
            std::vector<float> culled = depthPicture(*model, eye, target, true);
            size_t differ = 0;
            for (size_t p = 0; p < whole.size(); p++) {
                differ += whole[p] != culled[p];
                drawn += whole[p] < 1.0f;
            }
            EXPECT_EQ(differ, 0u) << "track " << track << " waypoint " << i;
            views++;
        }
        EXPECT_GT(views, 10) << "track " << track;
        EXPECT_GT(drawn, views * kWidth * kHeight / 4) << "track " << track << ": the views see too little road";
    }
}

} // namespace
