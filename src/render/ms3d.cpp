// The model operations: material textures, display lists, drawing and the baked triangle table.
#include "render/ms3d.h"

#include <cstring>
#include <vector>

#include "platform/sys.h"
#include "platform/sys_files.h"
#include "render/images.h"

namespace {

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

Model::Model() : baked(), numBakedTriangles(0), geometryLists(0) {}

Model::~Model() { clear(); }

void Model::clear()
{
    if (geometryLists)
        glDeleteLists(geometryLists, numMeshes);
    geometryLists = 0;
    for (int i = 0; i < numMaterials; i++)
        if (materials[i].texture)
            glDeleteTextures(1, &materials[i].texture);
    freeModelData(*this);
    numBakedTriangles = 0;
}

bool Ms3dModel::loadFromMemory(const unsigned char *bytes, size_t size)
{
    // A second load replaces the first completely, and a refused file leaves nothing behind.
    clear();
    return parseMs3d(bytes, size, *this);
}

bool Ms3dModel::loadModelData(const char *fileName)
{
    std::vector<uint8_t> bytes;
    bool ok = fileName && Sys_ReadWholeFile(fileName, bytes) && loadFromMemory(bytes.data(), bytes.size());
    if (!ok) {
        clear();
        if (fileName)
            Sys_ReportUnusable(fileName);
    }
    return ok;
}

void Model::reloadTextures()
{
    // A run without a window has no GL context to hold textures: the model keeps its data only.
    if (Sys_Headless())
        return;
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
        if (!mat.texture)
            Sys_ReportUnusable(mat.textureFileName);
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
