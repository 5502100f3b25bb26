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

