// MilkShape 3D loader and the model operations. The file is read whole and parsed from memory
// through a cursor that refuses to step past the end, so a truncated or lying file is refused
// rather than read beyond.
#include "render/ms3d.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "render/images.h"

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
        *v = unsigned(at[0] | at[1] << 8);
        return true;
    }
    bool i32(int32_t *v)
    {
        const unsigned char *at;
        if (!take(4, &at))
            return false;
        *v = int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
        return true;
    }
    bool floats(float *out, int n)
    {
        const unsigned char *at;
        if (!take(size_t(n) * 4, &at))
            return false;
        for (int i = 0; i < n; i++) {
            uint32_t bits = uint32_t(at[4 * i]) | uint32_t(at[4 * i + 1]) << 8 | uint32_t(at[4 * i + 2]) << 16 |
                            uint32_t(at[4 * i + 3]) << 24;
            std::memcpy(&out[i], &bits, 4);
        }
        return true;
    }
};

template <typename T> T *allocate(unsigned count)
{
    return count ? new (std::nothrow) T[count]() : nullptr;
}

bool parseVertices(Cursor &c, Model &m)
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

bool parseTriangles(Cursor &c, Model &m)
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

bool parseGroups(Cursor &c, Model &m)
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

bool parseMaterials(Cursor &c, Model &m)
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

// Shader programs sample their texture unit whether or not GL_TEXTURE_2D is enabled, so an
// untextured mesh gets a plain white texel bound instead of whatever the previous mesh used.
GLuint whiteTexture()
{
    static GLuint white;
    if (!white) {
        static const unsigned char texel[4] = {255, 255, 255, 255};
        glGenTextures(1, &white);
        glBindTexture(GL_TEXTURE_2D, white);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    return white;
}

} // namespace

Model::Model()
    : baked(), numBakedTriangles(0), numMeshes(0), meshes(nullptr), numMaterials(0), materials(nullptr),
      numTriangles(0), triangles(nullptr), numVertices(0), vertices(nullptr), geometryLists(0)
{
}

Model::~Model() { clear(); }

void Model::clear()
{
    if (geometryLists)
        glDeleteLists(geometryLists, numMeshes);
    geometryLists = 0;
    for (int i = 0; i < numMeshes; i++)
        delete[] meshes[i].triangleIndices;
    for (int i = 0; i < numMaterials; i++) {
        if (materials[i].texture)
            glDeleteTextures(1, &materials[i].texture);
        delete[] materials[i].textureFileName;
    }
    delete[] meshes;
    delete[] materials;
    delete[] triangles;
    delete[] vertices;
    meshes = nullptr;
    materials = nullptr;
    triangles = nullptr;
    vertices = nullptr;
    numMeshes = numMaterials = numTriangles = numVertices = 0;
    numBakedTriangles = 0;
}

bool Ms3dModel::loadFromMemory(const unsigned char *bytes, size_t size)
{
    // A second load replaces the first completely, and a refused file leaves nothing behind.
    clear();
    Cursor c{bytes, bytes ? size : 0};
    const unsigned char *id;
    int32_t version;
    if (!c.take(10, &id) || std::memcmp(id, "MS3D000000", 10) != 0 || !c.i32(&version) || version < 3 ||
        version > 4)
        return false;
    bool ok = parseVertices(c, *this) && parseTriangles(c, *this) && parseGroups(c, *this) && parseMaterials(c, *this);
    if (ok) {
        for (int i = 0; i < numMeshes && ok; i++)
            ok = meshes[i].materialIndex < numMaterials;
    }
    if (!ok)
        clear();
    return ok;
}

bool Ms3dModel::loadModelData(const char *fileName)
{
    unsigned char *bytes = nullptr;
    size_t size = 0;
    if (!fileName || !readWholeFile(fileName, &bytes, &size)) {
        clear();
        return false;
    }
    bool ok = loadFromMemory(bytes, size);
    delete[] bytes;
    return ok;
}

void Model::reloadTextures()
{
    for (int i = 0; i < numMaterials; i++) {
        Material &mat = materials[i];
        if (mat.texture)
            glDeleteTextures(1, &mat.texture);
        mat.texture = 0;
        if (!mat.textureFileName || !mat.textureFileName[0])
            continue;
        // Only the exact lower-case ".tga" picks the TGA reader; ".TGA" is read as a bitmap.
        if (std::strstr(mat.textureFileName, ".tga"))
            mat.texture = loadTgaTexture(mat.textureFileName);
        else
            mat.texture = loadBmpTexture(mat.textureFileName);
    }
}

void Model::compileGeometry()
{
    geometryLists = glGenLists(numMeshes);
    if (!geometryLists)
        return;
    for (int m = 0; m < numMeshes; m++) {
        const Mesh &mesh = meshes[m];
        glNewList(geometryLists + GLuint(m), GL_COMPILE);
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < mesh.numTriangles; i++) {
            const Triangle &tri = triangles[mesh.triangleIndices[i]];
            for (int k = 0; k < 3; k++) {
                glNormal3fv(tri.vertexNormals[k]);
                glTexCoord2f(tri.s[k], tri.t[k]);
                glVertex3fv(vertices[tri.vertexIndices[k]].location);
            }
        }
        glEnd();
        glEndList();
    }
}

void Model::draw()
{
    glDisable(GL_CULL_FACE);
    if (numMeshes > 0 && !geometryLists)
        compileGeometry();
    GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    for (int m = 0; m < numMeshes; m++) {
        const Mesh &mesh = meshes[m];
        int mat = mesh.materialIndex;
        if (mat >= 0 && materials[mat].texture) {
            glBindTexture(GL_TEXTURE_2D, materials[mat].texture);
            glEnable(GL_TEXTURE_2D);
        } else {
            glBindTexture(GL_TEXTURE_2D, whiteTexture());
            glDisable(GL_TEXTURE_2D);
        }
        if (geometryLists)
            glCallList(geometryLists + GLuint(m));
    }
    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void Model::bakeTriangles()
{
    int n = 0;
    for (int m = 0; m < numMeshes; m++) {
        const Mesh &mesh = meshes[m];
        for (int i = 0; i < mesh.numTriangles && n < kMaxBakedTriangles; i++, n++) {
            const Triangle &tri = triangles[mesh.triangleIndices[i]];
            BakedTriangle &b = baked[n];
            b.materialIndex = mesh.materialIndex;
            for (int axis = 0; axis < 3; axis++)
                b.centroid[axis] = 0.0f;
            for (int k = 0; k < 3; k++) {
                const float *p = vertices[tri.vertexIndices[k]].location;
                BakedCorner &corner = b.corners[k];
                for (int axis = 0; axis < 3; axis++) {
                    corner.position[axis] = p[axis];
                    corner.normal[axis] = tri.vertexNormals[k][axis];
                    b.centroid[axis] += p[axis];
                }
                corner.texCoord[0] = tri.s[k];
                corner.texCoord[1] = tri.t[k];
            }
            for (int axis = 0; axis < 3; axis++)
                b.centroid[axis] /= 3.0f;
        }
    }
    numBakedTriangles = n;
}
