// The billboard face of the LED effects: the picture coordinate passes through to the fragment
// stage, together with the LED's mean light over its cell, which the far cells show, and the
// way to the viewer.
uniform float tolerance;
uniform float pixelRadius;
varying float ledMeanLight;
varying vec3 towardViewer;

#include "led_profile.glsl"

// The LED's light averaged over its cell, summed over a grid on one quarter of the cell (the
// LED is symmetric). Far or slanted cells show this mean instead of the LED, which would alias
// there, so a wall seen from afar gives the light it gives up close; it depends on uniforms
// only, so each vertex works it out once for the face.
const int kMeanSamples = 24;  // per side of the quarter: about 1% from the exact mean
float meanLedLight()
{
    float spacing = 1.0 / float(kMeanSamples);
    float sum = 0.0;
    for (int j = 0; j < kMeanSamples; ++j) {
        for (int i = 0; i < kMeanSamples; ++i) {
            vec2 at = (vec2(float(i), float(j)) + 0.5) * spacing;
            sum += lightFromLevel(ledProfile(length(at), 1.0e-3));  // sharp, yet a hard edge stays defined
        }
    }
    return sum * spacing * spacing;
}

void placeLedFace()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    ledMeanLight = meanLedLight();
    // The face lies in z = 0 facing +z; the inverse modelview matrix takes the eye there.
    towardViewer = (gl_ModelViewMatrixInverse * vec4(0.0, 0.0, 0.0, 1.0)).xyz - gl_Vertex.xyz;
    gl_Position = ftransform();
}
