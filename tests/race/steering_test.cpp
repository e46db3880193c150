// The front wheels' angle under a stick: whatever it asks, the wheels move no faster than under
// the keys (turning in at their rate, coming back as when let go) and never past what it asks.
#include "race/car.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

TEST(Steering, AStickNeverTurnsTheWheelsFasterOrFurtherThanTheKeys)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> stick(-1, 1);
    for (float dt : {0.4f, 1.0f, 2.5f}) {
        float steer = 0;
        for (int hold = 0; hold < 400; hold++) {
            float wanted = kMaxSteer * stick(random);
            if (hold % 5 == 0)
                wanted = 0; // let go now and then
            for (int frame = 0; frame < 12; frame++) {
                float next = steerTowards(steer, wanted, dt);
                float fastest = std::max(0.05f * dt, 0.15f * std::fabs(steer) * dt);
                ASSERT_LE(std::fabs(next - steer), fastest + 1e-6f) << "dt " << dt;
                ASSERT_LE(std::fabs(next), kMaxSteer);
                // Turning in, the wheels stop where the stick asks.
                bool sameSide = wanted * steer >= 0;
                if (sameSide && std::fabs(steer) <= std::fabs(wanted)) {
                    ASSERT_LE(std::fabs(next), std::fabs(wanted) + 1e-6f);
                }
                steer = next;
            }
        }
    }
    // Full lock is the keys' own: 0.05 a frame up to 0.7, and straight again when let go.
    EXPECT_EQ(steerTowards(0.68f, kMaxSteer, 1), kMaxSteer);
    EXPECT_EQ(steerTowards(0.1f, -kMaxSteer, 1), 0.1f - 0.05f);
    EXPECT_EQ(steerTowards(0.01f, 0, 7), 0.0f) << "never swinging through the middle";
}

} // namespace
