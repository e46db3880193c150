// MilkShape 3D models: every mesh the game shows (tracks, lamp markers, car bodies, wheels).
// A model is loaded once, given its material textures (drawable models) or baked into a flat
// triangle table (marker models), and drawn with whatever colour and lighting state is current.
#pragma once
#include <cstddef>
#include <vector>

#include "formats/ms3d.h"
#include "render/gl_ext.h"

class HidingPicture;
struct ViewVolume;

constexpr int kMaxBakedTriangles = 5000;

struct BakedCorner {
    float position[3];
    float texCoord[2];
    float normal[3];
};

struct BakedTriangle {
    int materialIndex;
    BakedCorner corners[3];
    float centroid[3];
};

// The triangles of one mesh that lie in one square of the ground plan, compiled into one display
// list, with the box round them: a view skips the cells it cannot see.
struct ModelCell {
    int mesh;
    GLuint list;
    float lo[3], hi[3];
};
// The square's side. Smaller cells leave out more that the view cannot see or the buildings
// hide and bring fewer lamps into each, but every cell is a draw of its own, with its material
// and lamps to set, and the software renderer pays for each: squares of about a street block
// draw the race fastest with the buildings' hiding picture (measured against 32, 48, 96 and
// 128; without the picture 96 was fastest).
constexpr float kModelCellSize = 64.0f;

class Model : public ModelData {
public:
    Model();
    virtual ~Model();
    virtual bool loadModelData(const char *fileName) = 0;

    // Creates the material textures; files whose name contains ".tga" go to the TGA reader,
    // everything else to the bitmap reader.
    void reloadTextures();
    // Deletes the material textures and keeps the rest; reloadTextures brings them back.
    void releaseTextures();
    bool texturesReleased() const { return released; }
    // Draws every mesh with its material's texture. With a light program in use, pass its
    // "emissive" uniform: each mesh then sends its material's emissive colour (black without a
    // material), which lights the mesh from within where its texture's alpha allows.
    void draw(GLint emissiveUniform = -1);
    // The same, leaving out the cells that lie outside `volume` (given in the model's space).
    void drawInside(const ViewVolume &volume, GLint emissiveUniform = -1);
    // The same with a program chosen for each cell by its bounds: `shade` puts the program in
    // use and gives a number naming it and that program's "emissive" uniform. With `hiding`, the
    // cells it hides are left out too.
    using CellShading = int (*)(const float lo[3], const float hi[3], GLint *emissiveUniform);
    void drawInside(const ViewVolume &volume, CellShading shade, const HidingPicture *hiding = nullptr);
    void compileGeometry();
    // Fills `baked` from the meshes; at most kMaxBakedTriangles records.
    void bakeTriangles();
    // Frees everything the model holds (textures included) and leaves it empty.
    void clear();

    // Filled only by bakeTriangles: the cars and tracks, which never bake, carry no table.
    std::vector<BakedTriangle> baked;

    // The meshes' geometry compiled into display lists on the first draw (one list per cell), so
    // a model of thousands of triangles is not sent corner by corner every frame. 0: none yet.
    GLuint geometryLists;
    std::vector<ModelCell> cells; // grouped by mesh, in mesh order
    // A solid model (a car body, a wheel, a city whose thin boards are modelled once each way
    // round) is seen only from outside its solids, its faces wound counter-clockwise seen from
    // the front: its back faces are left undrawn. Other models are drawn two-sided.
    bool solid = false;

private:
    bool released = false; // by releaseTextures, until reloadTextures or clear
    void deleteTextures();
    void drawCells(const ViewVolume *volume, GLint emissiveUniform, CellShading shade, const HidingPicture *hiding);

public:
    Model(const Model &) = delete;
    Model &operator=(const Model &) = delete;
};

class Ms3dModel : public Model {
public:
    bool loadModelData(const char *fileName) override;
    // The parser behind loadModelData (see parseMs3d); a refused file leaves the model empty.
    bool loadFromMemory(const unsigned char *bytes, size_t size);
};
