#version 120
#extension GL_ARB_shader_texture_lod : enable
// Billboard III: the round LEDs of Billboard II with their luminance in steps and boosted.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;
uniform float tolerance;
uniform float pixelRadius;
uniform int luminanceSteps;
uniform float luminanceBoost;

// The picture at a chosen level of detail. Without the extension the driver picks the level,
// which is sound everywhere but next to cell borders.
vec3 pictureAt(vec2 st, float lod)
{
#ifdef GL_ARB_shader_texture_lod
    return texture2DLod(billboardTexture, st, lod).rgb;
#else
    return texture2D(billboardTexture, st).rgb;
#endif
}

// The picture as flat cells: each cell takes the picture's mean over the cell (the mipmap
// half a level below the cell's size, read at the cell's centre; a cell cut off by the
// picture's edge is centred on the part inside). Cells of less than a few screen pixels
// fade into the smoothly filtered picture, so a far or slanted face does not shimmer.
vec3 cellColour(vec2 texel, vec2 size, float cell, float footprint)
{
    vec2 cellStart = floor(texel / cell) * cell;
    vec2 cellCentre = (cellStart + min(cellStart + cell, size)) * 0.5;
    vec3 whole = pictureAt(cellCentre / size, log2(cell) - 0.5);
    float cellDetail = smoothstep(1.0, 3.0, cell / footprint);
    if (cellDetail >= 1.0) return whole;  // the usual case spares the second read
    vec3 filtered = pictureAt(gl_TexCoord[0].st, log2(footprint));
    return mix(filtered, whole, cellDetail);
}

// Light of the round LED at this point of its cell: 1 inside, 0 in the dark gap. The LED
// fills pixelRadius of the half cell; its edge softens over tolerance of that radius and is
// never sharper than one screen pixel. Cells of a few screen pixels or less show the mean
// light over the cell instead of the LED structure, which would only alias there.
float ledLight(vec2 cellPosition, float pixelsPerCell)
{
    float radial = 2.0 * length(fract(cellPosition) - 0.5);  // 1 at the middle of a side
    float outer = pixelRadius;
    float inner = pixelRadius * (1.0 - tolerance);
    float halfPixel = 1.0 / pixelsPerCell;  // distance runs 2 per cell, a pixel is 1/ppc cell
    float light = 1.0 - smoothstep(inner - halfPixel, outer + halfPixel, radial);
    // Mean over the cell (area 4 in these units) of a disc with a linear edge: pi/12 (a²+ab+b²).
    float mean = 0.2617994 * (inner * inner + inner * outer + outer * outer);
    return mix(mean, light, smoothstep(2.0, 5.0, pixelsPerCell));
}

// The luminance rounded to luminanceSteps even brightness steps above off (0: not rounded),
// then shifted by luminanceBoost as a share of itself, the way an LED's drive is turned up
// or down: -1 is off, 0 unchanged, 1 twice as bright, and black stays black. The colour
// keeps its hue; a colour too dark to carry one takes the new luminance as grey.
vec3 shiftLuminance(vec3 colour)
{
    float luminance = dot(colour, vec3(0.299, 0.587, 0.114));
    float target = luminance;
    if (luminanceSteps > 0) {
        float steps = float(luminanceSteps);
        target = floor(luminance * steps + 0.5) / steps;
    }
    target = clamp(target * (1.0 + luminanceBoost), 0.0, 1.0);
    vec3 hued = clamp(colour * (target / max(luminance, 1.0e-4)), 0.0, 1.0);
    return mix(vec3(target), hued, smoothstep(0.0, 0.05, luminance));
}

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 texel = gl_TexCoord[0].st * size;
    // Picture pixels per screen pixel, along the screen direction that squeezes them most.
    float footprint = max(max(length(dFdx(texel)), length(dFdy(texel))), 1.0e-6);
    float light = ledLight(texel / cell, cell / footprint);
    // Fragments in the dark gap read no picture.
    if (light <= 0.0) {
        gl_FragColor = vec4(0.0, 0.0, 0.0, 1.0);
        return;
    }
    vec3 colour = shiftLuminance(cellColour(texel, size, cell, footprint));
    gl_FragColor = vec4(colour * light, 1.0);
}
