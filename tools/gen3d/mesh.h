// Small vector maths and a triangle-soup builder that writes MilkShape 3D files the way the game
// reads them: positions shared between triangles, normals and texture coordinates per corner,
// one group per material.
#pragma once
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <utility>
#include <string>
#include <vector>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
inline Vec3 v3(float x, float y, float z) { return Vec3{x, y, z}; }
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalize(Vec3 a)
{
    float l = length(a);
    return l > 1e-12f ? a * (1.0f / l) : Vec3{0, 1, 0};
}

struct Uv {
    float s = 0, t = 0; // t runs down the image from its top row
};

struct MeshMaterial {
    std::string name;
    float ambient[4] = {0.5f, 0.5f, 0.5f, 1};
    float diffuse[4] = {1, 1, 1, 1};
    float specular[4] = {0, 0, 0, 1};
    float emissive[4] = {0, 0, 0, 1};
    float shininess = 0;
    float transparency = 1;
    std::string texture; // path relative to the game's working directory, empty for none
};

// The point a face was built to look away from (see ModelMesh::faceAwayFrom), if any.
struct Facing {
    bool set = false;
    Vec3 point;
};

struct MeshTriangle {
    int v[3];
    Vec3 n[3];
    Uv uv[3];
    int material;
    // How the face was built to look: away from a point, or from both sides (twoSidedQuad);
    // orientFaces follows these before its caller's preference.
    Facing facing;
    bool bothSides = false;
};

struct ModelMesh {
    std::vector<MeshMaterial> materials;
    std::vector<Vec3> vertices;
    std::vector<MeshTriangle> triangles;
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, int> vertexLookup;
    Facing facing; // what faces added now look away from

    int material(const std::string &name, const std::string &texture);
    int lampMaterial(const std::string &name, float r, float g, float b);
    int vertex(Vec3 p);
    // Flat-shaded triangle; corners in any winding until orientFaces turns it to its viewers.
    void tri(int mat, Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc);
    void tri(int mat, Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc, Vec3 na, Vec3 nb, Vec3 nc);
    // Quad a-b-c-d around its edge, split along a-c.
    void quad(int mat, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td);
    // A thin board seen from either side: the quad twice, once wound each way, so a renderer
    // that leaves out back faces still draws it from both.
    void twoSidedQuad(int mat, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td);
    // Faces added from now on are wound to look away from `point`: a point inside the solid they
    // close, so that only its outside is front-facing, or one far below for ground. Ended by
    // faceFreely.
    void faceAwayFrom(Vec3 point) { facing = Facing{true, point}; }
    void faceFreely() { facing = Facing{}; }
    // Axis-aligned-in-its-own-frame box given by its 8 corners is not needed: boxes are oriented by
    // a forward direction in the ground plane. A closed solid: its faces look away from its middle.
    void box(int mat, Vec3 centreBottom, Vec3 forward, float halfLength, float halfWidth, float height,
             float texScale, bool withBottom = false, bool withTop = true);

    // Turns every triangle whose face points away from where it was built to look (faceAwayFrom),
    // or else from preferred(centroid, normal), round, so that its front is the side a viewer
    // sees. Faces built to be seen from both sides stay as they are.
    template <class F> void orientFaces(F preferred)
    {
        for (MeshTriangle &t : triangles) {
            if (t.bothSides)
                continue;
            Vec3 a = vertices[size_t(t.v[0])], b = vertices[size_t(t.v[1])], c = vertices[size_t(t.v[2])];
            Vec3 n = normalize(cross(b - a, c - a));
            Vec3 centroid = (a + b + c) * (1.0f / 3.0f);
            Vec3 want = t.facing.set ? centroid - t.facing.point : preferred(centroid, n);
            if (dot(n, want) >= 0)
                continue;
            std::swap(t.v[1], t.v[2]);
            std::swap(t.n[1], t.n[2]);
            std::swap(t.uv[1], t.uv[2]);
            for (Vec3 &k : t.n)
                k = k * -1.0f;
        }
    }

    // Smooth the corner normals of each material's triangles where neighbouring faces meet at less
    // than the crease angle.
    void smoothNormals(float creaseDegrees);
};

// Serialises the mesh in the MS3D version 4 layout. False when a count does not fit the format.
bool encodeMs3d(const ModelMesh &mesh, std::vector<uint8_t> &out);
bool writeMs3d(const ModelMesh &mesh, const std::string &path);
bool writeFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);
// Little-endian words, as every file the game reads stores them.
void put32(std::vector<uint8_t> &o, uint32_t v);
void putF(std::vector<uint8_t> &o, float f);
bool makeDirs(const std::string &path);
