// The twelve cars: what each one looks like, and writing their models and the contact sheet.
#include "cars.h"
#include "pictures.h"
#include "textures.h"
#include "race/car_table.h"

#include <cstdio>

// The wheels go where the race draws them: the race's car table, fourth and fifth columns.
float carAxleX(int m, bool front) { return front ? kCarTable[m][3] * kAxleScale : -kCarTable[m][4] * kAxleScale; }

static const int kSheetCellW = 480, kSheetCellH = 390;

// Seven families of bodies; where two cars share one they differ in cabin, tail and wings. The
// body columns, in model space (x forward, hubs at y = -0.52, the road at -0.97):
//   nose  noseLow noseTop bonnetFront | screen bonnet | roofFront roofBack roof | rear deck |
//   deckEnd tail tailTop tailLow | bottom halfWidth flare roofHalf arch | bPillar glassEnd
const CarDesign carDesigns[12] = {
    {"coupe", // long and low, a long bonnet and a fastback
     {3.00f, -0.60f, -0.20f, -0.06f, 0.75f, 0.12f, -0.05f, -0.75f, 0.58f, -2.30f, 0.22f,
      0.20f, -2.97f, 0.08f, -0.55f, -0.76f, 1.19f, 0.04f, 0.78f, 0.56f, -0.55f, -1.35f},
     {200, 30, 35}, {240, 240, 240}, Livery::TwinStripes, Wing::None, false, false, false, 2,
     Lamp::Rect, Lamp::TwinRound, Grille::Mouth, Rim::FiveSpoke, {200, 200, 210}, 0.68f, 0.20f},
    {"hatchback", // short and tall, upright screens, a five-door
     {2.68f, -0.58f, 0.00f, 0.10f, 1.28f, 0.26f, 0.42f, -2.10f, 0.94f, -2.62f, 0.30f,
      0.28f, -2.88f, 0.26f, -0.56f, -0.68f, 1.17f, 0.00f, 0.92f, 0.60f, -0.45f, -2.20f},
     {40, 110, 210}, {250, 250, 250}, Livery::SideBand, Wing::None, false, false, false, 4,
     Lamp::Rect, Lamp::Tall, Grille::Mouth, Rim::Steel, {170, 172, 178}, 0.58f, 0.16f},
    {"saloon", // three boxes: bonnet, cabin, boot
     {3.00f, -0.56f, -0.02f, 0.08f, 1.05f, 0.20f, 0.20f, -1.05f, 0.80f, -1.75f, 0.30f,
      0.28f, -3.00f, 0.22f, -0.52f, -0.72f, 1.18f, 0.00f, 0.84f, 0.58f, -0.35f, -1.25f},
     {30, 34, 40}, {200, 170, 60}, Livery::Pinstripes, Wing::None, false, false, false, 4,
     Lamp::Rect, Lamp::Rect, Grille::Chrome, Rim::MultiSpoke, {205, 205, 212}, 0.64f, 0.18f},
    {"muscle", // a long high bonnet with a scoop, the cabin set back, a short notched boot
     {3.00f, -0.50f, 0.12f, 0.20f, 0.45f, 0.30f, -0.30f, -1.00f, 0.78f, -1.65f, 0.33f,
      0.36f, -3.00f, 0.30f, -0.45f, -0.72f, 1.20f, 0.06f, 0.86f, 0.58f, -0.85f, -1.20f},
     {240, 160, 20}, {20, 20, 20}, Livery::TwinStripes, Wing::None, true, false, false, 2,
     Lamp::TwinRound, Lamp::Slim, Grille::Bar, Rim::FiveSpoke, {215, 215, 222}, 0.60f, 0.23f},
    {"supercar", // a wedge: low nose, cabin forward, engine behind, high tail and a wing
     {3.00f, -0.62f, -0.26f, -0.12f, 1.15f, 0.04f, 0.30f, -0.45f, 0.44f, -1.10f, 0.26f,
      0.30f, -2.98f, 0.22f, -0.42f, -0.80f, 1.22f, 0.08f, 0.70f, 0.55f, -0.45f, -0.80f},
     {230, 230, 235}, {30, 80, 220}, Livery::Roundel, Wing::Struts, false, false, false, 2,
     Lamp::Slim, Lamp::Bar, Grille::Intakes, Rim::MultiSpoke, {190, 192, 200}, 0.76f, 0.24f},
    {"tuner", // compact, slammed, a fastback hatch, wide arches and a tall wing
     {2.55f, -0.66f, -0.10f, 0.02f, 1.00f, 0.18f, 0.20f, -1.20f, 0.72f, -2.45f, 0.30f,
      0.30f, -2.90f, 0.22f, -0.50f, -0.80f, 1.20f, 0.07f, 0.82f, 0.55f, -0.30f, -1.50f},
     {30, 140, 70}, {230, 200, 60}, Livery::Flash, Wing::Tall, false, false, false, 2,
     Lamp::Rect, Lamp::TwinRound, Grille::Mesh, Rim::Mesh, {215, 180, 70}, 0.72f, 0.22f},
    {"hot hatch", // a three-door hatchback, lower and wider, with a roof spoiler
     {2.75f, -0.62f, -0.04f, 0.08f, 1.20f, 0.22f, 0.35f, -1.85f, 0.82f, -2.50f, 0.30f,
      0.28f, -2.86f, 0.24f, -0.55f, -0.74f, 1.20f, 0.05f, 0.88f, 0.56f, -0.60f, -1.60f},
     {250, 210, 40}, {30, 30, 30}, Livery::TwoTone, Wing::Roof, false, false, false, 2,
     Lamp::Round, Lamp::Rect, Grille::Mouth, Rim::SixSpoke, {235, 235, 238}, 0.68f, 0.20f},
    {"estate", // the saloon's nose with the roof carried to the tail
     {3.00f, -0.56f, 0.00f, 0.10f, 1.10f, 0.22f, 0.25f, -2.30f, 0.88f, -2.75f, 0.30f,
      0.28f, -2.95f, 0.26f, -0.54f, -0.72f, 1.18f, 0.00f, 0.92f, 0.58f, -0.30f, -2.35f},
     {120, 125, 135}, {200, 40, 40}, Livery::SideBand, Wing::None, false, false, true, 4,
     Lamp::Rect, Lamp::Tall, Grille::Chrome, Rim::FiveSpoke, {200, 200, 206}, 0.64f, 0.18f},
    {"fastback", // the muscle car's nose with a long sloping roof down to a ducktail
     {3.00f, -0.52f, 0.08f, 0.16f, 0.50f, 0.28f, -0.25f, -0.85f, 0.70f, -2.45f, 0.34f,
      0.40f, -3.00f, 0.32f, -0.46f, -0.74f, 1.22f, 0.07f, 0.80f, 0.58f, -0.70f, -1.15f},
     {110, 20, 150}, {250, 250, 250}, Livery::TwinStripes, Wing::None, false, false, false, 2,
     Lamp::Round, Lamp::Rect, Grille::Bar, Rim::Steel, {120, 122, 130}, 0.60f, 0.23f},
    {"roadster", // no roof: a windscreen frame, an open cockpit and two headrests
     {3.00f, -0.58f, -0.16f, -0.04f, 0.60f, 0.10f, 0.20f, 0.14f, 0.42f, 0.10f, 0.14f,
      0.20f, -2.95f, 0.10f, -0.52f, -0.76f, 1.17f, 0.04f, 0.78f, 0.56f, -0.90f, 0.10f},
     {240, 90, 20}, {20, 20, 20}, Livery::Pinstripes, Wing::None, false, true, false, 2,
     Lamp::Round, Lamp::Round, Grille::Mouth, Rim::MultiSpoke, {210, 210, 215}, 0.66f, 0.19f},
    {"grand tourer", // the coupe's long bonnet with the cabin further back, a notch and a wing
     {3.00f, -0.60f, -0.16f, -0.04f, 0.55f, 0.14f, -0.30f, -1.00f, 0.64f, -1.90f, 0.28f,
      0.30f, -2.90f, 0.20f, -0.50f, -0.76f, 1.20f, 0.05f, 0.82f, 0.56f, -0.80f, -1.35f},
     {20, 40, 110}, {90, 200, 255}, Livery::Roundel, Wing::Struts, false, false, false, 2,
     Lamp::Slim, Lamp::Rect, Grille::Mouth, Rim::SixSpoke, {40, 40, 46}, 0.72f, 0.21f},
    {"hypercar", // the lowest: a narrow canopy, a roof scoop, a long tail rising to a lip
     {3.00f, -0.66f, -0.30f, -0.20f, 1.00f, 0.00f, 0.10f, -0.55f, 0.40f, -1.40f, 0.20f,
      0.32f, -3.00f, 0.28f, -0.40f, -0.82f, 1.24f, 0.06f, 0.62f, 0.54f, -0.55f, -0.90f},
     {180, 10, 20}, {250, 210, 60}, Livery::TwoTone, Wing::None, true, false, false, 2,
     Lamp::Slim, Lamp::Slim, Grille::Intakes, Rim::Turbine, {200, 200, 208}, 0.76f, 0.25f},
};

