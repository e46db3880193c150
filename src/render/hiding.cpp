// The hiding picture. Whatever the picture says is hidden must be: a pixel counts as covered
// only when the box's outline covers it whole (every ray through it meets the box), its depth is
// the box's farthest corner (every ray through it meets the box no farther), and a part is
// hidden only when every pixel its box could reach is covered nearer than the part's nearest
// corner. A box that comes near the eye (a corner less than kNearest ahead, or behind) is left
// out of the picture, and a part that does is never hidden.
#include "render/hiding.h"
#include "render/view_volume.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearer than the race's near plane would allow, the projection of a corner is no guide.
constexpr float kNearest = 0.2f;
constexpr float kNothing = 1e30f;

struct Point {
    float x, y;
};

float turn(Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// The convex outline of the points, counter-clockwise, into `hull`; its corner count.
int outline(Point *points, int count, Point *hull)
{
    std::sort(points, points + count, [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    int h = 0;
    for (int i = 0; i < count; i++) {
        while (h >= 2 && turn(hull[h - 2], hull[h - 1], points[i]) <= 0)
            h--;
        hull[h++] = points[i];
    }
    for (int i = count - 2, lower = h + 1; i >= 0; i--) {
        while (h >= lower && turn(hull[h - 2], hull[h - 1], points[i]) <= 0)
            h--;
        hull[h++] = points[i];
    }
    return h - 1; // the last is the first again
}

} // namespace

bool HidingPicture::project(const float p[3], float *x, float *y, float *ahead) const
{
    float c[4];
    toClipSpace(clip, p, c);
    const float w = c[3];
    if (!(w >= kNearest))
        return false;
    *x = (c[0] / w * 0.5f + 0.5f) * float(kWidth);
    *y = (c[1] / w * 0.5f + 0.5f) * float(kHeight);
    *ahead = w;
    return std::isfinite(*x) && std::isfinite(*y);
}

void HidingPicture::draw(const std::vector<BuildingBox> &boxes)
{
    currentClipMatrix(clip);
    drawn = true;
    std::fill(farthest.begin(), farthest.end(), kNothing);
    for (const BuildingBox &b : boxes) {
        Point corners[8], hull[9];
        float far = 0;
        bool inView = true;
        for (int k = 0; k < 8 && inView; k++) {
            const float p[3] = {b.corner[k % 4][0], k < 4 ? b.bottom : b.top, b.corner[k % 4][1]};
            float ahead;
            inView = project(p, &corners[k].x, &corners[k].y, &ahead);
            far = std::max(far, ahead);
        }
        if (!inView)
            continue;
        int n = outline(corners, 8, hull);
        float lo[2] = {kNothing, kNothing}, hi[2] = {-kNothing, -kNothing};
        for (int i = 0; i < n; i++) {
            lo[0] = std::min(lo[0], hull[i].x), hi[0] = std::max(hi[0], hull[i].x);
            lo[1] = std::min(lo[1], hull[i].y), hi[1] = std::max(hi[1], hull[i].y);
        }
        // Too small to cover a pixel whole, or off the picture.
        if (n < 3 || hi[0] - lo[0] < 1 || hi[1] - lo[1] < 1 || hi[0] <= 0 || hi[1] <= 0 || lo[0] >= float(kWidth) ||
            lo[1] >= float(kHeight))
            continue;
        // The outline's extent along each line between two rows of pixels; a row is covered
        // whole between the inner ends of its two lines (an outline's left edge bulges left and
        // its right edge right, so between two lines neither comes further in than at one of them).
        int first = std::max(0, int(std::ceil(lo[1]))), last = std::min(kHeight, int(std::floor(hi[1])));
        float left[kHeight + 1], right[kHeight + 1];
        for (int line = first; line <= last; line++) {
            float y = float(line), l = kNothing, r = -kNothing;
            for (int i = 0; i < n; i++) {
                Point a = hull[i], c = hull[(i + 1) % n];
                if ((a.y - y) * (c.y - y) > 0)
                    continue;
                float x = a.y == c.y ? a.x : a.x + (c.x - a.x) * (y - a.y) / (c.y - a.y);
                l = std::min({l, x, a.y == c.y ? std::min(a.x, c.x) : x});
                r = std::max({r, x, a.y == c.y ? std::max(a.x, c.x) : x});
            }
            left[line] = l;
            right[line] = r;
        }
        for (int row = first; row < last; row++) {
            int x0 = std::max(0, int(std::ceil(std::max(left[row], left[row + 1]))));
            int x1 = std::min(kWidth, int(std::floor(std::min(right[row], right[row + 1]))));
            float *pixels = &farthest[size_t(row * kWidth)];
            for (int x = x0; x < x1; x++)
                pixels[x] = std::min(pixels[x], far);
        }
    }
    for (int ty = 0; ty < kTilesDown; ty++)
        for (int tx = 0; tx < kTilesAcross; tx++) {
            float most = 0;
            for (int y = ty * kTile; y < (ty + 1) * kTile; y++)
                for (int x = tx * kTile; x < (tx + 1) * kTile; x++)
                    most = std::max(most, farthest[size_t(y * kWidth + x)]);
            tiles[size_t(ty * kTilesAcross + tx)] = most;
        }
}

bool HidingPicture::hides(const float lo[3], const float hi[3]) const
{
    if (!drawn)
        return false;
    float x0 = kNothing, y0 = kNothing, x1 = -kNothing, y1 = -kNothing, nearest = kNothing;
    for (int k = 0; k < 8; k++) {
        const float p[3] = {k & 1 ? hi[0] : lo[0], k & 2 ? hi[1] : lo[1], k & 4 ? hi[2] : lo[2]};
        float x, y, ahead;
        if (!project(p, &x, &y, &ahead))
            return false;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        nearest = std::min(nearest, ahead);
    }
    // Every pixel the box's outline reaches into, and one more round for rounding.
    int px0 = std::max(0, int(std::floor(x0)) - 1), px1 = std::min(kWidth - 1, int(std::floor(x1)) + 1);
    int py0 = std::max(0, int(std::floor(y0)) - 1), py1 = std::min(kHeight - 1, int(std::floor(y1)) + 1);
    if (px0 > px1 || py0 > py1)
        return false; // off the picture: the view volume's business, not this
    for (int ty = py0 / kTile; ty <= py1 / kTile; ty++)
        for (int tx = px0 / kTile; tx <= px1 / kTile; tx++) {
            if (tiles[size_t(ty * kTilesAcross + tx)] < nearest)
                continue;
            for (int y = std::max(py0, ty * kTile); y <= std::min(py1, ty * kTile + kTile - 1); y++)
                for (int x = std::max(px0, tx * kTile); x <= std::min(px1, tx * kTile + kTile - 1); x++)
                    if (farthest[size_t(y * kWidth + x)] >= nearest)
                        return false;
        }
    return true;
}
