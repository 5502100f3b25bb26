#version 120
#extension GL_ARB_shader_texture_lod : enable
// Billboard III: the glowing LEDs of Billboard II with their luminance in steps and shifted.
uniform sampler2D billboardTexture;
uniform ivec2 billboardSize;
uniform int pixelSize;
uniform float tolerance;
uniform float pixelRadius;
uniform int luminanceSteps;
uniform float luminanceBoost;
varying float ledMeanLight;
varying vec3 towardViewer;

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

// Display levels and light. A point of the face mixes LED and dark face by their light, not by
// their levels, as the eye and the screen add light: levels become light by the display's 2.2
// power and go back the same way. A pure power keeps a lit share s of an LED at level L at the
// level s^(1/2.2) L, so an LED up close shows the same levels as ever.
const float kDisplayGamma = 2.2;
float lightFromLevel(float level)
{
    return pow(max(level, 0.0), kDisplayGamma);
}
vec3 lightFromLevel(vec3 level)
{
    return pow(max(level, vec3(0.0)), vec3(kDisplayGamma));
}
vec3 levelFromLight(vec3 light)
{
    return pow(max(light, vec3(0.0)), vec3(1.0 / kDisplayGamma));
}

// Level of a round LED at `radial` from its cell's centre (1 at the middle of a side), as a
// share of its full level: a disc of pixelRadius whose edge softens over tolerance of that
// radius and `blur` more, inside a faint halo that reaches further the larger tolerance is;
// tolerance 0 gives a hard disc. Its light is lightFromLevel of that share.
const float kHaloLight = 0.5;  // the halo's light at the disc's edge, a share of the disc's
const float kHaloReach = 1.0;  // the halo's reach past the disc at tolerance 1, in half cells
float ledProfile(float radial, float blur)
{
    float outer = pixelRadius;
    float inner = pixelRadius * (1.0 - tolerance);
    float disc = 1.0 - smoothstep(inner - blur, outer + blur, radial);
    float reach = max(outer - inner + kHaloReach * tolerance + blur, 1.0e-4);
    float halo = clamp(1.0 - max(radial - inner, 0.0) / reach, 0.0, 1.0);
    return disc + (1.0 - disc) * kHaloLight * halo * halo;
}

// How much of the LED structure shows: none for cells of two screen pixels or less, where it
// would only alias, all from five on.
float ledDetail(float pixelsPerCell)
{
    return smoothstep(2.0, 5.0, pixelsPerCell);
}

// Light of the LED at this point of its cell, as a share of its full light. Its edge is never
// sharper than one screen pixel, and small cells fade into the LED's mean light.
float ledLight(vec2 cellPosition, float pixelsPerCell, float detail)
{
    if (detail <= 0.0) return ledMeanLight;
    float radial = 2.0 * length(fract(cellPosition) - 0.5);
    float halfPixel = 1.0 / pixelsPerCell;  // radial runs 2 per cell, a pixel is 1/ppc cell
    return mix(ledMeanLight, lightFromLevel(ledProfile(radial, halfPixel)), detail);
}

// A lit LED runs hotter than the picture pixel it shows, to make up for the dark gap around
// it: the drive is the picture's level times kLedGain, and the LED's level follows it near
// black, then bends over to reach full exactly at full drive. It is still rising there
// (a third as steeply as near black), so the picture's upper tones stay apart: grey 64, 128,
// 192 and white light the LED to 0.35, 0.62, 0.83 and 1. Every channel takes the same factor,
// so the hue holds; a drive past full lights the LED to full.
const float kLedGain = 1.6;
const float kLedBend = (kLedGain - 1.0) / kLedGain;  // level(kLedGain) = 1
vec3 ledGlow(vec3 drive)
{
    float peak = max(max(drive.r, drive.g), max(drive.b, 1.0e-4));
    float level = min(peak / (1.0 + kLedBend * peak), 1.0);
    return drive * (level / peak);
}

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

// How hard the LED is driven: the picture's luminance rounded to luminanceSteps even steps
// above off (0: not rounded), run kLedGain hot and shifted by luminanceBoost, so -1 leaves only
// the brightest colours lit and 1 lights even black. The colour keeps its hue; a colour too
// dark to carry one takes the new luminance as grey.
const vec3 kLuminanceWeights = vec3(0.299, 0.587, 0.114);
vec3 ledDrive(vec3 colour)
{
    float luminance = dot(colour, kLuminanceWeights);
    float rounded = luminance;
    if (luminanceSteps > 0) {
        float steps = float(luminanceSteps);
        rounded = floor(luminance * steps + 0.5) / steps;
    }
    float target = max(kLedGain * rounded + luminanceBoost, 0.0);
    vec3 hued = colour * (target / max(luminance, 1.0e-4));
    return mix(vec3(target), hued, clamp(luminance * 20.0, 0.0, 1.0));
}

void main()
{
    vec2 size = max(vec2(billboardSize), vec2(1.0));
    float cell = max(float(pixelSize), 1.0);
    vec2 texel = gl_TexCoord[0].st * size;
    // Picture pixels per screen pixel, along the screen direction that squeezes them most.
    float footprint = max(max(length(dFdx(texel)), length(dFdy(texel))), 1.0e-6);
    float pixelsPerCell = cell / footprint;
    float detail = ledDetail(pixelsPerCell);
    float light = ledLight(texel / cell, pixelsPerCell, detail);
    // Fragments in the gap show the face and read no picture.
    if (light <= 0.0) {
        gl_FragColor = vec4(faceSurface(), 1.0);
        return;
    }
    vec3 drive = ledDrive(cellColour(texel, size, cell, footprint));
    gl_FragColor = vec4(wallColour(drive, floor(texel / cell), light, pixelsPerCell), 1.0);
}
