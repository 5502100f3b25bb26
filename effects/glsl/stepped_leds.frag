#version 120
#extension GL_ARB_shader_texture_lod : enable
// Billboard III: the glowing LEDs of Billboard II with their luminance in steps and shifted.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;
uniform float tolerance;
uniform float pixelRadius;
uniform int luminanceSteps;
uniform float luminanceBoost;
varying float ledMeanLight;
varying float ledMeanLevel;
varying vec3 towardViewer;

#include "picture_cells.glsl"

#include "led_profile.glsl"

#include "led_light.glsl"

#include "led_glow.glsl"

#include "led_wall.glsl"

#include "led_drive.glsl"

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
    vec3 drive = ledDrive(cellColour(texel, size, cell, footprint));
    gl_FragColor = vec4(wallColour(drive, floor(texel / cell), light, pixelsPerCell), 1.0);
}
