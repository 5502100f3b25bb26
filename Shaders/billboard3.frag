#version 120
// Billboard III: round LEDs with quantised luminance.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;
uniform float tolerance;
uniform float pixelRadius;
uniform int luminanceSteps;
uniform float luminanceBoost;

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 cellPos = gl_TexCoord[0].st * size / cell;
    vec2 center = (floor(cellPos) + 0.5) * cell;
    vec3 color = texture2D(billboardTexture, center / size).rgb;
    float luma = dot(color, vec3(0.299, 0.587, 0.114));
    float target = luma;
    if (luminanceSteps > 0) {
        float steps = float(luminanceSteps);
        target = floor(luma * steps + 0.5) / steps;
    }
    target = clamp(target + luminanceBoost, 0.0, 1.0);
    color *= target / max(luma, 0.001);
    float d = length(fract(cellPos) - 0.5) * 2.0;
    float edge = max(tolerance, 0.01) * 0.5;
    float lit = 1.0 - smoothstep(pixelRadius - edge, pixelRadius + edge, d);
    gl_FragColor = vec4(clamp(color, 0.0, 1.0) * lit, 1.0);
}
