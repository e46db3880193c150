// Per-pixel street lighting, the corner part. Everything the lights need is passed on in the
// object's own space, because the game hands the light positions over already moved into that
// space; what changes little across a face is worked out here, once a corner.
#version 110

uniform vec4 light5Pos;
uniform vec4 light5Color;
uniform vec4 matDiffuse;
uniform vec3 cameraOri;

varying vec3 objectPos;
varying vec3 objectNormal;
varying vec2 texCoord;
varying vec2 reflectCoord;
varying vec3 farLight;
varying float fresnel;

void main()
{
    objectPos = gl_Vertex.xyz;
    objectNormal = gl_Normal;
    texCoord = gl_MultiTexCoord0.st;

    vec3 v = normalize(cameraOri - gl_Vertex.xyz);
    vec3 n = dot(gl_Normal, v) < 0.0 ? -gl_Normal : gl_Normal;
    // The fixed light is far away: plain direction, no cone and no fading.
    farLight = light5Color.rgb * matDiffuse.rgb * max(dot(n, normalize(light5Pos.xyz - gl_Vertex.xyz)), 0.0);
    // Paint mirrors more at grazing angles.
    float grazing = 1.0 - max(dot(n, v), 0.0);
    fresnel = 0.25 + 0.75 * grazing * grazing * grazing;

    // Mirror image for the car paint: the eye ray reflected off the surface, looked up in the
    // camera-facing reflection picture like a sphere map.
    vec3 eyePos = (gl_ModelViewMatrix * gl_Vertex).xyz;
    vec3 eyeNormal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 r = reflect(normalize(eyePos), eyeNormal);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    reflectCoord = r.xy / max(m, 0.0001) + 0.5;

    gl_Position = ftransform();
}
