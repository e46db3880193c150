// Post-processing: the finished frame is copied into sceneTexture, reduced to 256 x 256 through
// the HDR program (what is bright enough to glow) and blurred down and across by the blur
// program into a glow of 128 x 128; the composite lays the blurred glow over the picture. Each
// pass draws into a target of its own, so the frame keeps the picture throughout. The blurs and
// the composite are drawn only where there is light to blur or add.
#include "common/common.h"
#include "render/overlay.h"
#include "render/render.h"

#include <vector>

bool postProcessingOn = true;
bool frameHoldsScene;

void copySceneTexture()
{
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, sceneTexture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, screenWidth, screenHeight);
    frameHoldsScene = true;
}

namespace {

// The blur target the pass does not read.
GLuint freeBlurTarget() { return blurTextureA == blurTargets[0] ? blurTargets[1] : blurTargets[0]; }

// The HDR pass raises its ramp where the glow of the frames before was strong, which lowers the
// glow, which lowers the ramp again: taken from the last frame alone, that swings a bright
// window in a still picture from glowing to dark and back every frame. The history moves this
// share of the way to each frame's glow instead, so the swing dies out and the glow settles;
// where the picture changes, the ramp follows it within a few frames.
constexpr float kHistoryShare = 0.25f;

// Called with the blur's projection and the blur target let go.
void addToGlowHistory(GLuint glow)
{
    beginTextureTarget(glowHistory, glowWidth, glowHeight, false);
    OverlayQuad quad;
    quad.texture = glow;
    quad.x1 = float(glowWidth);
    quad.y1 = float(glowHeight);
    quad.color[3] = kHistoryShare;
    quad.blend = OVERLAY_ALPHA; // the glow is opaque: this share of it over the rest of the history
    drawOverlayQuad(quad);
    endTextureTarget();
}

// Light in the bright picture is looked for in square blocks of this many texels a side, as far
// as the blur reaches: light in one block is blurred into the blocks next to it and no further.
// The glow has half as many texels a side, and so its blocks: the blocks of both pictures cover
// the same parts of the screen.
constexpr int kBlock = 8, kGlowBlock = kBlock / 2;

// A night street glows round its lamps and signs and is black between them, and a black pixel
// added or blurred is a pixel drawn for nothing: about half the glow in a race, and more of
// what the bright pass keeps, which a software renderer would otherwise work through in full.
// So the blocks of a small picture that hold light are found: those with light in them or in a
// texel next to them, since a linear filter reads one texel across a block's edge. The picture
// is read back: on a software renderer it is in memory already, and 256 x 256 texels are looked
// through in a fraction of a millisecond (a graphics card would wait here for the passes before
// it, which its speed can spare). What the read does not give counts as lit. `block` texels of
// the picture, `width` x `height`, make a block's side.
PictureBlocks litBlocks(GLuint texture, int width, int height, int block)
{
    static std::vector<unsigned char> texels, lit;
    int readWidth = 0, readHeight = 0;
    readTexture(texture, &texels, &readWidth, &readHeight);
    if (readWidth != width || readHeight != height) // not what the passes drew: all of it
        texels.assign(size_t(width) * size_t(height) * 4, 255);
    lit.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < lit.size(); i++)
        lit[i] = texels[i * 4] | texels[i * 4 + 1] | texels[i * 4 + 2];
    return markBlocks(lit, width, height, block, 1);
}

// The blocks a blur of `blocks` can reach: one block further across or down (the blur reaches
// eight texels of the bright picture, and the lit blocks already count the texel round them).
PictureBlocks spread(const PictureBlocks &blocks, bool across)
{
    PictureBlocks reached = blocks;
    for (int by = 0; by < blocks.rows(); by++)
        for (int bx = 0; bx < blocks.columns(); bx++)
            reached.marked[size_t(by) * size_t(blocks.columns()) + size_t(bx)] =
                across ? blocks.at(bx - 1, by) || blocks.at(bx, by) || blocks.at(bx + 1, by)
                       : blocks.at(bx, by - 1) || blocks.at(bx, by) || blocks.at(bx, by + 1);
    return reached;
}

