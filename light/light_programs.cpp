// The light passes' shaders. They work on linear light throughout, in nits times the exposure
// (the tone curve's key over the adaptation luminance); levels are decoded from sRGB where the
// frame is read and encoded again only at the tone curve's end.
#include "light/light_programs.h"

#include <string>

namespace {

const char* const kFullWindowVertex = R"(#version 120
// A quad given in clip coordinates, so no matrix is needed.
void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_Vertex;
}
)";

const char* const kSrgbEncoding = R"(
// sRGB's encoding (IEC 61966-2-1): its power segment fitted by least squares in x, x^1/2,
// x^1/4 and x^1/8, within 0.012 of an 8-bit level, as square roots cost far less than powers.
vec3 srgbFromLight(vec3 v)
{
    vec3 half1 = sqrt(v), quarter1 = sqrt(half1), eighth1 = sqrt(quarter1);
    vec3 curve = -0.017574372 * v + 0.64239834 * half1 + 0.71207315 * quarter1 -
                 0.33685444 * eighth1;
    return mix(v * 12.92, curve, step(0.0031308, v));
}
)";

const char* const kFaceLight = R"(
// The drawn frame: its colour an sRGB texture, so read as light; its alpha 1 on the face.
uniform sampler2D frameLevels;
// The face's light from its drawn level, LEDs above the face's own black and the ambient light
// it reflects, both given already scaled to the output.
uniform float faceBlackLight;
uniform float faceGain;
uniform float faceReflected;
const float kPi = 3.14159265;

// The light of a drawn texel, where a surface other than the face is lit by `surfaceGain` per
// unit of its drawn level (its reflectance).
vec3 lightOfDrawn(vec4 drawn, vec3 surfaceGain)
{
    vec3 face = max(drawn.rgb - faceBlackLight, 0.0) * faceGain + faceReflected;
    return mix(drawn.rgb * surfaceGain, face, drawn.a);
}
)";

const char* const kQuarterMain = R"(
// At a quarter of the frame's size: the frame's light times the exposure, the glare's first
// level, each texel the mean of its 4 by 4 pixels (four bilinear reads between four pixels
// each); and in its alpha the luminance of the wall's spill there, in the output's gain per
// unit of reflectance, which is smooth enough to be read back bilinearly at full size.
uniform sampler2D frameDepth;
uniform mat4 clipToWorld;
uniform vec3 eyePosition;
uniform vec2 frameTexel;
uniform float ambientLux;
uniform float exposure;      // the tone curve's key over the adaptation luminance, per nit
uniform float shownGain;     // exposure times the share of light the eye does not scatter
// The wall lights what faces it as 8 patches, each a small source of the content's mean light
// over it: their centres, their luminance (the patches' light times the wall's peak), their
// area and the wall's normal.
uniform vec3 patchCentres[8];
uniform vec3 patchNits[8];
uniform float patchArea;
uniform vec3 wallNormal;
// Half floats hold the levels; far beyond white they need not be kept.
const float kLargestLevel = 60000.0;
const vec3 kLuminanceWeights = vec3(0.2126, 0.7152, 0.0722);

vec3 spillLux(vec3 world, vec3 normal)
{
    vec3 lux = vec3(0.0);
    for (int i = 0; i < 8; ++i) {
        vec3 toPatch = patchCentres[i] - world;
        float inverse2 = 1.0 / max(dot(toPatch, toPatch), 1.0e-12);
        // The cosines at both ends, each over the distance; a patch acts as a point beyond
        // its own size, and nearer, its light stops growing.
        float cosines = max(dot(normal, toPatch), 0.0) * max(-dot(wallNormal, toPatch), 0.0);
        lux += patchNits[i] * (cosines * inverse2 * min(patchArea * inverse2, 1.0));
    }
    return lux;
}

void main()
{
    vec2 st = gl_TexCoord[0].st;
    float depth = texture2D(frameDepth, st).r;
    vec4 world4 = clipToWorld * vec4(st * 2.0 - 1.0, depth * 2.0 - 1.0, 1.0);
    vec3 world = world4.xyz / world4.w;
    // The surface's normal from its neighbours, worked out before any branch.
    vec3 across = cross(dFdx(world), dFdy(world));
    vec3 normal = across * inversesqrt(max(dot(across, across), 1.0e-24));
    if (dot(normal, eyePosition - world) < 0.0) normal = -normal;
    vec3 spill = vec3(0.0);
    if (depth < 1.0) spill = spillLux(world, normal);

    // Any surface but the face: its drawn level is its reflectance, lit diffusely.
    vec3 gain = (ambientLux + spill) * (exposure / kPi);
    vec3 light = lightOfDrawn(texture2D(frameLevels, st + vec2(-1.0, -1.0) * frameTexel), gain);
    light += lightOfDrawn(texture2D(frameLevels, st + vec2(1.0, -1.0) * frameTexel), gain);
    light += lightOfDrawn(texture2D(frameLevels, st + vec2(-1.0, 1.0) * frameTexel), gain);
    light += lightOfDrawn(texture2D(frameLevels, st + vec2(1.0, 1.0) * frameTexel), gain);
    float spillGain = dot(spill, kLuminanceWeights) * (shownGain / kPi);
    gl_FragColor = vec4(min(light * 0.25, kLargestLevel), min(spillGain, kLargestLevel));
}
)";

