// 2D quads over the finished picture.
#include "render/overlay.h"
#include "render/render.h"
#include "render/font.h"
#include "render/images.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

void setBlend(OverlayBlend blend)
{
    if (blend == OVERLAY_OPAQUE) {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    switch (blend) {
    case OVERLAY_ALPHA: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
    case OVERLAY_ADD: glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
    case OVERLAY_LIGHT: glBlendFunc(GL_ONE, GL_ONE); break;
    case OVERLAY_MASKED_LIGHT: glBlendFunc(GL_ONE, GL_SRC1_COLOR); break;
    case OVERLAY_PREMULTIPLIED: glBlendFunc(GL_ONE, GL_SRC_ALPHA); break;
    default: glBlendFunc(GL_DST_COLOR, GL_ZERO); break;
    }
}

// The HUD's pictures are looked at in blocks of this many texels a side, each with this margin
// round it: drawn at least 640 x 480, they are shrunk at most four times, to the third mipmap
// level, whose texels and their neighbours under the filter reach eight texels of the first.
constexpr int kCoverBlock = 16, kCoverMargin = 8;

// Where a picture can change the frame, as pieces of its texture: with a `light`, the mask is
// idle where it is white and the light black; alone, the picture is idle where it is clear.
// Worked out once for each texture and kept: the HUD's pictures are loaded once and never change.
const std::vector<OverlayPiece> &coverOf(GLuint texture, GLuint light)
{
    static std::map<std::pair<GLuint, GLuint>, std::vector<OverlayPiece>> covers;
    auto found = covers.find({texture, light});
    if (found != covers.end())
        return found->second;
    std::vector<OverlayPiece> &cover = covers[{texture, light}];
    int width = 0, height = 0, lightWidth = 0, lightHeight = 0;
    std::vector<unsigned char> mask, added;
    readTexture(texture, &mask, &width, &height);
    if (light)
        readTexture(light, &added, &lightWidth, &lightHeight);
    if (mask.empty() || (light && (lightWidth != width || lightHeight != height))) {
        cover.push_back(kWholeQuad);
        return cover;
    }
    std::vector<unsigned char> seen(size_t(width) * size_t(height));
    for (size_t i = 0; i < seen.size(); i++) {
        const unsigned char *m = &mask[i * 4];
        seen[i] = light ? (m[0] & m[1] & m[2]) != 255 || (added[i * 4] | added[i * 4 + 1] | added[i * 4 + 2]) != 0
                        : m[3] != 0;
    }
    cover = piecesOf(markBlocks(seen, width, height, kCoverBlock, kCoverMargin));
    return cover;
}

// The pieces of a quad that show where its picture (`texture`, with `light` a mask pair; see
// coverOf) can change the frame. A turned quad's pieces would meet along slanted edges worked
// out from different corners, where a pixel could be drawn twice: it is drawn whole.
std::vector<OverlayPiece> quadPieces(const OverlayQuad &q, GLuint texture, GLuint light)
{
    if (q.angle != 0 || q.s1 == q.s0 || q.t1 == q.t0)
        return {kWholeQuad};
    const std::vector<OverlayPiece> &cover = coverOf(texture, light);
    std::vector<OverlayPiece> pieces;
    auto share = [](float at, float from, float to) { return std::clamp((at - from) / (to - from), 0.0f, 1.0f); };
    for (const OverlayPiece &c : cover) {
        float u0 = share(c.u0, q.s0, q.s1), u1 = share(c.u1, q.s0, q.s1);
        float v0 = share(c.v0, q.t0, q.t1), v1 = share(c.v1, q.t0, q.t1);
        if (u0 != u1 && v0 != v1)
            pieces.push_back({std::min(u0, u1), std::min(v0, v1), std::max(u0, u1), std::max(v0, v1)});
    }
    return pieces;
}

} // namespace

PictureBlocks markBlocks(const std::vector<unsigned char> &texels, int width, int height, int size, int margin)
{
    PictureBlocks blocks;
    blocks.width = width;
    blocks.height = height;
    blocks.size = size;
    const int columns = blocks.columns(), rows = blocks.rows();
    blocks.marked.assign(size_t(columns) * size_t(rows), 0);
    for (int by = 0; by < rows; by++)
        for (int bx = 0; bx < columns; bx++) {
            int x0 = std::max(bx * size - margin, 0), x1 = std::min((bx + 1) * size + margin, width) - 1;
            int y0 = std::max(by * size - margin, 0), y1 = std::min((by + 1) * size + margin, height) - 1;
            bool any = false;
            for (int y = y0; y <= y1 && !any; y++)
                for (int x = x0; x <= x1 && !any; x++)
                    any = texels[size_t(y) * size_t(width) + size_t(x)] != 0;
            blocks.marked[size_t(by) * size_t(columns) + size_t(bx)] = any;
        }
    return blocks;
}

