// MilkShape 3D files: the vertices, triangles, groups (meshes) and materials of a model as plain
// arrays. The renderer's Model adds textures, display lists and the baked triangle table.
#pragma once
#include <cstddef>

struct Mesh {
    int materialIndex; // negative: no material
    int numTriangles;
    int *triangleIndices;
};

struct Material {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emissive[4];
    float shininess;
    float transparency; // 1 = opaque
    unsigned texture;   // GL texture made from textureFileName by the renderer; 0: untextured
    char *textureFileName;
};

struct Triangle {
    float vertexNormals[3][3];
    float s[3];
    float t[3]; // already flipped to GL's bottom-up convention
    int vertexIndices[3];
};

struct Vertex {
    signed char boneId;
    float location[3];
};

struct ModelData {
    int numMeshes = 0;
    Mesh *meshes = nullptr;
    int numMaterials = 0;
    Material *materials = nullptr;
    int numTriangles = 0;
    Triangle *triangles = nullptr;
    int numVertices = 0;
    Vertex *vertices = nullptr;
};

// Parses a whole file image into empty data. Any file that is short, has a count running past
// its end, or refers to a vertex, triangle or material that does not exist is refused, and the
// data is left empty. Material textures stay 0.
bool parseMs3d(const unsigned char *bytes, size_t size, ModelData &out);
// Frees the arrays (not the GL textures) and leaves the data empty.
void freeModelData(ModelData &data);
