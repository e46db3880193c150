// Texture times colour, the pixel part (see PlainVS), and with FOG_ADDED the fog's share of its
// colour added after it, as GL's colour sum adds it.
#version 110

uniform sampler2D decal;

varying vec2 texCoord;

void main()
{
    vec4 color = texture2D(decal, texCoord) * gl_Color;
#ifdef FOG_ADDED
    color.rgb = clamp(color.rgb + gl_SecondaryColor.rgb, 0.0, 1.0);
#endif
    gl_FragColor = color;
}
