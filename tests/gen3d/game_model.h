// The content checks read models through the game's own parser and look at them through this
// plain copy, which they can also cut into parts (one material's triangles, say).
#pragma once
#include "support/ms3d_write.h"

#include <string>
#include <vector>

struct TestModel {
    struct Vertex {
        float p[3];
    };
    struct Triangle {
        int v[3];
        float n[3][3];
        float s[3], t[3]; // as the game keeps them (t already flipped)
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

inline void copyModel(const ModelData &m, TestModel &out)
{
    out = TestModel{};
    for (int i = 0; i < m.numVertices; i++)
        out.vertices.push_back({{m.vertices[i].location[0], m.vertices[i].location[1], m.vertices[i].location[2]}});
    for (int i = 0; i < m.numTriangles; i++) {
        TestModel::Triangle t;
        for (int k = 0; k < 3; k++) {
            t.v[k] = m.triangles[i].vertexIndices[k];
            t.s[k] = m.triangles[i].s[k];
            t.t[k] = m.triangles[i].t[k];
            for (int j = 0; j < 3; j++)
                t.n[k][j] = m.triangles[i].vertexNormals[k][j];
        }
        out.triangles.push_back(t);
    }
    for (int i = 0; i < m.numMeshes; i++) {
        TestModel::Group g;
        g.material = m.meshes[i].materialIndex;
        g.triangles.assign(m.meshes[i].triangleIndices, m.meshes[i].triangleIndices + m.meshes[i].numTriangles);
        out.groups.push_back(g);
    }
    for (int i = 0; i < m.numMaterials; i++) {
        TestModel::Material mat;
        for (int k = 0; k < 4; k++)
            mat.emissive[k] = m.materials[i].emissive[k];
        mat.texture = m.materials[i].textureFileName ? m.materials[i].textureFileName : "";
        out.materials.push_back(mat);
    }
}

inline bool loadGameModel(const std::string &path, TestModel &out)
{
    ParsedModel model;
    if (!model.read(path))
        return false;
    copyModel(model, out);
    return true;
}