// One pass over its whole target, or with `pieces` over those pieces only: the rest of the
// target is cleared to black, which is what the pass would draw there.
void drawPass(int mode, int pass, const std::vector<OverlayPiece> *pieces = nullptr)
{
    if (!postProcessingOn)
        return;
    const bool hdr = mode == kPassHdr; // else a blur
    const GLuint target = hdr ? brightTexture : freeBlurTarget();
    const int width = hdr ? offscreenWidth : glowWidth, height = hdr ? offscreenHeight : glowHeight;
    beginTextureTarget(target, width, height, false);
    if (pieces) {
        glPushAttrib(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glPopAttrib();
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);

    if (!hdr) {
        glUseProgramObjectARB(blurProgram);
        glUniform1iARB(blurUniforms.decal, 0);
        // Even passes blur across, odd ones down. A step is one texel of the bright picture in
        // both: the glow spreads as far on the screen as the bright picture's blur would, and
        // its texels, twice as far apart, are still close beside that reach. The blur down
        // reads the bright picture between two columns, so each glow texel takes both.
        bool across = pass % 2 == 0;
        glUniform4fARB(blurUniforms.texOffset, 1.0f / float(offscreenWidth), 1.0f / float(offscreenHeight),
                       across ? 1.0f : 0.0f, across ? 0.0f : 1.0f);
    } else {
        glUseProgramObjectARB(hdrProgram);
        glUniform1iARB(hdrUniforms.decal, 0);
        glUniform1iARB(hdrUniforms.decal2, 1);
        glUniform1fARB(hdrUniforms.exposure, 0.31f);
        glUniform1fARB(hdrUniforms.gamma, 1.4f);
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, glowHistory);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    // The quad covers the whole target, which has no depth buffer (so no depth test either).
    OverlayQuad quad;
    quad.texture = pass == 0 ? sceneTexture : blurTextureA;
    quad.x1 = float(width);
    quad.y1 = float(height);
    quad.blend = OVERLAY_OPAQUE;
    drawOverlayPieces(quad, pieces ? pieces->data() : &kWholeQuad, pieces ? int(pieces->size()) : 1);
    glUseProgramObjectARB(0);

    endTextureTarget();
    blurTextureA = target;
    if (!hdr && pass == 2)
        addToGlowHistory(target);
    if (hdr) {
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

} // namespace

void postProcessPass(int mode, int pass) { drawPass(mode, pass); }

void postProcessFrame()
{
    copySceneTexture();
    postProcessPass(kPassHdr, 0);
    if (!postProcessingOn)
        return;
    // Each blur is drawn only within its reach of the light the bright pass kept.
    PictureBlocks down = spread(litBlocks(blurTextureA, offscreenWidth, offscreenHeight, kBlock), false);
    std::vector<OverlayPiece> pieces = piecesOf(down);
    drawPass(kPassBlur, 1, &pieces);
    pieces = piecesOf(spread(down, true));
    drawPass(kPassBlur, 2, &pieces);
}

void drawComposite()
{
    // Straight after the passes the frame still holds the picture: only the glow goes over it.
    if (!frameHoldsScene) {
        OverlayQuad picture;
        picture.texture = sceneTexture;
        picture.x1 = 800;
        picture.y1 = 600;
        picture.blend = OVERLAY_OPAQUE;
        drawOverlayQuad(picture);
    }
    frameHoldsScene = false;
    if (postProcessingOn) {
        OverlayQuad glow;
        glow.texture = blurTextureA;
        glow.x1 = 800;
        glow.y1 = 600;
        glow.blend = OVERLAY_LIGHT;
        const std::vector<OverlayPiece> pieces = piecesOf(litBlocks(glow.texture, glowWidth, glowHeight, kGlowBlock));
        drawOverlayPieces(glow, pieces.data(), int(pieces.size()));
    }
}
