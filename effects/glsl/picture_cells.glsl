#include "picture_rows.glsl"
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
