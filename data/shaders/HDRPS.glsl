// Bright pass for the bloom: keeps what stands out as bright (lamps, glows, lit paint) and
// darkens the rest, so that the blurred result added over the picture glows only where light
// is. The threshold rises where last frame's glow was strong, which keeps a street full of
// lamps from washing out.
#version 110

uniform sampler2D decal;  // picture
uniform sampler2D decal2; // last frame's blurred glow (luminance)
uniform float exposure;   // share of the brightness range kept for the glow
uniform float gamma;      // above 1: pushes weak glow down faster than strong glow

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec3 c = texture2D(decal, uv).rgb;
    float glow = texture2D(decal2, uv).r;
    float lum = dot(c, vec3(0.2126, 0.7152, 0.0722));

    float threshold = clamp(1.0 - exposure + 0.25 * glow, 0.0, 0.95);
    float kept = max(lum - threshold, 0.0) / (1.0 - threshold);
    vec3 bright = c * (kept / max(lum, 0.0001));
    gl_FragColor = vec4(pow(clamp(bright, 0.0, 1.0), vec3(gamma)), 1.0);
}
