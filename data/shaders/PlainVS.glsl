// Texture times colour, as GL's fixed pipeline draws it, for the sprites (smoke, dust, flame,
// the lamps' glows, the checkpoint marker) and the HUD's pictures: written out so that only what
// they use is passed on to each pixel, two texture coordinates rather than four, and the fog's
// colour (the secondary colour) only in the build that adds it, FOG_ADDED.
#version 110

varying vec2 texCoord;

void main()
{
    gl_FrontColor = gl_Color;
#ifdef FOG_ADDED
    gl_FrontSecondaryColor = gl_SecondaryColor;
#endif
    texCoord = gl_MultiTexCoord0.st;
    gl_Position = ftransform();
}
