#include "effects/planar_shader_text.h"

namespace {

constexpr std::string_view kPictureDeclaration = "uniform sampler2D billboardTexture;";
constexpr std::string_view kPictureRead = "vec3 pictureAt(";
constexpr std::string_view kPictureReadPutAside = "vec3 pictureAtOfRows(";

// Chroma is half the picture's size, so the level of the same detail is one higher up.
constexpr std::string_view kPlanarRead =
    R"(// Frames kept as planes: luma on the picture's unit, chroma at half its size on two more.
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

)";

}  // namespace

std::string planarFragmentText(std::string_view text) {
    const std::size_t declared = text.find(kPictureDeclaration);
    const std::size_t read = text.find(kPictureRead);
    if (declared == std::string_view::npos || read == std::string_view::npos || read < declared)
        return {};
    std::string planar(text.substr(0, read));
    planar += kPlanarRead;
    planar += kPictureReadPutAside;
    planar += text.substr(read + kPictureRead.size());
    return planar;
}
