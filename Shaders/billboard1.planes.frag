#version 120
#extension GL_ARB_shader_texture_lod : enable
// Billboard I: the picture as square cells of pixelSize picture pixels, each one flat colour.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;

// The picture at a chosen level of detail, from frames kept as planes: luma on the picture's
// unit, chroma at half its size on two more, turned into RGB. Chroma is half the picture's
// size, so the level of the same detail is one higher up. Without the extension the driver
// picks the level.
uniform sampler2D billboardChromaU;
uniform sampler2D billboardChromaV;
uniform mat3 billboardYuvMatrix;
uniform vec3 billboardYuvOffset;
vec3 pictureAt(vec2 st, float lod)
{
#ifdef GL_ARB_shader_texture_lod
    float chromaLod = max(lod - 1.0, 0.0);
    vec3 yuv = vec3(texture2DLod(billboardTexture, st, lod).r,
                    texture2DLod(billboardChromaU, st, chromaLod).r,
                    texture2DLod(billboardChromaV, st, chromaLod).r);
#else
    vec3 yuv = vec3(texture2D(billboardTexture, st).r, texture2D(billboardChromaU, st).r,
                    texture2D(billboardChromaV, st).r);
#endif
    return clamp(billboardYuvMatrix * yuv + billboardYuvOffset, 0.0, 1.0);
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

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 texel = gl_TexCoord[0].st * size;
    // Picture pixels per screen pixel, along the screen direction that squeezes them most.
    float footprint = max(max(length(dFdx(texel)), length(dFdy(texel))), 1.0e-6);
    gl_FragColor = vec4(cellColour(texel, size, cell, footprint), 1.0);
}
