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

