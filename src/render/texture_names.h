// What each entry of the three numbered texture sets holds. Drawing code binds entries by these
// names, never by bare numbers; tools/gen2d paints the files from the same table, so the picture
// in a file and the code that draws it cannot drift apart.
#pragma once

// textureSet: "base/textures/texNN.bmp", NN = entry. All RGB; every entry clamps to the edge
// except TEX_CLOUDS, which repeats.
enum TextureSetEntry {
    TEX_FONT_SHEET = 0,      // the glyph sheet as RGB (the text is drawn from TGA_FONT)
    TEX_SKYBOX_ZNEG = 1,     // sky box face z = z0 (panorama quarter 1)
    TEX_SKYBOX_ZPOS = 2,     // sky box face z = z1 (panorama quarter 3)
    TEX_SKYBOX_TOP = 3,      // sky box top
    TEX_SKYBOX_XNEG = 4,     // sky box face x = x0 (panorama quarter 4)
    TEX_SKYBOX_XPOS = 5,     // sky box face x = x1 (panorama quarter 2)
    TEX_HUD_DIAL_MASK = 6,   // rev dial, multiplied: white lets the scene through
    TEX_HUD_DIAL_LIGHT = 7,  // rev dial, added
    TEX_HUD_NEEDLE_MASK = 8, // rev needle, multiplied; pivot 6/110 up from the bottom edge
    TEX_HUD_NEEDLE_LIGHT = 9,
    TEX_MENU_MAP_ODD = 10,   // race map for odd race numbers
    TEX_ASPHALT = 11,
    TEX_ROAD_LANES = 12,
    TEX_ROAD_START = 13,
    TEX_PAVEMENT = 14,
    TEX_KERB = 15,
    TEX_CONCRETE = 16,
    TEX_BRICK = 17,
    TEX_FACADE_OFFICE = 18,
    TEX_FACADE_FLATS = 19,
    TEX_SHOPFRONT = 20,
    TEX_BARRIER_CHEVRON = 21,
    TEX_GUARD_RAIL = 22,
    TEX_CHECKPOINT = 23,     // checkpoint beacon, drawn additively
    TEX_TYRE_WALL = 24,
    TEX_GRATING = 25,
    TEX_ROAD_ARROW = 26,
    TEX_HUD_BAND_MASK = 27,  // top band, multiplied
    TEX_LAMP_GLOW = 28,      // street-lamp glow billboard, drawn additively
    TEX_HUD_BAND_LIGHT = 29, // top band, added
    TEX_HUD_BEND_ARROW = 30, // bend arrow pointing up, white on black, tinted by the HUD
    TEX_NEON_SIGN = 31,
    TEX_BILLBOARD = 32,
    TEX_MENU_MAP_EVEN = 33,  // race map for even race numbers
    TEX_SHUTTER = 34,
    TEX_ROOFTOP = 35,
    TEX_CLOUDS = 36,         // tileable night clouds; the one repeating entry
    TEX_PARK = 37,
    TEX_WATER = 38,
    TEX_LAMP_POST = 39,
    TEX_BACKDROP = 40,       // soft city backdrop (interface set entry 3)
    TEX_LOADING_LATE = 41,   // second loading picture; lower right kept dark for "Loading..."
    TEX_LOADING_FIRST = 42,  // first loading picture
    TEX_COUNT_GO = 43,       // countdown pictures, drawn additively; GO! is 2:1
    TEX_COUNT_1 = 44,
    TEX_COUNT_2 = 45,
    TEX_COUNT_3 = 46,
    TEX_HEADLIGHT_FLARE = 47,
    TEX_TAILLIGHT_FLARE = 48,
    TEX_LIGHT_TRAIL = 49,
    TEX_TINTED_GLASS = 50,
    TEXTURE_SET_FILES = 51
};

// The entries the game draws, the only ones it loads. The others are painted with the set (the
// mock-ups are made from them) but no screen binds them: the track carries its own materials
// under textures/world, the text is drawn from TGA_FONT, and the loading pictures are the
// interface set's. Loading them too cost 9 MB of textures that nothing reads.
inline constexpr int textureSetDrawn[] = {
    TEX_SKYBOX_ZNEG, TEX_SKYBOX_ZPOS, TEX_SKYBOX_TOP, TEX_SKYBOX_XNEG, TEX_SKYBOX_XPOS, TEX_CLOUDS, // sky
    TEX_HUD_DIAL_MASK, TEX_HUD_DIAL_LIGHT, TEX_HUD_NEEDLE_MASK, TEX_HUD_NEEDLE_LIGHT,               // HUD
    TEX_HUD_BAND_MASK, TEX_HUD_BAND_LIGHT, TEX_HUD_BEND_ARROW,
    TEX_COUNT_GO, TEX_COUNT_1, TEX_COUNT_2, TEX_COUNT_3, // start countdown
    TEX_MENU_MAP_ODD, TEX_MENU_MAP_EVEN,                 // menus
    TEX_CHECKPOINT, TEX_LAMP_GLOW};                      // particles, the lamps' glows

