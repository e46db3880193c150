// The model operations: material textures, display lists, drawing and the baked triangle table.
#include "render/ms3d.h"
#include "render/hiding.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "platform/sys.h"
#include "platform/sys_files.h"
#include "render/images.h"
#include "render/view_volume.h"

Model::Model() : geometryLists(0) {}

Model::~Model() { clear(); }

void Model::clear()
{
    if (geometryLists)
        glDeleteLists(geometryLists, GLsizei(cells.size()));
    geometryLists = 0;
    cells.clear();
    deleteTextures();
    released = false; // an empty model has nothing to bring back
    freeModelData(*this);
    baked.clear();
    baked.shrink_to_fit();
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
    deleteTextures();
    released = false;
    // A run without a window has no GL context to hold textures: the model keeps its data only.
    if (Sys_Headless())
        return;
    for (int i = 0; i < numMaterials; i++) {
        Material &mat = materials[i];
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

void Model::deleteTextures()
{
    for (int i = 0; i < numMaterials; i++)
        if (materials[i].texture) {
            glDeleteTextures(1, &materials[i].texture);
            materials[i].texture = 0;
        }
}

void Model::releaseTextures()
{
    deleteTextures();
    released = true;
}

void Model::compileGeometry()
{
    // Each mesh's triangles by the ground square their centre lies in; std::map keeps the
    // cells in a fixed order, so the same model always draws the same way.
    std::map<std::pair<int, int>, std::vector<int>> squares;
    std::vector<ModelCell> found;
    std::vector<std::vector<int>> members;
    for (int m = 0; m < numMeshes; m++) {
        squares.clear();
        const Mesh &mesh = meshes[m];
        for (int i = 0; i < mesh.numTriangles; i++) {
            const Triangle &tri = triangles[mesh.triangleIndices[i]];
            float x = 0, z = 0;
            for (int k = 0; k < 3; k++) {
                x += vertices[tri.vertexIndices[k]].location[0] / 3.0f;
                z += vertices[tri.vertexIndices[k]].location[2] / 3.0f;
            }
            squares[{int(std::floor(x / kModelCellSize)), int(std::floor(z / kModelCellSize))}].push_back(i);
        }
        for (auto &square : squares) {
            ModelCell cell{m, 0, {1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
            for (int i : square.second) {
                const Triangle &tri = triangles[mesh.triangleIndices[i]];
                for (int k = 0; k < 3; k++)
                    growBox(vertices[tri.vertexIndices[k]].location, cell.lo, cell.hi);
            }
            found.push_back(cell);
            members.push_back(std::move(square.second));
        }
    }
    if (found.empty())
        return;
    geometryLists = glGenLists(GLsizei(found.size()));
    if (!geometryLists)
        return;
    for (size_t c = 0; c < found.size(); c++) {
        ModelCell &cell = found[c];
        cell.list = geometryLists + GLuint(c);
        const Mesh &mesh = meshes[cell.mesh];
        glNewList(cell.list, GL_COMPILE);
        glBegin(GL_TRIANGLES);
        for (int i : members[c]) {
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
    cells = std::move(found);
}

namespace {

// Binds a mesh's material: its texture, and its emissive colour when a light program takes it.
void useMaterial(const Model &model, int meshIndex, GLint emissiveUniform)
{
    int mat = model.meshes[meshIndex].materialIndex;
    const Material *material = mat >= 0 && mat < model.numMaterials ? &model.materials[mat] : nullptr;
    if (material && material->texture) {
        glBindTexture(GL_TEXTURE_2D, material->texture);
        glEnable(GL_TEXTURE_2D);
    } else {
        glBindTexture(GL_TEXTURE_2D, whiteTexture());
        glDisable(GL_TEXTURE_2D);
    }
    if (emissiveUniform >= 0) {
        static const float none[4] = {0, 0, 0, 1};
        const float *e = material ? material->emissive : none;
        glUniform4fARB(emissiveUniform, e[0], e[1], e[2], 1);
    }
}

} // namespace

void Model::draw(GLint emissiveUniform) { drawCells(nullptr, emissiveUniform, nullptr, nullptr); }

void Model::drawInside(const ViewVolume &volume, GLint emissiveUniform)
{
    drawCells(&volume, emissiveUniform, nullptr, nullptr);
}

void Model::drawInside(const ViewVolume &volume, CellShading shade, const HidingPicture *hiding)
{
    drawCells(&volume, -1, shade, hiding);
}

void Model::drawCells(const ViewVolume *volume, GLint emissiveUniform, CellShading shade, const HidingPicture *hiding)
{
    // Back faces of a solid model lie behind its front ones: not drawing them spares their
    // pixels, which a software renderer would otherwise shade before the front ones cover them.
    if (solid) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    } else {
        glDisable(GL_CULL_FACE);
    }
    if (numMeshes > 0 && !geometryLists)
        compileGeometry();
    GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    int bound = -1;
    if (!volume) {
        for (const ModelCell &cell : cells) {
            if (cell.mesh != bound)
                useMaterial(*this, bound = cell.mesh, emissiveUniform);
            glCallList(cell.list);
        }
    } else {
        // Nearest cells first: what they cover fails the depth test before it is shaded, and
        // per-pixel lighting is most of a frame's cost.
        static std::vector<std::pair<float, int>> order;
        order.clear();
        for (size_t i = 0; i < cells.size(); i++)
            if (boxMayShow(*volume, cells[i].lo, cells[i].hi) && !(hiding && hiding->hides(cells[i].lo, cells[i].hi)))
                order.push_back({boxDistanceSq(volume->eye, cells[i].lo, cells[i].hi), int(i)});
        std::sort(order.begin(), order.end());
        int program = -1;
        for (const auto &entry : order) {
            const ModelCell &cell = cells[size_t(entry.second)];
            // A program of its own keeps its own uniforms: the material goes to each anew.
            int chosen = shade ? shade(cell.lo, cell.hi, &emissiveUniform) : 0;
            if (cell.mesh != bound || chosen != program) {
                useMaterial(*this, bound = cell.mesh, emissiveUniform);
                program = chosen;
            }
            glCallList(cell.list);
        }
    }
    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
}

void Model::bakeTriangles()
{
    baked.clear();
    for (int m = 0; m < numMeshes; m++) {
        const Mesh &mesh = meshes[m];
        for (int i = 0; i < mesh.numTriangles && int(baked.size()) < kMaxBakedTriangles; i++) {
            const Triangle &tri = triangles[mesh.triangleIndices[i]];
            BakedTriangle &b = baked.emplace_back();
            b.materialIndex = mesh.materialIndex;
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
}
