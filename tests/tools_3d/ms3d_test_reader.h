// A stand-alone reader of the model layout the game loads (header, vertices, triangles, groups,
// materials; nothing after), with every count and index checked. The content checks use it until
// they can go through the game's own model loader; swap parseMs3dForTest for that loader then.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct TestModel {
    struct Vertex {
        float p[3];
    };
    struct Triangle {
        int v[3];
        float n[3][3];
        float s[3], t[3]; // t as the game keeps it: 1 - the file's t
    };
    struct Group {
        std::vector<int> triangles;
        int material;
    };
    struct Material {
        float emissive[4];
        std::string texture;
    };
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    std::vector<Group> groups;
    std::vector<Material> materials;
};

inline bool parseMs3dForTest(const std::vector<uint8_t> &b, TestModel &m)
{
    m = TestModel{};
    size_t at = 0;
    auto need = [&](size_t n) { return at + n <= b.size(); };
    auto u8 = [&]() { return b[at++]; };
    auto u16 = [&]() {
        int v = b[at] | b[at + 1] << 8;
        at += 2;
        return v;
    };
    auto f32 = [&]() {
        float f;
        std::memcpy(&f, &b[at], 4);
        at += 4;
        return f;
    };
    if (!need(14) || std::memcmp(b.data(), "MS3D000000", 10) != 0)
        return false;
    at = 10;
    int version = int(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24);
    at += 4;
    if (version < 3 || version > 4 || !need(2))
        return false;
    int nv = u16();
    if (!need(size_t(nv) * 15))
        return false;
    for (int i = 0; i < nv; i++) {
        TestModel::Vertex v;
        at++;
        for (float &c : v.p)
            c = f32();
        at += 2;
        m.vertices.push_back(v);
    }
    if (!need(2))
        return false;
    int nt = u16();
    if (!need(size_t(nt) * 70))
        return false;
    for (int i = 0; i < nt; i++) {
        TestModel::Triangle t;
        at += 2;
        for (int &v : t.v) {
            v = u16();
            if (v >= nv)
                return false;
        }
        for (auto &n : t.n)
            for (float &c : n)
                c = f32();
        for (float &s : t.s)
            s = f32();
        for (float &tt : t.t)
            tt = 1.0f - f32();
        at += 2;
        m.triangles.push_back(t);
    }
    if (!need(2))
        return false;
    int ng = u16();
    for (int g = 0; g < ng; g++) {
        if (!need(35))
            return false;
        at += 33;
        int n = u16();
        if (!need(size_t(n) * 2 + 1))
            return false;
        TestModel::Group gr;
        for (int i = 0; i < n; i++) {
            int t = u16();
            if (t >= nt)
                return false;
            gr.triangles.push_back(t);
        }
        gr.material = int8_t(u8());
        m.groups.push_back(gr);
    }
    if (!need(2))
        return false;
    int nm = u16();
    if (!need(size_t(nm) * 361))
        return false;
    for (int i = 0; i < nm; i++) {
        TestModel::Material mat;
        at += 32 + 48;
        for (float &c : mat.emissive)
            c = f32();
        at += 9;
        const char *name = reinterpret_cast<const char *>(&b[at]);
        mat.texture.assign(name, strnlen(name, 128));
        at += 256;
        m.materials.push_back(mat);
    }
    for (const auto &g : m.groups)
        if (g.material >= nm)
            return false;
    return true;
}
