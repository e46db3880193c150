// The race-start countdown: "3", "2", "1" and "GO" fading in over the race picture while the
// cars are held, by the moment of the start overlay.
#include "render/font.h"
#include "render/images.h"
#include "render/texture_names.h"

namespace {

struct CountdownStep {
    float from, to; // exclusive: at the exact marks nothing is drawn
    int textureSetEntry;
    float x0, y0, x1, y1;
};
const CountdownStep kSteps[] = {
    {3.0f, 4.0f, TEX_COUNT_3, 336, 336, 464, 464},
    {4.0f, 5.0f, TEX_COUNT_2, 336, 336, 464, 464},
    {5.0f, 6.0f, TEX_COUNT_1, 336, 336, 464, 464},
    {6.0f, 8.0f, TEX_COUNT_GO, 272, 336, 528, 464},
};

} // namespace

bool countdownImageAt(float timer, CountdownImage *out)
{
    for (const CountdownStep &s : kSteps) {
        if (timer > s.from && timer < s.to) {
            out->textureSetEntry = s.textureSetEntry;
            out->x0 = s.x0;
            out->y0 = s.y0;
            out->x1 = s.x1;
            out->y1 = s.y1;
            // The last image fades in for a second and out for the next.
            out->alpha = timer - s.from;
            if (s.to - s.from > 1.0f && timer >= s.from + 1.0f)
                out->alpha = s.to - timer;
            return true;
        }
    }
    return false;
}

void drawStartCountdown(float overlayTimer)
{
    glDisable(GL_LIGHTING);
    beginVirtualScreen();
    glLoadIdentity();

    CountdownImage image;
    if (countdownImageAt(overlayTimer, &image)) {
        // Drawn over the finished picture, so the depth of the scene must not hide it.
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4f(1.0f, 1.0f, 1.0f, image.alpha);
        glBindTexture(GL_TEXTURE_2D, textureSet[image.textureSetEntry]);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(image.x0, image.y0);
        glTexCoord2f(1, 0);
        glVertex2f(image.x1, image.y0);
        glTexCoord2f(1, 1);
        glVertex2f(image.x1, image.y1);
        glTexCoord2f(0, 1);
        glVertex2f(image.x0, image.y1);
        glEnd();
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }

    endVirtualScreen();
    glLoadIdentity();
}
