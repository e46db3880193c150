// Camera-facing sprites: the smoke, dust and flame, the lamps' glows and the checkpoint marker.
// What GL's fixed pipeline would draw, texture times colour, written out so that only what they
// use is passed on to each pixel: two texture coordinates rather than four, and the fog's colour
// (the secondary colour) only in the build that adds it, FOG_ADDED.
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
