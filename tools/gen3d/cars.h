// The twelve cars: body and wheel models with their liveries.
//
// Model space: x forward, y up, z to the right. The game draws the body 0.15 above the physics
// body's origin and hangs each wheel hub 0.37 below that origin at rest, so here the hubs sit at
// y = -0.52 and the road at -0.97; the axles are where the car table's fourth and fifth columns put
// them. The body is built as a loft of cross-sections along x, described by the lines below.
#pragma once
#include "content/car_exhausts.h"
#include "mesh.h"
#include <string>

// The proportions of one body, all in model space. The upper outline runs through the points
// (nose, noseTop), (nose - 0.14, bonnetFront), (screen, bonnet), (roofFront, roof),
// (roofBack, roof), (rear, deck), (tail + 0.14, deckEnd), (tail, tailTop), so x must fall in that
// order. An open car's "roof" is the top of its windscreen frame and its "rear" the front of the
// cockpit.
struct BodyStyle {
    float nose, noseLow, noseTop, bonnetFront; // front face and the bonnet's leading edge
    float screen, bonnet;                      // foot of the windscreen
    float roofFront, roofBack, roof;
    float rear, deck;                          // foot of the rear screen, boot lid there
    float deckEnd, tail, tailTop, tailLow;     // boot lid's trailing edge, rear face
    float bottom;                              // underside between the wheels: the ride height
    float halfWidth, flare;                    // body half width; extra over the wheels
    float roofHalf;                            // half width of the roof
    float arch;                                // wheel opening radius
    float bPillar, glassEnd;                   // x of the pillar behind the doors, of the last side glass
};

enum class Livery { Plain, TwinStripes, SideBand, TwoTone, Pinstripes, Roundel, Flash };
enum class Wing { None, Struts, Tall, Roof };
enum class Lamp { Rect, Round, TwinRound, Slim, Tall, Bar };
enum class Grille { Intakes, Bar, Mouth, Chrome, Mesh };
enum class Rim { FiveSpoke, MultiSpoke, Mesh, SixSpoke, Turbine, Steel };

struct CarDesign {
    const char *kind; // body family
    BodyStyle body;
    int paint[3], trim[3];
    Livery livery;
    Wing wing;
    bool scoop;       // air scoop: on the bonnet, or on the roof of a car with its engine behind
    bool open;        // no roof: a windscreen frame, a cockpit and headrests
    bool rails;       // roof rails
    int doors;        // 2 or 4, for the shut lines
    Lamp head, tail;
    Grille grille;
    Rim rim;
    int rimColour[3];
    float rimRatio, tyreHalf; // rim radius over wheel radius; half the tyre's width
};
extern const CarDesign carDesigns[12];

// Lines of one body as functions of x, shared by the mesh builder and the painter.
struct BodyLines {
    explicit BodyLines(int model);
    const CarDesign &d;
    const BodyStyle &s;
    float frontAxle, rearAxle;
    float top(float x) const;       // upper outline
    float bottom(float x) const;    // underside, rising to the front and rear faces
    float halfWidth(float x) const; // rounded in plan, flared over the wheels
    float belt(float x) const;      // where the side meets the glass or the lids
    float archTop(float x) const;   // top of the wheel opening, or bottom() clear of the wheels
    bool cabin(float x) const;      // between the screens, with glass above the belt
    float glassHalf(float x) const; // half width of the cabin top
};

// The game's drawing data: the axles from the car table's fourth and fifth columns (x of the hub,
// model space); the exhaust points (carExhausts) come from the game's own table.
float carAxleX(int model, bool front);

// Shared with the wheel placement of the game.
constexpr float kCarLift = 0.15f;    // body model above the physics body's origin
constexpr float kCarHubY = -0.37f;   // wheel centre below the physics body's origin at rest
constexpr float kWheelRadius = 0.45f;
constexpr float kCockpitLength = 1.1f; // open cars: from the windscreen frame to the headrests

ModelMesh buildCarBody(int model); // model 0..11
ModelMesh buildCarWheel(int model);
void paintCarTextures();           // "car01".."car12", "rim01".."rim12" and "carlamps"
std::string carTextureName(int model);
std::string rimTextureName(int model);
bool writeCars(const std::string &baseDir, const std::string &pictureDir);

// Where the painter's projections put a point in a car's texture atlas (t down from the top).
// Side view (x, y) fills the top half; the top view (x, z), the front (z, y) and the rear (z, y)
// share the bottom half. Bands below y = -1.05 in the side view hold plain swatches.
namespace carAtlas {
constexpr int kWidth = 512, kHeight = 256;
constexpr float kX = 3.1f, kYTop = 1.3f, kYBottom = -1.2f, kZ = 1.3f;
enum Swatch { Paint, Trim, Dark, Metal };
Uv side(float x, float y);
Uv top(float x, float z);
Uv front(float z, float y);
Uv rear(float z, float y);
Uv swatch(Swatch s);
} // namespace carAtlas
