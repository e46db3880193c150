#include "render/view_volume.h"
#include "render/gl_ext.h"

#include <algorithm>

void currentClipMatrix(float clip[16])
{
    float p[16], mv[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            float sum = 0;
            for (int k = 0; k < 4; k++)
                sum += p[k * 4 + row] * mv[col * 4 + k];
            clip[col * 4 + row] = sum;
        }
}

void toClipSpace(const float clip[16], const float p[3], float out[4])
{
    for (int r = 0; r < 4; r++)
        out[r] = clip[r] * p[0] + clip[4 + r] * p[1] + clip[8 + r] * p[2] + clip[12 + r];
}

ViewVolume currentViewVolume(const float eye[3], float reach)
{
    float c[16];
    currentClipMatrix(c);
    // Each clipping plane is the last row of the clip matrix plus or minus one of the others.
    ViewVolume v;
    for (int axis = 0; axis < 3; axis++)
        for (int sign = 0; sign < 2; sign++) {
            float *plane = v.planes[axis * 2 + sign];
            for (int col = 0; col < 4; col++)
                plane[col] = c[col * 4 + 3] + (sign ? -1.0f : 1.0f) * c[col * 4 + axis];
        }
    std::copy(eye, eye + 3, v.eye);
    v.reach = reach;
    return v;
}

bool boxMayShow(const ViewVolume &v, const float lo[3], const float hi[3])
{
    for (const float *plane : v.planes) {
        // The corner farthest along the plane's normal: if even it is outside, all are.
        float x = plane[0] >= 0 ? hi[0] : lo[0];
        float y = plane[1] >= 0 ? hi[1] : lo[1];
        float z = plane[2] >= 0 ? hi[2] : lo[2];
        if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < 0)
            return false;
    }
    return v.reach <= 0 || boxDistanceSq(v.eye, lo, hi) <= v.reach * v.reach;
}

void growBox(const float point[3], float lo[3], float hi[3])
{
    for (int k = 0; k < 3; k++) {
        lo[k] = std::min(lo[k], point[k]);
        hi[k] = std::max(hi[k], point[k]);
    }
}

float boxDistanceSq(const float point[3], const float lo[3], const float hi[3])
{
    float d2 = 0;
    for (int k = 0; k < 3; k++) {
        float nearest = std::clamp(point[k], lo[k], hi[k]);
        d2 += (point[k] - nearest) * (point[k] - nearest);
    }
    return d2;
}