// uiTextures: the interface set, loaded before the main set (file numbers in parentheses). Only
// the start-up loading screen draws from it, its two loading pictures, and only until the
// start-up loading ends; the glyph sheet and the backdrop (7 MB as textures) are not drawn at all
// and not loaded.
enum UiTextureEntry {
    UITEX_LOADING_FIRST = 0, // (42)
    UITEX_LOADING_LATE = 1,  // (41)
    UITEX_FONT_SHEET = 2,    // (00)
    UITEX_BACKDROP = 3,      // (40)
    UI_TEXTURE_COUNT = 4
};
inline constexpr int uiTextureFiles[UI_TEXTURE_COUNT] = {TEX_LOADING_FIRST, TEX_LOADING_LATE, TEX_FONT_SHEET,
                                                         TEX_BACKDROP};

// tgaSet: "base/textures/texNN.tga". Sizes are the quads the game draws them on (800 x 600 screen).
enum TgaSetEntry {
    TGA_MENU_PANEL = 0,          // full-screen menu panel
    TGA_FONT = 1,                // glyphs: rows 0-7 racing set 0, rows 8-15 ordinary set 1
    TGA_MENU_LOGO = 2,           // main-menu logo, 500 x 250
    TGA_GARAGE_STRIP = 3,        // garage floor strip with its moving lights
    TGA_PUFF = 4,                // smoke and dust particle
    TGA_FLAME = 5,               // exhaust flame particle, drawn additively
    TGA_MENU_ARROW_BACK = 6,     // menu arrow, bouncing back layer, 100 x 50, points up
    TGA_SKYLINE = 7,             // skyline band around the track, with alpha; repeats across
    TGA_MENU_ARROW_FRONT = 8,    // menu arrow, still front layer
    TGA_MENU_SELECT_BAR = 9,     // 160 x 40, light so the tint shows; see-through middle
    TGA_MENU_CURSOR = 10,        // 20 x 20, tip at the top left corner
    TGA_MENU_MARKER_PODIUM = 11, // race map marker of a podium race, 20 x 20
    TGA_MENU_MARKER_PLAIN = 12,  // race map marker otherwise
    TGA_MENU_PACKET = 13,        // tuning packet button, 100 x 100
    TGA_GARAGE_WALL = 14,        // garage tunnel wall, wraps round the tunnel
    TGA_MENU_PACKET_LOCKED = 15, // overlay on a locked packet
    TGA_MENU_PACKET_BOUGHT = 16, // overlay on a bought packet
    TGA_MENU_BAR_FRAME = 17,     // value bar frame, 250 x 7
    TGA_MENU_BAR_FILL = 18,      // value bar fill, s 0..1 spans the whole bar
    TGA_MENU_OPTIONS = 19,       // options picture, 467 x 500
    TGA_HUD_NITRO_FILL = 20,     // nitro gauge fill, revealed from the bottom, 200 x 200
    TGA_HUD_NITRO_FRAME = 21,    // nitro gauge frame over the fill
    TGA_SET_FILES = 22
};

// The pictures only the menu screens draw, the pause menu's among them: no race frame, nor its
// countdown or results, draws any. They are let go while a race runs.
inline constexpr int tgaMenuOnly[] = {
    TGA_MENU_PANEL,         TGA_MENU_LOGO,          TGA_GARAGE_STRIP,      TGA_MENU_ARROW_BACK,
    TGA_MENU_ARROW_FRONT,   TGA_MENU_SELECT_BAR,    TGA_MENU_CURSOR,       TGA_MENU_MARKER_PODIUM,
    TGA_MENU_MARKER_PLAIN,  TGA_MENU_PACKET,        TGA_GARAGE_WALL,       TGA_MENU_PACKET_LOCKED,
    TGA_MENU_PACKET_BOUGHT, TGA_MENU_BAR_FRAME,     TGA_MENU_BAR_FILL,     TGA_MENU_OPTIONS};
inline constexpr int textureSetMenuOnly[] = {TEX_MENU_MAP_ODD, TEX_MENU_MAP_EVEN};
