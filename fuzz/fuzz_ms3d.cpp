// MilkShape reader on arbitrary bytes; whatever parses is walked as drawing and baking walk it.
#include "formats/ms3d.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ModelData model;
    if (!parseMs3d(data, size, model))
        return 0;
    float sum = 0;
    for (int m = 0; m < model.numMeshes; m++) {
        const Mesh &mesh = model.meshes[m];
        if (mesh.materialIndex >= 0)
            sum += model.materials[mesh.materialIndex].emissive[0];
        for (int i = 0; i < mesh.numTriangles; i++) {
            const Triangle &t = model.triangles[mesh.triangleIndices[i]];
            for (int k = 0; k < 3; k++)
                sum += model.vertices[t.vertexIndices[k]].location[0] + t.t[k];
        }
    }
    (void)sum;
    freeModelData(model);
    return 0;
}
