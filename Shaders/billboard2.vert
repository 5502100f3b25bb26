#version 120
// The billboard face of the LED effects: the picture coordinate passes through to the fragment
// stage, together with the LED's mean light over its cell, which the far cells show, and the
// way to the viewer.
uniform float tolerance;
uniform float pixelRadius;
varying float ledMeanLight;
varying vec3 towardViewer;

// Display levels and light. A point of the face mixes LED and dark face by their light, not by
// their levels, as the eye and the screen add light: levels become light by the display's 2.2
// power and go back the same way. A pure power keeps a lit share s of an LED at level L at the
// level s^(1/2.2) L, so an LED up close shows the same levels as ever.
const float kDisplayGamma = 2.2;
float lightFromLevel(float level)
{
    return pow(max(level, 0.0), kDisplayGamma);
}
vec3 lightFromLevel(vec3 level)
{
    return pow(max(level, vec3(0.0)), vec3(kDisplayGamma));
}
vec3 levelFromLight(vec3 light)
{
    return pow(max(light, vec3(0.0)), vec3(1.0 / kDisplayGamma));
}

// Level of a round LED at `radial` from its cell's centre (1 at the middle of a side), as a
// share of its full level: a disc of pixelRadius whose edge softens over tolerance of that
// radius and `blur` more, inside a faint halo that reaches further the larger tolerance is;
// tolerance 0 gives a hard disc. Its light is lightFromLevel of that share.
const float kHaloLight = 0.5;  // the halo's light at the disc's edge, a share of the disc's
const float kHaloReach = 1.0;  // the halo's reach past the disc at tolerance 1, in half cells
float ledProfile(float radial, float blur)
{
    float outer = pixelRadius;
    float inner = pixelRadius * (1.0 - tolerance);
    float disc = 1.0 - smoothstep(inner - blur, outer + blur, radial);
    float reach = max(outer - inner + kHaloReach * tolerance + blur, 1.0e-4);
    float halo = clamp(1.0 - max(radial - inner, 0.0) / reach, 0.0, 1.0);
    return disc + (1.0 - disc) * kHaloLight * halo * halo;
}

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

void main()
{
    placeLedFace();
}
