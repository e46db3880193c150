// Per-pixel street lighting: four street lamps (spot lights pointing down, narrowed by their
// focus exponent), with the fixed far light, an ambient floor, the surface's own glow and, on
// car paint, the reflection picture. The far light and the paint's angle change little across a
// face and come from the corners (LightVS). Every surface is matte: nothing the game draws has a
// highlight of its own.
//
// The lit scene is drawn in white, so the vertex colour is not read. Written for a software
// rasteriser: it runs every instruction for every pixel, whichever way a branch goes, so the
// lamps are plain arithmetic with no power function, and every value passed from the corners is
// one more to interpolate at each pixel. What a surface does not need is left out when the game
// builds the program instead: it defines LAMP_REACH, LAMP_FOCUS and LAMP_POWER always, and for
// the track NO_PAINT (the street never mirrors), LAMPS_STRAIGHT_DOWN (it stands where it is
// drawn) and LAMP_COUNT, the number of lamps that reach the part being drawn (the others would
// add less than half a level of the frame's colour there, so they are left out and those that
// do reach take the first slots).
#version 110

#ifndef LAMP_COUNT
#define LAMP_COUNT 4
#endif

uniform vec4 lightPos;
uniform vec4 lightColor;
uniform vec3 lightOri;
uniform vec4 light2Pos;
uniform vec4 light2Color;
uniform vec3 light2Ori;
uniform vec4 light3Pos;
uniform vec4 light3Color;
uniform vec3 light3Ori;
uniform vec4 light4Pos;
uniform vec4 light4Color;
uniform vec3 light4Ori;

uniform vec4 ambientColor;
uniform vec4 matAmbient;
uniform vec4 matDiffuse;
uniform vec4 emissive;

uniform vec3 cameraPos; // kept for the interface; cameraOri is the one the game fills
uniform vec3 cameraOri; // camera position in object space

uniform sampler2D decal;  // surface texture
uniform sampler2D decal2; // reflection picture
uniform float RefInt;     // how much of the reflection shows (0 = none)

varying vec3 objectPos;
varying vec3 objectNormal;
varying vec2 texCoord;    // the surface texture's (gl_TexCoord[0] would carry four)
varying vec2 reflectCoord;
varying vec3 farLight;    // the fixed far light, from the corners
varying float fresnel;    // how much the paint mirrors at this angle

// A lamp lights a pool of road LAMP_REACH across; beyond it the light has faded out.
const float lampReach = LAMP_REACH;
// Street lamps are far brighter than the night around them: right under one the road shows its
// full colour, and the pool stands out from the dark between the lamps.
const float lampPower = LAMP_POWER;

// c to the power of the lamps' focus exponent, LAMP_FOCUS (whole, 0 to 7): the product of c, c
// squared and c to the fourth picked by the exponent's bits when the program is built. Every
// street lamp has the same exponent; read per lamp and worked out per pixel, the power cost a
// dozen steps a lamp.
float focusPower(float c)
{
    float p = 1.0;
#if LAMP_FOCUS & 1
    p *= c;
#endif
#if LAMP_FOCUS & 2
    p *= c * c;
#endif
#if LAMP_FOCUS & 4
    p *= (c * c) * (c * c);
#endif
    return p;
}

// How strongly one lamp lights this point: facing it, inside its cone, within its reach.
float lampStrength(vec4 pos, vec3 ori, vec3 n)
{
    vec3 toLight = pos.xyz - objectPos;
    float dist2 = dot(toLight, toLight);
    float inv = inversesqrt(max(dist2, 0.00000001));
    float diffuse = max(dot(n, toLight) * inv, 0.0);
#ifdef LAMPS_STRAIGHT_DOWN
    // Drawn where it stands, under lamps that all point straight down: the cone's cosine is the
    // lamp's height over the point, over the distance.
    float cone = focusPower(max(toLight.y * inv, 0.0));
#else
    // The game hands over the direction turned into object space, so it is of unit length.
    float cone = focusPower(max(-dot(toLight, ori) * inv, 0.0));
#endif
    float fade = max(1.0 - dist2 * (1.0 / (lampReach * lampReach)), 0.0);
    return diffuse * cone * fade * fade;
}

void main()
{
    // Thin geometry such as road markings is seen from both sides. Faces are flat (or nearly,
    // on the cars), so the interpolated normal is used as it comes.
    vec3 n = objectNormal;
    if (dot(n, cameraOri - objectPos) < 0.0)
        n = -n;

    vec3 light = ambientColor.rgb * matAmbient.rgb + farLight;
#if LAMP_COUNT > 0
    vec3 lamps = lightColor.rgb * lampStrength(lightPos, lightOri, n);
#if LAMP_COUNT > 1
    lamps += light2Color.rgb * lampStrength(light2Pos, light2Ori, n);
#endif
#if LAMP_COUNT > 2
    lamps += light3Color.rgb * lampStrength(light3Pos, light3Ori, n);
#endif
#if LAMP_COUNT > 3
    lamps += light4Color.rgb * lampStrength(light4Pos, light4Ori, n);
#endif
    light += lamps * (matDiffuse.rgb * lampPower);
#endif

    vec4 texel = texture2D(decal, texCoord);
    vec3 color = texel.rgb * light;
    // What shines by itself (lit windows, neon, lamp heads, car lamps): the material's emissive
    // colour, on the texels its texture's alpha marks. Opaque textures glow all over, so a
    // material without a mask glows as a whole; a material without emissive never glows.
    color += texel.rgb * emissive.rgb * texel.a;

#ifndef NO_PAINT
    // Car paint: the mirrored street added, more of it at grazing angles.
    vec3 mirrored = texture2D(decal2, reflectCoord).rgb;
    color += mirrored * clamp(RefInt * fresnel, 0.0, 1.0);
#endif

    // The alpha channel carries the glow mask, not coverage: the lit scene is drawn opaque.
    gl_FragColor = vec4(color, 1.0);
}
