// One direction of a separable Gaussian blur; the game runs it once across and once down.
#version 110

uniform sampler2D decal;
// xy: one texel; zw: the direction (1, 0) across or (0, 1) down.
uniform vec4 texOffset;

void main()
{
    vec2 step = texOffset.xy * texOffset.zw;
    vec2 uv = gl_TexCoord[0].st;
    // Nine taps of a Gaussian of about two texels (weights sum to 1).
    vec4 sum = texture2D(decal, uv) * 0.2270270;
    sum += (texture2D(decal, uv + step) + texture2D(decal, uv - step)) * 0.1945946;
    sum += (texture2D(decal, uv + 2.0 * step) + texture2D(decal, uv - 2.0 * step)) * 0.1216216;
    sum += (texture2D(decal, uv + 3.0 * step) + texture2D(decal, uv - 3.0 * step)) * 0.0540541;
    sum += (texture2D(decal, uv + 4.0 * step) + texture2D(decal, uv - 4.0 * step)) * 0.0162162;
    gl_FragColor = vec4(sum.rgb, 1.0);
}
