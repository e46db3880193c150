// MilkShape files for tests, built piece by piece so a test can break any one piece, and read
// back through the game's own parser.
#pragma once
#include "formats/ms3d.h"
#include "support/file_builders.h"
#include "support/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

struct Ms3dVertex {
    float x, y, z;
    signed char bone = -1;
};
struct Ms3dTriangle {
    unsigned v[3];
    float s[3] = {0, 1, 0};
    float t[3] = {0, 0, 1};
    float normal[3] = {0, 1, 0};
};
struct Ms3dGroup {
    std::vector<unsigned> triangles;
    unsigned char material; // 0xFF: none
};
struct Ms3dMaterial {
    std::string texture;
    float emissive[4] = {0, 0, 0, 1};
};
struct Ms3dLayout {
    int32_t version = 4;
    std::vector<Ms3dVertex> vertices;
    std::vector<Ms3dTriangle> triangles;
    std::vector<Ms3dGroup> groups;
    std::vector<Ms3dMaterial> materials;
    Bytes trailer; // joints, comments... that the loader never reads
};

inline Bytes makeMs3d(const Ms3dLayout &s)
{
    Bytes out = {'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0'};
    put32(out, uint32_t(s.version));
    put16(out, unsigned(s.vertices.size()));
    for (const Ms3dVertex &v : s.vertices) {
        out.push_back(0);
        putFloat(out, v.x);
        putFloat(out, v.y);
        putFloat(out, v.z);
        out.push_back((unsigned char)v.bone);
        out.push_back(1);
    }
    put16(out, unsigned(s.triangles.size()));
    for (const Ms3dTriangle &t : s.triangles) {
        put16(out, 0);
        for (unsigned v : t.v)
            put16(out, v);
        for (int k = 0; k < 3; k++)
            for (int a = 0; a < 3; a++)
                putFloat(out, t.normal[a] + 0.25f * k); // corners differ, so their order shows
        for (float f : t.s)
            putFloat(out, f);
        for (float f : t.t)
            putFloat(out, f);
        out.push_back(1);
        out.push_back(0);
    }
    put16(out, unsigned(s.groups.size()));
    for (const Ms3dGroup &g : s.groups) {
        out.push_back(0);
        char name[32] = "group";
        out.insert(out.end(), name, name + 32);
        put16(out, unsigned(g.triangles.size()));
        for (unsigned t : g.triangles)
            put16(out, t);
        out.push_back(g.material);
    }
    put16(out, unsigned(s.materials.size()));
    for (const Ms3dMaterial &m : s.materials) {
        char name[32] = "material";
        out.insert(out.end(), name, name + 32);
        for (int c = 0; c < 3; c++)
            for (int i = 0; i < 4; i++)
                putFloat(out, 0.5f);
        for (float f : m.emissive)
            putFloat(out, f);
        putFloat(out, 8.0f);
        putFloat(out, 1.0f);
        out.push_back(0);
        char texture[128] = {};
        std::strncpy(texture, m.texture.c_str(), 127);
        out.insert(out.end(), texture, texture + 128);
        char alpha[128] = {};
        out.insert(out.end(), alpha, alpha + 128);
    }
    out.insert(out.end(), s.trailer.begin(), s.trailer.end());
    return out;
}

// One textured quad (two triangles) of four vertices, in one group with material 0.
inline Ms3dLayout quadModel(const std::string &texture)
{
    Ms3dLayout s;
    s.vertices = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    Ms3dTriangle a{{0, 1, 2}, {0, 1, 1}, {0, 0, 1}};
    Ms3dTriangle b{{0, 2, 3}, {0, 1, 0}, {0, 1, 1}};
    s.triangles = {a, b};
    s.groups = {{{0, 1}, 0}};
    s.materials = {{texture}};
    return s;
}

// Ground and walls for the race tests: quads of two triangles in one group without a material.
inline void addQuad(Ms3dLayout &m, Ms3dVertex a, Ms3dVertex b, Ms3dVertex c, Ms3dVertex d)
{
    if (m.groups.empty())
        m.groups.push_back({{}, 0xFF});
    unsigned v = unsigned(m.vertices.size()), t = unsigned(m.triangles.size());
    m.vertices.insert(m.vertices.end(), {a, b, c, d});
    m.triangles.push_back({{v, v + 1, v + 2}});
    m.triangles.push_back({{v, v + 2, v + 3}});
    m.groups[0].triangles.insert(m.groups[0].triangles.end(), {t, t + 1});
}
// A horizontal square of half-size h around (x, z) at height y.
inline void addGround(Ms3dLayout &m, float x, float y, float z, float h)
{
    addQuad(m, {x - h, y, z - h}, {x - h, y, z + h}, {x + h, y, z + h}, {x + h, y, z - h});
}
// A wall across the x axis at x, from z0 to z1 and from y0 up to y1, with both faces.
inline void addWallAcrossX(Ms3dLayout &m, float x, float z0, float z1, float y0, float y1)
{
    addQuad(m, {x, y0, z0}, {x, y1, z0}, {x, y1, z1}, {x, y0, z1});
    addQuad(m, {x, y0, z1}, {x, y1, z1}, {x, y1, z0}, {x, y0, z0});
}

// A model as the game's parser reads it, freed when it goes.
struct ParsedModel : ModelData {
    ParsedModel() = default;
    ParsedModel(const ParsedModel &) = delete;
    ~ParsedModel() { freeModelData(*this); }
    // Parses from an exact-size heap copy, so the address sanitizer sees any read past the data.
    bool parse(const Bytes &bytes)
    {
        freeModelData(*this);
        std::unique_ptr<unsigned char[]> copy(new unsigned char[bytes.size() ? bytes.size() : 1]);
        if (!bytes.empty())
            std::memcpy(copy.get(), bytes.data(), bytes.size());
        return parseMs3d(copy.get(), bytes.size(), *this);
    }
    bool read(const std::string &path) { return parse(readBytes(path)); }
};
