// Bright pass for the bloom: keeps what stands out as bright (lamp heads, glows, neon, lit
// paint) and lets the rest fall away, so that the blurred result added over the picture glows
// only where light is. The game runs it twice in a row (on the frame, then on its own result):
// light well above the threshold passes both times nearly unchanged, light near it fades out.
// The threshold rises where last frame's glow was strong, which keeps a street full of lamps
// from washing out.
#version 110

uniform sampler2D decal;  // picture
uniform sampler2D decal2; // last frame's blurred glow (luminance)
uniform float exposure;   // share of the brightness range kept for the glow
uniform float gamma;      // above 1: pushes weak glow down faster than strong glow

const float knee = 0.2;  // the threshold is a soft ramp this wide either side

vec3 brightPart(vec3 c, float threshold)
{
    float lum = dot(c, vec3(0.2126, 0.7152, 0.0722));
    return c * smoothstep(threshold - knee, threshold + knee, lum);
}

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    float glow = texture2D(decal2, uv).r;
    float threshold = clamp(1.0 - exposure + 0.25 * glow, 0.0, 0.95);
    // The first pass shrinks the whole frame to the small picture: four taps spread over the
    // texel, each thresholded on its own, so a lamp a few pixels wide is not first averaged
    // with the dark round it and lost under the threshold. (The game samples the small
    // picture of the second pass without filtering, so there all four taps read one texel.)
    vec2 d = vec2(0.25 / 256.0);
    vec3 sum = brightPart(texture2D(decal, uv + vec2(-d.x, -d.y)).rgb, threshold);
    sum += brightPart(texture2D(decal, uv + vec2(d.x, -d.y)).rgb, threshold);
    sum += brightPart(texture2D(decal, uv + vec2(-d.x, d.y)).rgb, threshold);
    sum += brightPart(texture2D(decal, uv + vec2(d.x, d.y)).rgb, threshold);
    gl_FragColor = vec4(pow(clamp(sum * 0.25, 0.0, 1.0), vec3(gamma)), 1.0);
}
