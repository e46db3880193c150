// A HUD picture drawn as a mask and a light in one pass (see MaskedPS).
#version 130

out vec2 texCoord;
out vec4 colour;

void main()
{
    colour = gl_Color;
    texCoord = gl_MultiTexCoord0.st;
    gl_Position = ftransform();
}
