#version 120
// Billboard I: square cells of pixelSize picture pixels, one flat colour each.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 center = (floor(gl_TexCoord[0].st * size / cell) + 0.5) * cell;
    gl_FragColor = vec4(texture2D(billboardTexture, center / size).rgb, 1.0);
}
