// MilkShape loader on arbitrary bytes; whatever loads is baked and walked as draw would walk it.
#include <memory>

#include "render/ms3d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Ms3dModel *model = new Ms3dModel; // one object, loaded over and over like a level slot
    if (!model->loadFromMemory(data, size))
        return 0;
    model->bakeTriangles();
    float sum = 0;
    for (int m = 0; m < model->numMeshes; m++) {
        const Mesh &mesh = model->meshes[m];
        if (mesh.materialIndex >= 0)
            sum += model->materials[mesh.materialIndex].emissive[0];
        for (int i = 0; i < mesh.numTriangles; i++) {
            const Triangle &t = model->triangles[mesh.triangleIndices[i]];
            for (int k = 0; k < 3; k++)
                sum += model->vertices[t.vertexIndices[k]].location[0] + t.t[k];
        }
    }
    for (int i = 0; i < model->numBakedTriangles; i++)
        sum += model->baked[i].centroid[1];
    (void)sum;
    return 0;
}