std::vector<OverlayPiece> piecesOf(const PictureBlocks &blocks)
{
    std::vector<OverlayPiece> pieces;
    const float width = float(blocks.width), height = float(blocks.height);
    for (int by = 0; by < blocks.rows(); by++) {
        float v0 = float(by * blocks.size) / height, v1 = std::min(float((by + 1) * blocks.size) / height, 1.0f);
        for (int bx = 0; bx < blocks.columns();) {
            if (!blocks.at(bx, by)) {
                bx++;
                continue;
            }
            int start = bx;
            while (blocks.at(bx, by))
                bx++;
            pieces.push_back({float(start * blocks.size) / width, v0, std::min(float(bx * blocks.size) / width, 1.0f), v1});
        }
    }
    return pieces;
}

void beginOverlay()
{
    beginVirtualScreen();
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
}

void endOverlay()
{
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
    endVirtualScreen();
}

void drawOverlayQuad(const OverlayQuad &q)
{
    drawOverlayPieces(q, &kWholeQuad, 1);
}

void drawOverlayPieces(const OverlayQuad &q, const OverlayPiece *pieces, int count)
{
    // Text printed between two quads turns the depth test back on; a quad lies over the 3D
    // picture whatever depth that left behind.
    glDisable(GL_DEPTH_TEST);
    setBlend(q.blend);
    // A quad drawn under a program of its caller's (the post-processing passes) keeps it; any
    // other is texture times colour through the plain program, which passes each pixel two
    // texture coordinates where GL's own pipeline passes four. A program always reads its
    // texture, so an untextured quad reads a white one.
    GLint callers = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &callers);
    if (!callers)
        glUseProgramObjectARB(plainPrograms[0]);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, q.texture ? q.texture : whiteTexture());
    glColor4fv(q.color);
    glPushMatrix();
    glTranslatef(q.originX, q.originY, 0);
    if (q.angle != 0)
        glRotatef(q.angle, 0, 0, 1);
    // Weighted from both ends, so the whole quad's corners come out exactly as given.
    auto mix = [](float a, float b, float share) { return a * (1 - share) + b * share; };
    glBegin(GL_QUADS);
    for (int i = 0; i < count; i++) {
        const OverlayPiece &p = pieces[i];
        const float us[4] = {p.u0, p.u1, p.u1, p.u0}, vs[4] = {p.v0, p.v0, p.v1, p.v1};
        for (int k = 0; k < 4; k++) {
            glTexCoord2f(mix(q.s0, q.s1, us[k]), mix(q.t0, q.t1, vs[k]));
            glVertex2f(mix(q.x0, q.x1, us[k]), mix(q.y0, q.y1, vs[k]));
        }
    }
    glEnd();
    glPopMatrix();
    if (!callers)
        glUseProgramObjectARB(0);
}

void drawMaskedQuad(OverlayQuad q, GLuint mask, GLuint light)
{
    const std::vector<OverlayPiece> pieces = quadPieces(q, mask, light);
    if (maskedLightProgram) {
        // What is below times the mask plus the light, in one pass: each pixel is read and
        // blended once instead of twice, the same sums (the light adds after the mask darkens).
        glUseProgramObjectARB(maskedLightProgram);
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, mask);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        q.texture = light;
        q.blend = OVERLAY_MASKED_LIGHT;
        drawOverlayPieces(q, pieces.data(), int(pieces.size()));
        glUseProgramObjectARB(0);
        return;
    }
    q.texture = mask;
    q.blend = OVERLAY_MASK;
    drawOverlayPieces(q, pieces.data(), int(pieces.size()));
    q.texture = light;
    q.blend = OVERLAY_LIGHT;
    drawOverlayPieces(q, pieces.data(), int(pieces.size()));
}

void drawMostlyClearQuad(const OverlayQuad &q)
{
    const std::vector<OverlayPiece> pieces = quadPieces(q, q.texture, 0);
    drawOverlayPieces(q, pieces.data(), int(pieces.size()));
}
