// The renderer's shared state: GL set-up, render targets, shader programs and their uniform
// locations. Texture sets are in images.h, models in ms3d.h, text in font.h.
#pragma once
#include "render/gl_ext.h"
#include "render/font.h"
#include "render/images.h"

class HidingPicture;

// Post-processing and reflection targets. The HDR pass draws into brightTexture, the blurs into
// the two blurTargets; blurTextureA names the last pass's result (brightTexture after the HDR
// pass, a blur target after a blur).
extern int offscreenWidth, offscreenHeight; // size of the HDR pass's picture
extern int glowWidth, glowHeight;           // size of the blurred glow: half the HDR pass's
extern GLuint sceneTexture;      // screenWidth x screenHeight
extern GLuint brightTexture;     // offscreenWidth x offscreenHeight
extern GLuint blurTextureA;      // the last pass's result
extern GLuint blurTargets[2];    // glowWidth x glowHeight
extern GLuint glowHistory;       // glowWidth x glowHeight: the glow of the frames before, smoothed
extern GLuint reflectionTexture; // 256 x 256
constexpr int kReflectionSize = 256;

// A render target: a texture the frame is copied into or a pass draws into, filtered linearly and
// clamped. It starts black, not as whatever memory the driver hands out: the first frame's
// passes read targets no pass has written yet (the glow history above all).
GLuint createRenderTarget(int width, int height, GLenum format);
// Drawing into a texture instead of the frame: the texture's whole area becomes the viewport,
// with the kReflectionSize square depth buffer when `depth` is set (so only a texture of that
// size may ask for it). endTextureTarget gives the frame and its viewport back. Set up once by
// initGraphics (false, reported, when the driver cannot draw into such textures).
bool setUpTextureTargets();
void beginTextureTarget(GLuint texture, int width, int height, bool depth);
void endTextureTarget();
// The half-size layer: a picture of half the frame's viewport each way (rounded up) for blended
// sprites, with the frame's depth copied into a depth buffer of its own, so that the scene hides
// them there as in the frame. beginHalfSizeLayer copies the depth, clears the picture to black
// with alpha 1 and draws into it with its own viewport; false when the driver cannot give it
// (then nothing has changed, and it is not tried again). endHalfSizeLayer gives the frame back.
// halfSizeLayer names the picture (0 before the first begin) and its size.
bool beginHalfSizeLayer();
void endHalfSizeLayer();
GLuint halfSizeLayer(int *width, int *height);

// Runs once when the window and its GL context exist. False when the card lacks what the game
// needs (multitexturing, GLSL) or a shader program cannot be built.
bool initGraphics();
bool isMultitextureSupported();
// Viewport and perspective projection (degrees of vertical view, far clipping distance); the
// modelview is left at the identity.
void resizeScene(int width, int height, double fieldOfView, double farPlane);
// Multiplies the modelview by the look from eye at target, y up.
void applyCamera(const float eye[3], const float target[3]);
// Clears colour and depth and resets the modelview: the start of every frame's drawing.
void clearFrame();
// The fixed-function light, placed through the current modelview (0, 0, 0: at the eye).
void placeFixedLight(float x, float y, float z);
// Fixed-function drawing among the 3D objects (sky, tunnel, particles, markers, glows): colour
// white, texturing on, lighting and fog off. endUnlit turns the fog back on.
void beginUnlit();
void endUnlit();
// The start-up loading screen: picture 0, or picture 1 with "Loading...".
void drawLoadingScreen(int image);
// Saves the back buffer, as the player is about to see it, as a PNG; false when it cannot.
bool saveScreenshot(const char *path);

// ---- sky ----
extern float skyScroll; // the clouds' drift; grows through every race frame
// clearFrame with the night sky's own dark colour: the dark dome behind the clouds, wherever
// the scene leaves the frame open. The clear colour is left as it was.
void clearToNightSky();
// The dome's cloud layers and the skyline band seen from `viewer`, over a frame cleared by
// clearToNightSky, with the camera on the modelview, colour white, texturing on, fog off; the
// clouds drift by the frame's duration. Every matrix it touches is left exactly as it was. With
// `hiding` (drawn for this camera), the parts of the layers it hides are left out.
void drawSkyDome(const float viewer[3], float frameTime, const HidingPicture *hiding = nullptr);
// The cloud layers: spheres of kSkyDomeRadius (the outer) and kSkyInnerLayerRadius round the
// world's origin, flattened to kSkyDomeFlattening of their height. Below kSkyDomeCut (a world
// height) neither layer is drawn: no view sees that far down past the street (checked from
// every circuit's waypoints).
constexpr float kSkyDomeRadius = 14000.0f, kSkyInnerLayerRadius = 12800.0f, kSkyDomeFlattening = 0.14f,
                kSkyDomeCut = -1500.0f;
// Boxes by centre x, bottom y, centre z and width (x), height (y), length (z).
void drawHorizonBand(float x, float y, float z, float width, float height, float length);
void drawSkyBox(float x, float y, float z, float width, float height, float length);

