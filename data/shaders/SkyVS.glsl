// The night sky's two cloud layers in one pass (see SkyPS): the dome is drawn once, carrying for
// each corner where the eye's ray through it meets either layer.
#version 110

varying vec2 outerCoord;
varying vec2 innerCoord;

void main()
{
    gl_FrontColor = gl_Color;
    outerCoord = gl_MultiTexCoord0.st;
    innerCoord = gl_MultiTexCoord1.st;
    // The domes are cut off under the street by a clip plane, which a program must be given the
    // eye-space corner for.
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