static void placeWheel(Placement &p, float x, float y, float z, bool mirrored)
{
    p = Placement{};
    if (mirrored) { // a half turn about x, as the game draws the left-hand wheels
        p.r[1][1] = -1;
        p.r[2][2] = -1;
    }
    p.t = v3(x, y, z);
}

// One car on the contact sheet: a three-quarter view from the front right across the top of its
// cell, and below it the side and the tail seen from far away (nearly flat projections at one
// scale, so outlines can be compared car against car).
static void drawCarCell(Canvas &sheet, int x0, int y0, int m, const ModelMesh &body, const ModelMesh &wheel)
{
    Placement bodyPlace;
    bodyPlace.t = v3(0, kCarLift, 0);
    Placement wheels[4];
    for (int k = 0; k < 4; k++)
        placeWheel(wheels[k], carAxleX(m, k < 2), kCarHubY, (k % 2) ? -1.0f : 1.0f, k % 2 == 1);
    struct Shot {
        Vec3 eye, target;
        float fov;
        int x, y, w, h;
    } shots[3] = {
        {v3(6.2f, 2.4f, 5.4f), v3(0, -0.1f, 0), 28, 0, 0, kSheetCellW, 230},
        {v3(0, 0.15f, 80), v3(0, 0.15f, 0), 2.7f, 0, 230, 300, 160},
        {v3(-80, 0.15f, 0), v3(0, 0.15f, 0), 2.7f, 300, 230, 180, 160},
    };
    for (const Shot &s : shots) {
        View3 v;
        v.eye = s.eye;
        v.target = s.target;
        v.fovDegrees = s.fov;
        v.x0 = x0 + s.x;
        v.y0 = y0 + s.y;
        v.w = s.w;
        v.h = s.h;
        drawMesh(sheet, v, body, bodyPlace);
        for (const Placement &p : wheels)
            drawMesh(sheet, v, wheel, p);
    }
}

bool writeCars(const std::string &baseDir, const std::string &pictureDir)
{
    bool ok = true;
    Canvas sheet;
    if (!pictureDir.empty())
        sheet.create(kSheetCellW * 4, kSheetCellH * 3, 24, 26, 34);
    for (int m = 0; m < 12; m++) {
        ModelMesh body = buildCarBody(m), wheel = buildCarWheel(m);
        std::string dir = baseDir + "/cars/" + std::to_string(m + 1);
        ok = writeMs3d(body, dir + "/car.ms3d") && ok;
        ok = writeMs3d(wheel, dir + "/wheel.ms3d") && ok;
        std::printf("car %2d (%s): %zu body triangles, %zu wheel triangles\n", m + 1, carDesigns[m].kind,
                    body.triangles.size(), wheel.triangles.size());
        if (!pictureDir.empty())
            drawCarCell(sheet, (m % 4) * kSheetCellW, (m / 4) * kSheetCellH, m, body, wheel);
    }
    if (!pictureDir.empty())
        sheet.save(pictureDir + "/cars.png");
    return ok;
}
