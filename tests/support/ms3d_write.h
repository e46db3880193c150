// Writes small MilkShape files for tests: flat ground and walls built from quads.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct TestMesh {
    std::vector<float> vertices; // x, y, z
    std::vector<int> triangles;  // three vertex indices each

    void quad(const float a[3], const float b[3], const float c[3], const float d[3])
    {
        int base = int(vertices.size() / 3);
        for (const float *p : {a, b, c, d})
            vertices.insert(vertices.end(), p, p + 3);
        triangles.insert(triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    }
    // A horizontal square of half-size h around (x, z) at height y.
    void ground(float x, float y, float z, float h)
    {
        const float a[3] = {x - h, y, z - h}, b[3] = {x - h, y, z + h}, c[3] = {x + h, y, z + h}, d[3] = {x + h, y, z - h};
        quad(a, b, c, d);
    }
    // A vertical wall across the x axis at x, from z0 to z1, from y0 up to y1 (both faces).
    void wallAcrossX(float x, float z0, float z1, float y0, float y1)
    {
        const float a[3] = {x, y0, z0}, b[3] = {x, y1, z0}, c[3] = {x, y1, z1}, d[3] = {x, y0, z1};
        quad(a, b, c, d);
        quad(d, c, b, a);
    }

    std::vector<unsigned char> encode() const
    {
        std::vector<unsigned char> o;
        auto put = [&](const void *p, size_t n) { o.insert(o.end(), (const unsigned char *)p, (const unsigned char *)p + n); };
        auto u16 = [&](unsigned v) { uint16_t x = uint16_t(v); put(&x, 2); };
        auto zeros = [&](size_t n) { o.insert(o.end(), n, 0); };
        put("MS3D000000", 10);
        int32_t version = 4;
        put(&version, 4);
        u16(unsigned(vertices.size() / 3));
        for (size_t i = 0; i < vertices.size(); i += 3) {
            zeros(1);
            put(&vertices[i], 12);
            o.push_back(0xFF);
            zeros(1);
        }
        u16(unsigned(triangles.size() / 3));
        for (size_t i = 0; i < triangles.size(); i += 3) {
            zeros(2);
            for (int k = 0; k < 3; k++)
                u16(unsigned(triangles[i + size_t(k)]));
            const float up[9] = {0, 1, 0, 0, 1, 0, 0, 1, 0};
            put(up, sizeof up);
            zeros(24 + 2);
        }
        u16(1); // one group with every triangle, no material
        zeros(1 + 32);
        u16(unsigned(triangles.size() / 3));
        for (size_t i = 0; i < triangles.size() / 3; i++)
            u16(unsigned(i));
        o.push_back(0xFF);
        u16(0); // no materials
        return o;
    }
};
