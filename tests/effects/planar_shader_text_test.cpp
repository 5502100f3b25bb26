// The planar variant of a fragment shader: its own picture read put aside for the planes' one.
#include "effects/planar_shader_text.h"

#include <gtest/gtest.h>

TEST(PlanarShaderTextTest, ReplacesThePictureReadAndRefusesShadersWithout) {
    const std::string shader =
        "#version 120\nuniform sampler2D billboardTexture;\n"
        "vec3 pictureAt(vec2 st, float lod)\n{\n    return texture2D(billboardTexture, "
        "st).rgb;\n}\n"
        "void main() { gl_FragColor = vec4(pictureAt(gl_TexCoord[0].st, 0.0), 1.0); }\n";
    const std::string planar = planarFragmentText(shader);
    const std::size_t own = planar.find("vec3 pictureAtOfRows(vec2 st, float lod)");
    const std::size_t planes = planar.find("vec3 pictureAt(vec2 st, float lod)");
    ASSERT_NE(own, std::string::npos);
    ASSERT_NE(planes, std::string::npos);
    EXPECT_LT(planar.find("uniform sampler2D billboardTexture;"), planes);
    EXPECT_LT(planes, own);
    EXPECT_NE(planar.find("uniform sampler2D billboardChromaU;"), std::string::npos);
    EXPECT_EQ(planar.substr(planar.find("void main()")), shader.substr(shader.find("void main()")));

    EXPECT_EQ(planarFragmentText("#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n"), "");
    EXPECT_EQ(planarFragmentText("vec3 pictureAt(vec2 st, float lod) { return vec3(0.0); }\n"
                                 "uniform sampler2D billboardTexture;\n"),
              "");
}
