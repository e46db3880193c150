// Bright pass for the bloom: keeps what stands out as bright (lamp heads, glows, neon, lit
// paint) and lets the rest fall away, so that the blurred result added over the picture glows
// only where light is. The ramp is applied twice in a row, the second time to the result of the
// first: light well above it passes both times nearly unchanged, light on the ramp fades out.
// The ramp moves up where the glow of the frames before was strong (the game keeps it as a
// history that follows each frame's glow a part of the way), which keeps a street full of lamps
// from washing out.
#version 110

uniform sampler2D decal;  // picture
uniform sampler2D decal2; // the glow history (luminance)
uniform float exposure;   // where the ramp lies: glow starts at 1 - 2 exposure, is whole at 1 - exposure / 2
uniform float gamma;      // above 1: pushes weak glow down faster than strong glow

// x to the power gamma (for gamma from 1 to 2), near enough for a glow and far cheaper than pow:
// x times x to the gamma - 1, the latter taken on the straight line from 1 to x.
vec3 curve(vec3 x)
{
    return x * mix(vec3(1.0), x, gamma - 1.0);
}

vec3 brightPart(vec3 c, float raise)
{
    // Half luminance, half the strongest channel: deep blue or red neon is dim by luminance
    // alone, yet reads as bright light.
    float lum = dot(c, vec3(0.2126, 0.7152, 0.0722));
    float brightness = 0.5 * (lum + max(c.r, max(c.g, c.b)));
    return c * smoothstep(1.0 - 2.0 * exposure + raise, 1.0 - 0.5 * exposure + raise, brightness);
}

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    float raise = 0.25 * texture2D(decal2, uv).r;
    // The frame shrinks to the small picture: four taps spread over the texel, each kept or
    // dropped on its own, so a lamp a few pixels wide is not first averaged with the dark round
    // it and lost under the ramp.
    vec2 d = vec2(0.25 / 256.0);
    vec3 sum = brightPart(texture2D(decal, uv + vec2(-d.x, -d.y)).rgb, raise);
    sum += brightPart(texture2D(decal, uv + vec2(d.x, -d.y)).rgb, raise);
    sum += brightPart(texture2D(decal, uv + vec2(-d.x, d.y)).rgb, raise);
    sum += brightPart(texture2D(decal, uv + vec2(d.x, d.y)).rgb, raise);
    vec3 once = curve(clamp(sum * 0.25, 0.0, 1.0));
    gl_FragColor = vec4(curve(clamp(brightPart(once, raise), 0.0, 1.0)), 1.0);
}
