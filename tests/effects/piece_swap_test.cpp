// The fragment shaders for frames kept as planes are their effect's own with one piece
// swapped: the swapped piece is put in wherever it is included, nested too, and every other
// byte stays; a source that never includes it gives no shader.
#include "tools/shader_generator/shader_assembly.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

TEST(PieceSwapTest, PutsThePieceInPlaceOfTheSwappedOneAndKeepsEveryOtherByte) {
    testsupport::TempFolder pieces;
    pieces.write("effect.frag",
                 "#version 120\nuniform sampler2D billboardTexture;\n#include \"cells.glsl\"\n"
                 "void main() { gl_FragColor = vec4(cellColour(), 1.0); }\n");
    pieces.write("cells.glsl",
                 "#include \"rows.glsl\"\nvec3 cellColour() { return pictureAt(); }\n");
    pieces.write("rows.glsl", "vec3 pictureAt() { return texture2D(billboardTexture, st).rgb; }\n");
    pieces.write("planes.glsl", "uniform sampler2D billboardChromaU;\nvec3 pictureAt() { ... }\n");

    const shadergen::PieceSwap planes{"rows.glsl", "planes.glsl"};
    const shadergen::AssembledShader own =
        shadergen::assembleShader(pieces.folder(), "effect.frag");
    const shadergen::AssembledShader swapped =
        shadergen::assembleShader(pieces.folder(), "effect.frag", &planes);
    ASSERT_TRUE(own.ok) << own.error;
    ASSERT_TRUE(swapped.ok) << swapped.error;
    const std::string head = "#version 120\nuniform sampler2D billboardTexture;\n";
    const std::string tail =
        "vec3 cellColour() { return pictureAt(); }\n"
        "void main() { gl_FragColor = vec4(cellColour(), 1.0); }\n";
    EXPECT_EQ(own.text,
              head + "vec3 pictureAt() { return texture2D(billboardTexture, st).rgb; }\n" + tail);
    EXPECT_EQ(swapped.text,
              head + "uniform sampler2D billboardChromaU;\nvec3 pictureAt() { ... }\n" + tail);

    pieces.write("other.frag", "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n");
    const shadergen::AssembledShader without =
        shadergen::assembleShader(pieces.folder(), "other.frag", &planes);
    EXPECT_FALSE(without.ok);
    EXPECT_EQ(without.text, "");
    EXPECT_EQ(without.error, "other.frag: includes no rows.glsl to put planes.glsl in");
}
