// Screenshots: the back buffer after a frame is drawn, before the swap, as the player sees it.
#include "platform/png_write.h"
#include "platform/sys.h"
#include "render/render.h"

#include <cstring>
#include <vector>

bool saveScreenshot(const char *path)
{
    int w, h;
    Sys_GetWindowSize(&w, &h);
    if (w <= 0 || h <= 0)
        return false;
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 3), flipped(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // GL reads bottom-up; the picture file runs top-down.
    size_t row = size_t(w) * 3;
    for (int y = 0; y < h; y++)
        std::memcpy(&flipped[size_t(y) * row], &pixels[size_t(h - 1 - y) * row], row);
    return Sys_WritePng(path, w, h, 3, flipped.data());
}
