// Both cloud layers over the dark sky: each adds the clouds' colour (the vertex colour) by its
// picture's colour and alpha, at the colour's alpha, as a layer drawn on its own with (source
// alpha, one) blending would. Drawn with (one, one) blending.
#version 110

uniform sampler2D clouds;

varying vec2 outerCoord;
varying vec2 innerCoord;

void main()
{
    vec4 outer = texture2D(clouds, outerCoord);
    vec4 inner = texture2D(clouds, innerCoord);
    vec3 both = outer.rgb * outer.a + inner.rgb * inner.a;
    gl_FragColor = vec4(gl_Color.rgb * gl_Color.a * both, 1.0);
}
