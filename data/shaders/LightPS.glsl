// Four street lamps (spot lights pointing down, narrowed by their focus exponent), one fixed
// far light for the general shape, an ambient floor, and the reflection picture on car paint.
#version 110

uniform vec4 lightPos;
uniform vec4 lightColor;
uniform vec3 lightOri;
uniform int lightFocus;
uniform vec4 light2Pos;
uniform vec4 light2Color;
uniform vec3 light2Ori;
uniform int light2Focus;
uniform vec4 light3Pos;
uniform vec4 light3Color;
uniform vec3 light3Ori;
uniform int light3Focus;
uniform vec4 light4Pos;
uniform vec4 light4Color;
uniform vec3 light4Ori;
uniform int light4Focus;
uniform vec4 light5Pos;
uniform vec4 light5Color;

uniform vec4 ambientColor;
uniform vec4 matAmbient;
uniform vec4 matDiffuse;
uniform vec4 matSpecular;
uniform vec4 emissive;
uniform float shininess;

uniform vec3 cameraPos; // kept for the interface; cameraOri is the one the game fills
uniform vec3 cameraOri; // camera position in object space

uniform sampler2D decal;  // surface texture
uniform sampler2D decal2; // reflection picture
uniform float RefInt;     // how much of the reflection shows (0 = none)

varying vec3 objectPos;
varying vec3 objectNormal;
varying vec2 reflectCoord;

// A lamp lights a pool of road about this far across; beyond it the light has faded out.
const float lampReach = 60.0;
// Street lamps are far brighter than the night around them: right under one the road shows its
// full colour, and the pool stands out from the dark between the lamps.
const float lampPower = 2.8;

// Diffuse and specular light of one spot lamp at this point. Written for few transcendental
// operations: one inverse square root and one power per lamp.
vec3 spotLight(vec4 pos, vec4 color, vec3 ori, int focus, vec3 n, vec3 v)
{
    vec3 toLight = pos.xyz - objectPos;
    float dist2 = dot(toLight, toLight);
    vec3 l = toLight * inversesqrt(max(dist2, 0.00000001));
    float diffuse = max(dot(n, l), 0.0);
    // The cone: how straight below the lamp this point is, sharpened by the focus. The game
    // hands over the direction turned into object space, so it is already of unit length.
    float cone = pow(max(-dot(l, ori), 0.0), float(focus));
    // Smooth fall-off to nothing at lampReach.
    float fade = max(1.0 - dist2 / (lampReach * lampReach), 0.0);
    float strength = cone * fade * fade * lampPower;
    vec3 light = color.rgb * matDiffuse.rgb * (diffuse * strength);
    if (shininess > 0.0) {
        vec3 h = normalize(l + v);
        light += color.rgb * matSpecular.rgb * (pow(max(dot(n, h), 0.0), shininess) * strength * step(0.0001, diffuse));
    }
    return light;
}

void main()
{
    vec3 n = normalize(objectNormal);
    vec3 v = normalize(cameraOri - objectPos);
    // Thin geometry such as road markings is seen from both sides.
    if (dot(n, v) < 0.0)
        n = -n;

    vec3 light = ambientColor.rgb * matAmbient.rgb;
    light += spotLight(lightPos, lightColor, lightOri, lightFocus, n, v);
    light += spotLight(light2Pos, light2Color, light2Ori, light2Focus, n, v);
    light += spotLight(light3Pos, light3Color, light3Ori, light3Focus, n, v);
    light += spotLight(light4Pos, light4Color, light4Ori, light4Focus, n, v);

    // The fixed light is far away: plain direction, no cone and no fading.
    vec3 l5 = normalize(light5Pos.xyz - objectPos);
    light += light5Color.rgb * matDiffuse.rgb * max(dot(n, l5), 0.0);

    vec4 texel = texture2D(decal, gl_TexCoord[0].st);
    vec3 color = texel.rgb * gl_Color.rgb * light;
    // What shines by itself (lit windows, neon, lamp heads, car lamps): the material's emissive
    // colour, on the texels its texture's alpha marks. Opaque textures glow all over, so a
    // material without a mask glows as a whole; a material without emissive never glows.
    color += texel.rgb * emissive.rgb * texel.a;

    if (RefInt > 0.0) {
        // Paint reflects more at grazing angles.
        float grazing = 1.0 - max(dot(n, v), 0.0);
        float fresnel = 0.25 + 0.75 * grazing * grazing * grazing;
        vec3 mirrored = texture2D(decal2, reflectCoord).rgb;
        color = mix(color, color + mirrored, clamp(RefInt * fresnel, 0.0, 1.0));
    }

    // The alpha channel carries the glow mask, not coverage: the lit scene is drawn opaque.
    gl_FragColor = vec4(color, 1.0);
}
