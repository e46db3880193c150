// One direction of a separable Gaussian blur; the game runs it once down and once across. Each
// tap between two texels reads both at once through the texture's linear filter, so nine reads
// cover a Gaussian of sigma 4 texels reaching 8 texels either side. Each pass also strengthens
// the light by a fifth, so the glow spread round a small lamp stays visible.
#version 110

uniform sampler2D decal;
// xy: one texel; zw: the direction (1, 0) across or (0, 1) down.
uniform vec4 texOffset;

void main()
{
    vec2 step = texOffset.xy * texOffset.zw;
    vec2 uv = gl_TexCoord[0].st;
    vec4 sum = texture2D(decal, uv) * 0.1031526;
    sum += (texture2D(decal, uv + 1.4765797 * step) + texture2D(decal, uv - 1.4765797 * step)) * 0.1910108;
    sum += (texture2D(decal, uv + 3.4455295 * step) + texture2D(decal, uv - 3.4455295 * step)) * 0.1404289;
    sum += (texture2D(decal, uv + 5.4148988 * step) + texture2D(decal, uv - 5.4148988 * step)) * 0.0807155;
    sum += (texture2D(decal, uv + 7.3849121 * step) + texture2D(decal, uv - 7.3849121 * step)) * 0.0362685;
    gl_FragColor = vec4(sum.rgb * 1.2, 1.0);
}
