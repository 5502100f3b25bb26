// The wall as a viewer sees it: LEDs whose light depends on where the viewer stands and on
// the LED itself, on a face that is dark but not black. towardViewer runs from this point of
// the face to the eye, in the face's own coordinates (the face lies in z = 0 facing +z).

// Share of its straight-ahead light an LED sends towards the viewer, per colour channel: half
// at kSideHalfTangent sideways (tangent of the angle off the axis) and at kUpHalfTangent up or
// down, where the housing shades the dies sooner, and nothing edge-on. Near the axis it stays
// close to full (97% or more within 25 degrees sideways, 94% within 20 up or down). The red,
// green and blue dies sit apart, so their halves differ a little and white tints at steep
// angles: bluish from the side, warm from below.
const vec3 kSideHalfTangent = vec3(2.475, 2.747, 2.989);  // 68, 70 and 71.5 degrees
const vec3 kUpHalfTangent = vec3(1.072, 1.0, 0.933);      // 47, 45 and 43 degrees
vec3 viewingFalloff()
{
    vec2 across = abs(towardViewer.xy) / max(towardViewer.z, 1.0e-6);
    across = min(across, vec2(1.0e4));  // edge-on: a large finite tangent, not infinity
    vec3 side = across.x / kSideHalfTangent;
    vec3 up = across.y / kUpHalfTangent;
    return 1.0 / (1.0 + side * side + up * up * up);
}

// Each LED's own fixed deviation from its nominal level: up to kBrightnessSpread in brightness
// and kColourSpread more per channel, either way and even around zero. It comes from the cell's
// index alone, so an LED keeps it in every frame and from every place. It shows only up close,
// where one LED can be told from the next: none until a cell spans eight screen pixels, all from
// sixteen on, so a wall seen from afar shows its exact mean light.
const float kBrightnessSpread = 0.035;
const float kColourSpread = 0.015;
vec3 ledSpread(vec2 cellIndex, float pixelsPerCell)
{
    vec4 p = fract(cellIndex.xyxy * vec4(0.1031, 0.1030, 0.0973, 0.1099));
    p += dot(p, p.wzxy + 33.33);
    vec4 spread = 2.0 * fract((p.xxyz + p.yzzw) * p.zywx) - 1.0;  // each in [-1, 1)
    float shown = smoothstep(8.0, 16.0, pixelsPerCell);
    return 1.0 + shown * (kBrightnessSpread * spread.w + kColourSpread * spread.xyz);
}

// The face between the LEDs: a dark grey that catches a faint sheen towards glancing angles,
// never so much that it outshines the LEDs it surrounds.
const vec3 kFaceBlack = vec3(0.030, 0.030, 0.034);
const vec3 kFaceSheen = vec3(0.060, 0.060, 0.068);
vec3 faceSurface()
{
    vec3 view = towardViewer * inversesqrt(max(dot(towardViewer, towardViewer), 1.0e-12));
    float glancing = 1.0 - clamp(view.z, 0.0, 1.0);
    glancing *= glancing;
    return kFaceBlack + kFaceSheen * (glancing * glancing);
}

// This point of the face: the LED's glow for `drive` at its own spread, dimmed and tinted by
// the viewing angle, giving the share `light` of the point's light and the face's surface the
// rest. The spread comes after the glow, so an LED that is a little dim is so at every level.
vec3 wallColour(vec3 drive, vec2 cellIndex, float light, float pixelsPerCell)
{
    vec3 level = min(ledGlow(drive) * ledSpread(cellIndex, pixelsPerCell), 1.0);
    vec3 led = level * viewingFalloff();
    vec3 mixed = light * lightFromLevel(led) + (1.0 - light) * lightFromLevel(faceSurface());
    return levelFromLight(mixed);
}
