#include "mesh.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

int ModelMesh::material(const std::string &name, const std::string &texture)
{
    for (size_t i = 0; i < materials.size(); i++)
        if (materials[i].name == name)
            return int(i);
    MeshMaterial m;
    m.name = name;
    m.texture = texture;
    materials.push_back(m);
    return int(materials.size() - 1);
}

int ModelMesh::lampMaterial(const std::string &name, float r, float g, float b)
{
    int m = material(name, "");
    MeshMaterial &mat = materials[size_t(m)];
    mat.emissive[0] = r;
    mat.emissive[1] = g;
    mat.emissive[2] = b;
    mat.diffuse[0] = r;
    mat.diffuse[1] = g;
    mat.diffuse[2] = b;
    return m;
}

static uint32_t floatBits(float f)
{
    if (f == 0.0f)
        f = 0.0f; // one key for +0 and -0
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

int ModelMesh::vertex(Vec3 p)
{
    auto key = std::make_tuple(floatBits(p.x), floatBits(p.y), floatBits(p.z));
    auto it = vertexLookup.find(key);
    if (it != vertexLookup.end())
        return it->second;
    int index = int(vertices.size());
    vertices.push_back(p);
    vertexLookup.emplace(key, index);
    return index;
}

void ModelMesh::tri(int mat, Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc, Vec3 na, Vec3 nb, Vec3 nc)
{
    auto same = [](Vec3 p, Vec3 q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
    if (same(a, b) || same(b, c) || same(a, c))
        return; // degenerate: nothing to draw or collide with
    MeshTriangle t;
    t.v[0] = vertex(a);
    t.v[1] = vertex(b);
    t.v[2] = vertex(c);
    if (t.v[0] == t.v[1] || t.v[1] == t.v[2] || t.v[0] == t.v[2])
        return; // degenerate: nothing to draw or collide with
    t.n[0] = na;
    t.n[1] = nb;
    t.n[2] = nc;
    t.uv[0] = ta;
    t.uv[1] = tb;
    t.uv[2] = tc;
    t.material = mat;
    t.facing = facing;
    triangles.push_back(t);
}

void ModelMesh::tri(int mat, Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc)
{
    Vec3 n = normalize(cross(b - a, c - a));
    tri(mat, a, b, c, ta, tb, tc, n, n, n);
}

void ModelMesh::quad(int mat, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td)
{
    Vec3 n = normalize(cross(c - a, d - b));
    tri(mat, a, b, c, ta, tb, tc, n, n, n);
    tri(mat, a, c, d, ta, tc, td, n, n, n);
}

void ModelMesh::twoSidedQuad(int mat, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td)
{
    size_t first = triangles.size();
    quad(mat, a, b, c, d, ta, tb, tc, td);
    quad(mat, a, d, c, b, ta, td, tc, tb);
    for (size_t i = first; i < triangles.size(); i++)
        triangles[i].bothSides = true;
}

void ModelMesh::box(int mat, Vec3 cb, Vec3 fwd, float hl, float hw, float h, float ts, bool withBottom, bool withTop)
{
    Vec3 f = normalize(v3(fwd.x, 0, fwd.z));
    Vec3 r = v3(-f.z, 0, f.x);
    Vec3 up = v3(0, h, 0);
    Facing around = facing;
    faceAwayFrom(cb + up * 0.5f);
    Vec3 p[4] = {cb + f * hl + r * hw, cb - f * hl + r * hw, cb - f * hl - r * hw, cb + f * hl - r * hw};
    float edge[4] = {2 * hl, 2 * hw, 2 * hl, 2 * hw};
    for (int i = 0; i < 4; i++) {
        Vec3 a = p[i], b = p[(i + 1) % 4];
        float u = edge[i] * ts, v = h * ts;
        quad(mat, a, b, b + up, a + up, Uv{0, v}, Uv{u, v}, Uv{u, 0}, Uv{0, 0});
    }
    // Top and bottom take the picture alike: from below, a bottom looks as the top's underside.
    const Uv cap[4] = {Uv{0, 0}, Uv{2 * hl * ts, 0}, Uv{2 * hl * ts, 2 * hw * ts}, Uv{0, 2 * hw * ts}};
    if (withTop)
        quad(mat, p[0] + up, p[1] + up, p[2] + up, p[3] + up, cap[0], cap[1], cap[2], cap[3]);
    if (withBottom)
        quad(mat, p[0], p[1], p[2], p[3], cap[0], cap[1], cap[2], cap[3]);
    facing = around;
}

void ModelMesh::smoothNormals(float creaseDegrees)
{
    float cosLimit = std::cos(creaseDegrees * 3.14159265f / 180.0f);
    std::vector<Vec3> faceN(triangles.size());
    for (size_t i = 0; i < triangles.size(); i++) {
        const MeshTriangle &t = triangles[i];
        faceN[i] = normalize(cross(vertices[size_t(t.v[1])] - vertices[size_t(t.v[0])],
                                   vertices[size_t(t.v[2])] - vertices[size_t(t.v[0])]));
    }
    std::vector<std::vector<int>> users(vertices.size());
    for (size_t i = 0; i < triangles.size(); i++)
        for (int k = 0; k < 3; k++)
            users[size_t(triangles[i].v[k])].push_back(int(i));
    for (size_t i = 0; i < triangles.size(); i++) {
        MeshTriangle &t = triangles[i];
        for (int k = 0; k < 3; k++) {
            Vec3 sum{0, 0, 0};
            for (int j : users[size_t(t.v[k])]) {
                if (triangles[size_t(j)].material != t.material)
                    continue;
                float c = dot(faceN[size_t(j)], faceN[i]);
                if (c >= cosLimit)
                    sum = sum + faceN[size_t(j)];
            }
            t.n[k] = normalize(sum);
        }
    }
}

void put32(std::vector<uint8_t> &o, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        o.push_back(uint8_t((v >> (8 * i)) & 0xFF));
}
void putF(std::vector<uint8_t> &o, float f)
{
    uint32_t u;
    std::memcpy(&u, &f, 4);
    put32(o, u);
}

namespace {
void put8(std::vector<uint8_t> &o, int v) { o.push_back(uint8_t(v)); }
void put16(std::vector<uint8_t> &o, int v)
{
    o.push_back(uint8_t(v & 0xFF));
    o.push_back(uint8_t((v >> 8) & 0xFF));
}
void putText(std::vector<uint8_t> &o, const std::string &s, size_t n)
{
    for (size_t i = 0; i < n; i++)
        o.push_back(i < s.size() && i + 1 < n ? uint8_t(s[i]) : 0);
}
} // namespace

bool encodeMs3d(const ModelMesh &mesh, std::vector<uint8_t> &o)
{
    o.clear();
    if (mesh.vertices.size() > 65535 || mesh.triangles.size() > 65535 || mesh.materials.size() > 127)
        return false;
    for (const char *id = "MS3D000000"; *id; id++)
        put8(o, *id);
    put32(o, 4);

    std::vector<int> refs(mesh.vertices.size(), 0);
    for (const MeshTriangle &t : mesh.triangles)
        for (int k = 0; k < 3; k++)
            refs[size_t(t.v[k])]++;
    put16(o, int(mesh.vertices.size()));
    for (size_t i = 0; i < mesh.vertices.size(); i++) {
        put8(o, 0);
        putF(o, mesh.vertices[i].x);
        putF(o, mesh.vertices[i].y);
        putF(o, mesh.vertices[i].z);
        put8(o, 0xFF); // no bone
        put8(o, refs[i] > 255 ? 255 : refs[i]);
    }

    // Groups are per material, so triangles are written grouped that way too.
    std::vector<std::vector<int>> byMaterial(mesh.materials.size());
    for (size_t i = 0; i < mesh.triangles.size(); i++)
        byMaterial[size_t(mesh.triangles[i].material)].push_back(int(i));
    std::vector<int> order;
    for (auto &list : byMaterial)
        order.insert(order.end(), list.begin(), list.end());

    put16(o, int(order.size()));
    int groupOfTri = 0;
    size_t done = 0;
    for (size_t g = 0; g < byMaterial.size(); g++) {
        for (size_t j = 0; j < byMaterial[g].size(); j++, done++) {
            const MeshTriangle &t = mesh.triangles[size_t(byMaterial[g][j])];
            put16(o, 0);
            for (int k = 0; k < 3; k++)
                put16(o, t.v[k]);
            for (int k = 0; k < 3; k++) {
                putF(o, t.n[k].x);
                putF(o, t.n[k].y);
                putF(o, t.n[k].z);
            }
            for (int k = 0; k < 3; k++)
                putF(o, t.uv[k].s);
            for (int k = 0; k < 3; k++)
                putF(o, t.uv[k].t);
            put8(o, 1);
            put8(o, groupOfTri);
        }
        if (!byMaterial[g].empty())
            groupOfTri++;
    }

    int groups = 0;
    for (auto &list : byMaterial)
        groups += list.empty() ? 0 : 1;
    put16(o, groups);
    int first = 0;
    for (size_t g = 0; g < byMaterial.size(); g++) {
        int n = int(byMaterial[g].size());
        if (n == 0)
            continue;
        put8(o, 0);
        putText(o, mesh.materials[g].name, 32);
        put16(o, n);
        for (int j = 0; j < n; j++)
            put16(o, first + j);
        put8(o, int(g));
        first += n;
    }

    put16(o, int(mesh.materials.size()));
    for (const MeshMaterial &m : mesh.materials) {
        putText(o, m.name, 32);
        for (float v : m.ambient) putF(o, v);
        for (float v : m.diffuse) putF(o, v);
        for (float v : m.specular) putF(o, v);
        for (float v : m.emissive) putF(o, v);
        putF(o, m.shininess);
        putF(o, m.transparency);
        put8(o, 0);
        putText(o, m.texture, 128);
        putText(o, "", 128);
    }
    // Animation header with no joints, so modelling tools open the file too.
    putF(o, 24.0f);
    putF(o, 0.0f);
    put32(o, 1);
    put16(o, 0);
    return true;
}

bool makeDirs(const std::string &path)
{
    for (size_t i = 1; i <= path.size(); i++) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            mkdir(part.c_str(), 0755);
        }
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool writeFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    size_t slash = path.rfind('/');
    if (slash != std::string::npos)
        makeDirs(path.substr(0, slash));
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

bool writeMs3d(const ModelMesh &mesh, const std::string &path)
{
    std::vector<uint8_t> bytes;
    if (!encodeMs3d(mesh, bytes)) {
        std::fprintf(stderr, "gen3d: %s does not fit the model format (%zu vertices, %zu triangles)\n",
                     path.c_str(), mesh.vertices.size(), mesh.triangles.size());
        return false;
    }
    return writeFileBytes(path, bytes);
}
