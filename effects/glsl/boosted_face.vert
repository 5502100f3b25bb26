#version 120
#include "led_face.glsl"

// Which LEDs burn out is chosen by the noise picture: two samples of it, read once per vertex,
// seed the fragment stage's hash of each cell's index. A per-fragment read of the noise would
// cost more than all the LED's own light on a rasteriser without texture hardware. The seed
// goes out as whole numbers, the same at every vertex, so the fragment stage can round away
// what interpolation adds and every fragment of the face sees the same seed.
uniform sampler2D noiseTexture;
varying vec4 noiseSeed;

void main()
{
    placeLedFace();
    vec2 first = texture2DLod(noiseTexture, vec2(0.3, 0.3), 0.0).rg;
    vec2 second = texture2DLod(noiseTexture, vec2(0.7, 0.65), 0.0).rg;
    noiseSeed = floor(vec4(first, second) * 255.0 + 0.5);
}
