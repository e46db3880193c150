// Per-pixel street lighting. Everything the lights need is passed on in the object's own
// space, because the game hands the light positions over already moved into that space.
#version 110

varying vec3 objectPos;
varying vec3 objectNormal;
varying vec2 reflectCoord;

void main()
{
    objectPos = gl_Vertex.xyz;
    objectNormal = gl_Normal;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;

    // Mirror image for the car paint: the eye ray reflected off the surface, looked up in the
    // camera-facing reflection picture like a sphere map.
    vec3 eyePos = (gl_ModelViewMatrix * gl_Vertex).xyz;
    vec3 eyeNormal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 r = reflect(normalize(eyePos), eyeNormal);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    reflectCoord = r.xy / max(m, 0.0001) + 0.5;

    gl_Position = ftransform();
}
