#include "render/model_viewer.h"

#include <algorithm>
#include <cmath>

#include "render/ms3d.h"
#include "render/render.h"
#include "render/view_volume.h"

namespace {

Ms3dModel *viewed;
float centre[3];
float radius = 1.0f;

} // namespace

bool viewModelLoad(const char *path)
{
    viewModelRelease();
    viewed = new Ms3dModel;
    if (!viewed->loadModelData(path))
        return false;
    viewed->reloadTextures();
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    for (int i = 0; i < viewed->numVertices; i++)
        growBox(viewed->vertices[i].location, lo, hi);
    radius = 1.0f;
    if (viewed->numVertices > 0) {
        float r2 = 0;
        for (int a = 0; a < 3; a++) {
            centre[a] = 0.5f * (lo[a] + hi[a]);
            r2 += 0.25f * (hi[a] - lo[a]) * (hi[a] - lo[a]);
        }
        radius = std::max(std::sqrt(r2), 0.01f);
    }
    return true;
}

void viewModelDraw(int width, int height, float angle)
{
    glViewport(0, 0, width, height);
    glClearColor(0.18f, 0.2f, 0.24f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(35.0, double(width) / double(height > 0 ? height : 1), radius * 0.05, radius * 20.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A three-quarter view from a little above, far enough for the whole bounding sphere.
    float distance = radius / std::sin(35.0f * 0.5f * 3.14159265f / 180.0f) * 1.1f;
    gluLookAt(0, distance * 0.35f, distance, 0, 0, 0, 0, 1, 0);

    static const GLfloat lightPos[] = {0.4f, 1.0f, 0.7f, 0.0f};
    static const GLfloat diffuse[] = {1, 1, 1, 1};
    static const GLfloat ambient[] = {0.35f, 0.35f, 0.4f, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, lightPos);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);

    glRotatef(angle, 0, 1, 0);
    glTranslatef(-centre[0], -centre[1], -centre[2]);
    if (viewed)
        viewed->draw();

    glDisable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_FOG);
    glEnable(GL_CULL_FACE);
}

void viewModelRelease()
{
    delete viewed;
    viewed = nullptr;
}
