// 4 x 4 matrices as GL keeps them (column-major, translation in elements 12..14), built and
// multiplied on the CPU so that scenes can place objects without touching the GL matrix stack.
#pragma once

struct Mat4 {
    float m[16];
};

Mat4 mat4Identity();
Mat4 mat4FromArray(const float m[16]);
// a * b: b is applied first, as glMultMatrix(b) after a.
Mat4 mat4Multiply(const Mat4 &a, const Mat4 &b);
Mat4 mat4Translation(float x, float y, float z);
// Turn of angle degrees about the axis (x, y, z), as glRotatef makes it.
Mat4 mat4Rotation(float angle, float x, float y, float z);
