// A HUD picture's light and mask in one pass: the light is the colour the blend adds, the mask
// the second colour it multiplies what is below by (one, second source colour), each times the
// quad's colour as the two passes it stands for would take them.
#version 130

uniform sampler2D lightPicture; // unit 0
uniform sampler2D maskPicture;  // unit 1

in vec2 texCoord;
in vec4 colour;
out vec4 light;
out vec4 mask;

void main()
{
    light = texture(lightPicture, texCoord) * colour;
    mask = texture(maskPicture, texCoord) * colour;
}
