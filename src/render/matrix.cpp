#include "render/matrix.h"

#include <cmath>

Mat4 mat4Identity() { return mat4Translation(0, 0, 0); }

Mat4 mat4FromArray(const float m[16])
{
    Mat4 r;
    for (int i = 0; i < 16; i++)
        r.m[i] = m[i];
    return r;
}

Mat4 mat4Multiply(const Mat4 &a, const Mat4 &b)
{
    Mat4 r;
    for (int c = 0; c < 4; c++)
        for (int row = 0; row < 4; row++) {
            float sum = 0;
            for (int k = 0; k < 4; k++)
                sum += a.m[k * 4 + row] * b.m[c * 4 + k];
            r.m[c * 4 + row] = sum;
        }
    return r;
}

Mat4 mat4Translation(float x, float y, float z)
{
    Mat4 r = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}};
    return r;
}

Mat4 mat4Rotation(float angle, float x, float y, float z)
{
    float len = std::sqrt(x * x + y * y + z * z);
    if (len == 0)
        return mat4Identity();
    x /= len;
    y /= len;
    z /= len;
    float radians = angle * float(M_PI) / 180.0f;
    float c = std::cos(radians), s = std::sin(radians), t = 1 - c;
    Mat4 r = {{t * x * x + c, t * x * y + s * z, t * x * z - s * y, 0,
               t * x * y - s * z, t * y * y + c, t * y * z + s * x, 0,
               t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0,
               0, 0, 0, 1}};
    return r;
}