const char* const kDownsampleFragment = R"(#version 120
// The mean of the 4 by 4 texels around this texel of the level twice its size: four bilinear
// reads each between four texels.
uniform sampler2D source;
uniform vec2 sourceTexel;
void main()
{
    vec2 st = gl_TexCoord[0].st;
    vec3 sum = texture2D(source, st + vec2(-1.0, -1.0) * sourceTexel).rgb;
    sum += texture2D(source, st + vec2(1.0, -1.0) * sourceTexel).rgb;
    sum += texture2D(source, st + vec2(-1.0, 1.0) * sourceTexel).rgb;
    sum += texture2D(source, st + vec2(1.0, 1.0) * sourceTexel).rgb;
    gl_FragColor = vec4(sum * 0.25, 1.0);
}
)";

const char* const kGlareUpFragment = R"(#version 120
// The veiling light summed from the smallest level up: this level, read at its texel's centre,
// weighted, plus the sum of the levels below it, read bilinearly from half this size. The
// level's alpha is passed on.
uniform sampler2D level;
uniform sampler2D below;
uniform float levelWeight;
uniform float belowWeight;
void main()
{
    vec2 st = gl_TexCoord[0].st;
    vec4 here = texture2D(level, st);
    gl_FragColor = vec4(levelWeight * here.rgb + belowWeight * texture2D(below, st).rgb, here.a);
}
)";

const char* const kToneMain = R"(
// The one pass at full size: the frame's light, its surfaces lit by the ambient light and by
// the wall's spill, with the veil the eye's glare lays over it, all in exposure, through the
// tone curve into the window. The veil and the spill's luminance come at a quarter of the size,
// the spill in the colour of the wall's mean light.
uniform sampler2D veilAndSpill;
uniform float ambientGain;          // the ambient light's gain per unit of reflectance
uniform vec3 spillColour;           // the wall's mean light, of luminance 1
uniform float inverseWhiteSquared;  // one over the square of the white's light in exposure
const vec3 kLuminanceWeights = vec3(0.2126, 0.7152, 0.0722);

void main()
{
    vec2 st = gl_TexCoord[0].st;
    vec4 veilSpill = texture2D(veilAndSpill, st);
    // What the eye scatters leaves the image where it fell (the gains keep the rest), so an
    // even field stays as it is.
    vec3 surfaceGain = ambientGain + veilSpill.a * spillColour;
    vec3 light = lightOfDrawn(texture2D(frameLevels, st), surfaceGain) + veilSpill.rgb;
    // The curve, L (1 + L / white²) / (1 + L) for light already in exposure, works on
    // luminance; the colour keeps its proportions, up to white.
    float luminance = dot(light, kLuminanceWeights);
    vec3 shown = light * (1.0 + luminance * inverseWhiteSquared) / (1.0 + luminance);
    gl_FragColor = vec4(srgbFromLight(clamp(shown, 0.0, 1.0)), 1.0);
}
)";

GLuint compile(GLenum stage, const std::string& text, bool& ok) {
    const GLuint shader = glCreateShader(stage);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    ok = ok && compiled == GL_TRUE;
    return shader;
}

GLuint link(const std::string& fragment, bool& ok) {
    const GLuint program = glCreateProgram();
    glAttachShader(program, compile(GL_VERTEX_SHADER, kFullWindowVertex, ok));
    glAttachShader(program, compile(GL_FRAGMENT_SHADER, fragment, ok));
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    ok = ok && linked == GL_TRUE;
    return program;
}

}  // namespace

const LightPrograms& lightPrograms() {
    static const LightPrograms programs = [] {
        LightPrograms built;
        bool ok = true;
        const std::string light = std::string("#version 120\n") + kFaceLight;
        built.quarter = link(light + kQuarterMain, ok);
        built.downsample = link(kDownsampleFragment, ok);
        built.glareUp = link(kGlareUpFragment, ok);
        built.tone = link(light + kSrgbEncoding + kToneMain, ok);
        built.linked = ok;
        return built;
    }();
    return programs;
}