// ---- post-processing ----
// False turns the bloom off (COBALT_NO_POSTFX=1 at start): the passes do nothing and the
// composite shows the plain picture, for comparing the frame with and without its glow.
extern bool postProcessingOn;
void copySceneTexture(); // the finished frame into sceneTexture, for post-processing
// One pass, drawn into a target of its own, its result in blurTextureA: kPassHdr keeps what is
// bright enough to glow (at offscreen size), kPassBlur blurs across (even pass) or down (odd
// pass) at glow size. Pass 0 reads sceneTexture and glowHistory, later passes blurTextureA;
// blur pass 2 also moves glowHistory a quarter of the way to its result.
constexpr int kPassBlur = 2, kPassHdr = 3;
void postProcessPass(int mode, int pass);
// The whole chain a frame runs: the copy, the HDR pass, then the blur down and across, each
// blur drawn only within its reach of the light the HDR pass kept.
void postProcessFrame();
// The finished picture on the 2D screen: sceneTexture opaque, the blurred glow added over it
// where it holds light.
// Drawn on an open overlay (beginOverlay), first, under the HUD or the menus.
void drawComposite();
// Set by copySceneTexture, cleared by clearFrame and drawComposite: the frame buffer still holds
// the copied picture (nothing but the passes, which draw into their own targets, has run since),
// so the composite need not draw it again. Whoever draws into the frame between the copy and the
// composite clears it.
extern bool frameHoldsScene;

// ---- reflection picture ----
// Opens the small square picture the car paint mirrors: a 90 degree view drawn turned left to
// right (a mirror shows the world the other way round) into reflectionTexture, cleared, its
// corners outside the circle the paint reads closed to what is drawn after, lighting and fog
// off, the modelview at the identity.
void beginReflectionPicture();
// Gives back the frame, its viewport, projection and front-face winding.
void endReflectionPicture();

// ---- garage ----
// The tunnel the garage car stands in, round the point `at` (eye space), its wall and floor
// strip scrolled by `clock`.
void drawGarageTunnel(const float at[3], float clock);

// Extension test of the multitexture check: within one blank-separated name of `extensions`,
// the characters of `name` occur in order. (So "GL_ARB_multitexture" is also satisfied by a
// longer name that starts with it.)
bool extensionListed(const char *extensions, const char *name);

// ---- shader programs ----
// A street lamp's light fades to nothing this far from it: the light program is built with it,
// and the track leaves out the lamps that do not reach the part being drawn.
constexpr float kLampReach = 60.0f;
// Every street lamp's spot exponent, built into the light program as well (a whole power known
// when the program is built multiplies out in three steps).
constexpr int kLampFocus = 5;
// How much brighter than the night around it a street lamp lights what is right under it: a
// factor on its colour, built into the light program too.
constexpr float kLampPower = 2.8f;
// The light program, whole (cars, garage), and the builds the track is drawn with, matte and
// without the paint's mirror: [n] lights with the first n of the four lamp slots only.
constexpr int kTrackLightBuilds = 5;
extern GLhandleARB lightProgram;
extern GLhandleARB trackLightPrograms[kTrackLightBuilds];
// Texture times colour, for the sprites and the HUD's pictures: [0] plain, [1] with the fog's
// colour added from the secondary colour.
extern GLhandleARB plainPrograms[2];
// A HUD picture's mask and light in one pass, blended with a second colour from the program;
// 0 where the driver cannot blend so (the two are then drawn as two passes).
extern GLhandleARB maskedLightProgram;
extern GLhandleARB blurProgram;
extern GLhandleARB hdrProgram;
// The sky's two cloud layers in one pass, each from its own texture coordinate (units 0 and 1).
extern GLhandleARB skyProgram;

struct LightUniforms {
    GLint lightPos[4];   // "lightPos", "light2Pos", ... object space, w = 1
    GLint lightColor[4];
    GLint lightOri[4];   // spot direction, object space
    GLint light5Pos;
    GLint light5Color;
    GLint ambientColor;
    GLint matAmbient;
    GLint matDiffuse;
    GLint emissive;
    GLint cameraPos;
    GLint cameraOri; // camera position in object space
    GLint decal;     // unit 0: surface
    GLint decal2;    // unit 1: reflection
    GLint refInt;    // "RefInt": reflection strength
};
struct BlurUniforms {
    GLint texOffset; // (step x, step y, horizontal, vertical)
    GLint decal;
};
struct HdrUniforms {
    GLint exposure;
    GLint gamma;
    GLint decal;  // unit 0: picture
    GLint decal2; // unit 1: the glow history, as luminance
};
extern LightUniforms lightUniforms;
extern LightUniforms trackLightUniforms[kTrackLightBuilds];
extern BlurUniforms blurUniforms;
extern HdrUniforms hdrUniforms;

// Whole text of a shader file (new[]-allocated, NUL-terminated), or null when it cannot be read.
char *readShaderSource(const char *fileName);
// Builds one program from two files. A missing file or a failed link gives false; a link
// failure also shows its info log in a message box.
// `defines` (lines of #define) are put into both sources after their #version line.
// `outputs`, when given, names the fragment program's two outputs: the colour and the blend's
// second source colour.
bool buildProgram(const char *vertexFile, const char *fragmentFile, GLhandleARB *program, const char *defines = "",
                  const char *const *outputs = nullptr);
// The game's programs with their uniform locations: the light program and its track builds, the
// plain program, the one-pass mask and light where the driver has it, the blur, the HDR pass and
// the sky's.
bool buildShaderPrograms();
