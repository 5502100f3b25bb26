#version 120
#extension GL_ARB_shader_texture_lod : enable
// Billboard I: the picture as square cells of pixelSize picture pixels, each one flat colour.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;

#include "picture_cells.glsl"

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 texel = gl_TexCoord[0].st * size;
    // Picture pixels per screen pixel, along the screen direction that squeezes them most.
    float footprint = max(max(length(dFdx(texel)), length(dFdy(texel))), 1.0e-6);
    gl_FragColor = vec4(cellColour(texel, size, cell, footprint), 1.0);
}
