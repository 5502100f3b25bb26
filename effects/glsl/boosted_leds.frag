#version 120
#extension GL_ARB_shader_texture_lod : enable
// Billboard IV: the LEDs of Billboard III, more saturated and brighter by colorBoost, and a
// share burntOutPercent of them burnt out.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;
uniform float tolerance;
uniform float pixelRadius;
uniform int luminanceSteps;
uniform float luminanceBoost;
uniform float colorBoost;
uniform float burntOutPercent;
varying float ledMeanLight;
varying vec3 towardViewer;
varying vec4 noiseSeed;

#include "picture_cells.glsl"

#include "led_profile.glsl"

#include "led_light.glsl"

#include "led_glow.glsl"

#include "led_wall.glsl"

#include "led_drive.glsl"

// colorBoost pushes the LED's colour away from its grey and drives it harder. It acts through
// a square root, so small values already add punch (0.03: a fifth more saturation) while 1
// stays tasteful (2.2 times the saturation). Driving harder raises the drive's share of full
// drive to a power below one (1 / 1.5 at most), which lifts the middle tones and leaves full
// drive full, so the upper tones stay apart.
vec3 boostColour(vec3 drive)
{
    float punch = sqrt(colorBoost);
    float grey = dot(drive, kLuminanceWeights);
    vec3 saturated = max(mix(vec3(grey), drive, 1.0 + 1.2 * punch), 0.0);
    vec3 share = saturated / kLedGain;
    return kLedGain * pow(share, vec3(1.0 / (1.0 + 0.5 * punch)));
}

// Whether the LED of a cell works: about burntOutPercent of all cells stay dark, the same ones
// in every frame. The cell's index, shifted by the noise picture's seed, is hashed to an even
// value in [0, 1); a black seed (no noise picture loaded) burns nothing out. Cells of a few
// screen pixels or less take the mean instead, which cannot flicker.
float ledWorks(vec2 cellIndex, float detail)
{
    vec4 seed = floor(noiseSeed + 0.5);  // whole again after interpolation
    vec3 p = fract((cellIndex.xyx + seed.xyz * 17.0 + seed.w) * vec3(0.1031, 0.1030, 0.0973));
    p += dot(p, p.yzx + 33.33);
    float value = fract((p.x + p.y) * p.z);
    float works = (value < burntOutPercent && seed != vec4(0.0)) ? 0.0 : 1.0;
    return mix(1.0 - burntOutPercent, works, detail);
}

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 texel = gl_TexCoord[0].st * size;
    // Picture pixels per screen pixel, along the screen direction that squeezes them most.
    float footprint = max(max(length(dFdx(texel)), length(dFdy(texel))), 1.0e-6);
    float pixelsPerCell = cell / footprint;
    float detail = ledDetail(pixelsPerCell);
    float light = ledLight(texel / cell, pixelsPerCell, detail);
    // Fragments in the gap show the face and read no picture.
    if (light <= 0.0) {
        gl_FragColor = vec4(faceSurface(), 1.0);
        return;
    }
    vec2 cellIndex = floor(texel / cell);
    light *= ledWorks(cellIndex, detail);
    // Nor do burnt-out LEDs.
    if (light <= 0.0) {
        gl_FragColor = vec4(faceSurface(), 1.0);
        return;
    }
    vec3 drive = boostColour(ledDrive(cellColour(texel, size, cell, footprint)));
    gl_FragColor = vec4(wallColour(drive, cellIndex, light, pixelsPerCell), 1.0);
}
