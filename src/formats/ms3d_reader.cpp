// The MilkShape 3D reader. The file is parsed from memory through a cursor that refuses to step
// past the end, so a truncated or lying file is refused rather than read beyond.
#include "formats/ms3d.h"
#include "formats/le_bytes.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {

struct Cursor {
    const unsigned char *p;
    size_t left;

    bool take(size_t n, const unsigned char **at)
    {
        if (n > left)
            return false;
        *at = p;
        p += n;
        left -= n;
        return true;
    }
    bool skip(size_t n)
    {
        const unsigned char *at;
        return take(n, &at);
    }
    bool u8(unsigned *v)
    {
        const unsigned char *at;
        if (!take(1, &at))
            return false;
        *v = at[0];
        return true;
    }
    bool u16(unsigned *v)
    {
        const unsigned char *at;
        if (!take(2, &at))
            return false;
        *v = le16(at);
        return true;
    }
    bool i32(int32_t *v)
    {
        const unsigned char *at;
        if (!take(4, &at))
            return false;
        *v = leInt32(at);
        return true;
    }
    bool floats(float *out, int n)
    {
        const unsigned char *at;
        if (!take(size_t(n) * 4, &at))
            return false;
        for (int i = 0; i < n; i++)
            out[i] = leFloat(at + 4 * i);
        return true;
    }
};

template <typename T> T *allocate(unsigned count)
{
    return count ? new (std::nothrow) T[count]() : nullptr;
}

bool parseVertices(Cursor &c, ModelData &m)
{
    unsigned count;
    if (!c.u16(&count) || size_t(count) * 15 > c.left)
        return false;
    m.vertices = allocate<Vertex>(count);
    if (count && !m.vertices)
        return false;
    m.numVertices = int(count);
    for (unsigned i = 0; i < count; i++) {
        Vertex &v = m.vertices[i];
        unsigned bone = 0;
        c.skip(1); // flags
        c.floats(v.location, 3);
        c.u8(&bone);
        v.boneId = (signed char)(int8_t)bone;
        c.skip(1); // reference count
    }
    return true;
}

bool parseTriangles(Cursor &c, ModelData &m)
{
    unsigned count;
    if (!c.u16(&count) || size_t(count) * 70 > c.left)
        return false;
    m.triangles = allocate<Triangle>(count);
    if (count && !m.triangles)
        return false;
    m.numTriangles = int(count);
    for (unsigned i = 0; i < count; i++) {
        Triangle &t = m.triangles[i];
        c.skip(2); // flags
        for (int k = 0; k < 3; k++) {
            unsigned index = 0;
            c.u16(&index);
            if (index >= unsigned(m.numVertices))
                return false;
            t.vertexIndices[k] = int(index);
        }
        c.floats(&t.vertexNormals[0][0], 9);
        c.floats(t.s, 3);
        c.floats(t.t, 3);
        // MilkShape counts t from the top of the image, GL from the bottom.
        for (float &tc : t.t)
            tc = 1.0f - tc;
        c.skip(2); // smoothing group, group index
    }
    return true;
}

bool parseGroups(Cursor &c, ModelData &m)
{
    unsigned count;
    if (!c.u16(&count) || size_t(count) * 36 > c.left) // the smallest group is 36 bytes
        return false;
    m.meshes = allocate<Mesh>(count);
    if (count && !m.meshes)
        return false;
    m.numMeshes = int(count);
    for (unsigned g = 0; g < count; g++) {
        Mesh &mesh = m.meshes[g];
        mesh.materialIndex = -1;
        unsigned n;
        if (!c.skip(1 + 32) || !c.u16(&n) || size_t(n) * 2 + 1 > c.left)
            return false;
        mesh.triangleIndices = allocate<int>(n);
        if (n && !mesh.triangleIndices)
            return false;
        mesh.numTriangles = int(n);
        for (unsigned i = 0; i < n; i++) {
            unsigned index = 0;
            c.u16(&index);
            if (index >= unsigned(m.numTriangles))
                return false;
            mesh.triangleIndices[i] = int(index);
        }
        unsigned material = 0xFF;
        c.u8(&material);
        mesh.materialIndex = int8_t(material); // 0xFF is -1: no material
    }
    return true;
}

bool parseMaterials(Cursor &c, ModelData &m)
{
    unsigned count;
    if (!c.u16(&count) || size_t(count) * 361 > c.left)
        return false;
    m.materials = allocate<Material>(count);
    if (count && !m.materials)
        return false;
    m.numMaterials = int(count);
    for (unsigned i = 0; i < count; i++) {
        Material &mat = m.materials[i];
        c.skip(32); // name
        c.floats(mat.ambient, 4);
        c.floats(mat.diffuse, 4);
        c.floats(mat.specular, 4);
        c.floats(mat.emissive, 4);
        c.floats(&mat.shininess, 1);
        c.floats(&mat.transparency, 1);
        c.skip(1); // mode
        const unsigned char *name = nullptr;
        if (!c.take(128, &name))
            return false;
        size_t length = strnlen(reinterpret_cast<const char *>(name), 128);
        mat.textureFileName = new (std::nothrow) char[length + 1];
        if (!mat.textureFileName)
            return false;
        std::memcpy(mat.textureFileName, name, length);
        mat.textureFileName[length] = 0;
        c.skip(128); // alpha map
    }
    return true;
}

} // namespace

void freeModelData(ModelData &m)
{
    for (int i = 0; i < m.numMeshes; i++)
        delete[] m.meshes[i].triangleIndices;
    for (int i = 0; i < m.numMaterials; i++)
        delete[] m.materials[i].textureFileName;
    delete[] m.meshes;
    delete[] m.materials;
    delete[] m.triangles;
    delete[] m.vertices;
    m = ModelData{};
}

bool parseMs3d(const unsigned char *bytes, size_t size, ModelData &m)
{
    Cursor c{bytes, bytes ? size : 0};
    const unsigned char *id;
    int32_t version;
    if (!c.take(10, &id) || std::memcmp(id, "MS3D000000", 10) != 0 || !c.i32(&version) || version < 3 ||
        version > 4)
        return false;
    bool ok = parseVertices(c, m) && parseTriangles(c, m) && parseGroups(c, m) && parseMaterials(c, m);
    for (int i = 0; i < m.numMeshes && ok; i++)
        ok = m.meshes[i].materialIndex < m.numMaterials;
    if (!ok)
        freeModelData(m);
    return ok;
}
