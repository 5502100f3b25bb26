#version 120
// Billboard II: each cell is a round LED on a dark background.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;
uniform float tolerance;
uniform float pixelRadius;

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 cellPos = gl_TexCoord[0].st * size / cell;
    vec2 center = (floor(cellPos) + 0.5) * cell;
    vec3 color = texture2D(billboardTexture, center / size).rgb;
    float d = length(fract(cellPos) - 0.5) * 2.0;
    float edge = max(tolerance, 0.01) * 0.5;
    float lit = 1.0 - smoothstep(pixelRadius - edge, pixelRadius + edge, d);
    gl_FragColor = vec4(color * lit, 1.0);
}
