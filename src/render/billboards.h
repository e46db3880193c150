// Camera-facing squares in the 3D scene: the particles of the car effects and the checkpoint
// marker. Each square is turned 45 degrees towards the eye, its corners on two axes across the
// line of sight; it knows nothing of what it shows.
#pragma once
#include "render/gl_ext.h"

enum BillboardBlend {
    BILLBOARD_ALPHA, // source alpha, one minus source alpha: covers what is behind (smoke, dust)
    BILLBOARD_ADD,   // source alpha, one: adds light (fire, the marker)
};

// The two corner axes of a square at centre seen from eye: with v the unit direction to the eye,
// a = v x (0, 1, 0) and b = v x a (neither normalised), each scaled per component by scale. Seen
// from straight above both vanish, so the square shrinks to nothing there.
void facingAxes(const float centre[3], const float eye[3], const float scale[3], float a[3], float b[3]);

// Opens a run of squares: the texture bound, the plain program in use, the blend on, lighting
// and face culling off, the depth test on but depth writes off, so that squares never hide each
// other or what is drawn after them. GL's own fog does not reach the program: with `fogged`,
// drawFacingRounds gives each sprite the fog at its centre; squares and glows, and every sprite
// without `fogged`, shine through the fog at any distance.
void beginBillboards(GLuint texture, BillboardBlend blend, bool fogged = true);
// One square at centre facing eye, its corners at centre +- a and +- b (see facingAxes), in
// colour (alpha included). Texture: (1, 0) at -b, (0, 0) at +a, (1, 1) at -a, (0, 1) at +b.
void drawFacingSquare(const float centre[3], const float eye[3], const float scale[3], const float colour[4]);
// Squares of a round picture, all but clear outside the circle of `reach` (a share of the
// square's half-width, TgaTexture::reach) round its middle, each of size `size` on both axes:
// only the square round that circle is drawn, with the texture placed as on the whole square.
// The picture is the same to the eye, about a quarter of the blended pixels are spared, and all
// of them go to GL as one batch. Two triangles a sprite, not a closer octagon: most sprites are
// a few pixels across, where the software renderer's cost goes by the triangle more than by the
// pixel, and the octagon's six triangles cost more than the square's corners add. When the fog
// is on, each sprite takes the fog at its centre through its colours instead of GL fogging every
// pixel: the same picture, for far less work a pixel.
struct RoundSprite {
    float centre[3];
    float size;
    float colour[4];
};
void drawFacingRounds(const RoundSprite *sprites, int count, const float eye[3], float reach);

// Round sprites sorted by their size on the frame. A puff near the eye covers thousands of
// pixels, each blended again for every puff over it, and soft as the puffs are, drawn at half
// size and laid over the frame they look the same; a puff far off is a few pixels across and
// would lose its shape. So between beginSizedRounds and endSizedRounds, drawFacingRounds draws
// the sprites under kLargeSprite pixels across into the frame at once and keeps the others (and
// any reaching behind the eye); endSizedRounds draws those kept, in the order given, into the
// half-size layer (into the frame where there is none) and lays the layer over the frame in the
// blocks they reached. Being the nearer, the large ones belong over the small ones. Sizes are
// judged by the viewport, projection and camera as they stand at beginSizedRounds, which must be
// those the sprites are drawn with. Fire is drawn outside: bright and sharp-edged, halving it
// would dim it.
constexpr float kLargeSprite = 16;
void beginSizedRounds();
void endSizedRounds();
// Back to the scene's state: program and blending off; face culling, depth writes and fog on;
// colour white.
void endBillboards();

// The glows round the street lamps, drawn between beginBillboards and endBillboards: one quad
// facing `viewer` round `centre`, spanned by n x (1, 1, 1) and n x that (n the unit direction
// to the viewer, the spans not normalised), reaching five times `size` (at least 0.2) from the
// centre, in the colour given (alpha scales the light added).
void drawBillboard(const float viewer[3], const float centre[3], float size, const float color[4]);
// Its four corners, in the order drawn with texture (0, 0), (1, 0), (1, 1), (0, 1).
void billboardCorners(const float viewer[3], const float centre[3], float size, float corners[4][3]);
