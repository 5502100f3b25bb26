// The light passes' shaders. They work on linear light in nits throughout; levels are decoded
// from sRGB where the frame is read and encoded again only at the tone curve's end.
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

const char* const kSrgb = R"(
// sRGB's transfer function (IEC 61966-2-1), both ways.
vec3 lightFromSrgb(vec3 v)
{
    return mix(v / 12.92, pow((v + 0.055) / 1.055, vec3(2.4)), step(0.04045, v));
}
vec3 srgbFromLight(vec3 v)
{
    return mix(v * 12.92, 1.055 * pow(v, vec3(1.0 / 2.4)) - 0.055, step(0.0031308, v));
}
)";

const char* const kLightFragment = R"(
uniform sampler2D frameLevels;
uniform sampler2D frameDepth;
uniform mat4 clipToWorld;
uniform vec3 eyePosition;
uniform vec3 wallCorner;
uniform vec3 wallRight;
uniform vec3 wallUp;
uniform float faceNits;
uniform float faceBlackLight;
uniform float reflectedNits;
uniform float ambientLux;
// The content's mean light over each patch, times the wall's peak: the patches' luminance.
uniform vec3 patchNits[8];

// The wall lights what faces it as kPatchesAcross by kPatchesUp patches, each a small source
// of the content's mean light over it (patchNits, row by row from the bottom).
const int kPatchesAcross = 4;
const int kPatchesUp = 2;
const float kPi = 3.14159265;

vec3 spillLux(vec3 world, vec3 normal, vec3 wallNormal)
{
    float patchArea = length(cross(wallRight, wallUp)) / float(kPatchesAcross * kPatchesUp);
    vec3 lux = vec3(0.0);
    for (int j = 0; j < kPatchesUp; ++j) {
        for (int i = 0; i < kPatchesAcross; ++i) {
            vec2 at = (vec2(float(i), float(j)) + 0.5) /
                      vec2(float(kPatchesAcross), float(kPatchesUp));
            vec3 toPatch = wallCorner + wallRight * at.x + wallUp * at.y - world;
            float distance2 = dot(toPatch, toPatch);
            vec3 direction = toPatch * inversesqrt(max(distance2, 1.0e-12));
            float cosines =
                max(dot(normal, direction), 0.0) * max(-dot(wallNormal, direction), 0.0);
            // A patch acts as a point beyond its own size; nearer, its light stops growing.
            float reach = patchArea * cosines / max(distance2, patchArea);
            lux += patchNits[j * kPatchesAcross + i] * reach;
        }
    }
    return lux;
}

// The luminance of the drawn frame at `st`, in nits.
vec3 frameLightAt(vec2 st)
{
    vec3 decoded = texture2D(frameLevels, st).rgb;  // an sRGB texture: already light
    float depth = texture2D(frameDepth, st).r;
    vec4 clip = vec4(st * 2.0 - 1.0, depth * 2.0 - 1.0, 1.0);
    vec4 world4 = clipToWorld * clip;
    vec3 world = world4.xyz / world4.w;
    // The surface's normal from its neighbours, worked out before any branch.
    vec3 across = cross(dFdx(world), dFdy(world));
    vec3 normal = across * inversesqrt(max(dot(across, across), 1.0e-24));
    if (dot(normal, eyePosition - world) < 0.0) normal = -normal;

    if (depth >= 1.0) return vec3(0.0);  // nothing drawn there
    vec3 wallNormal = normalize(cross(wallRight, wallUp));
    vec3 fromCorner = world - wallCorner;
    float s = dot(fromCorner, wallRight) / dot(wallRight, wallRight);
    float t = dot(fromCorner, wallUp) / dot(wallUp, wallUp);
    float off = abs(dot(fromCorner, wallNormal));
    float size = length(wallRight) + length(wallUp);
    if (s >= 0.0 && s <= 1.0 && t >= 0.0 && t <= 1.0 && off < 2.0e-3 * size)
        return max(decoded - faceBlackLight, 0.0) / (1.0 - faceBlackLight) * faceNits +
               reflectedNits;
    // Any other surface: its drawn level is its reflectance, lit diffusely.
    vec3 lux = vec3(ambientLux) + spillLux(world, normal, wallNormal);
    return decoded * lux / kPi;
}
)";

const char* const kLightMain = R"(
// The frame's light at half size, for the glare: each texel the light of the mean of the
// four levels it covers.
void main()
{
    gl_FragColor = vec4(frameLightAt(gl_TexCoord[0].st), 1.0);
}
)";

const char* const kDownsampleFragment = R"(#version 120
// The mean of the 4 by 4 texels around this texel of the half-size level: four bilinear reads
// each between four texels.
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

const char* const kGlareFragment = R"(#version 120
// The veiling light: the glare levels, each read softly and weighted, summed at a quarter of
// the window's size (the glare is smooth well beyond that).
uniform sampler2D glare0;
uniform sampler2D glare1;
uniform sampler2D glare2;
uniform sampler2D glare3;
uniform sampler2D glare4;
uniform sampler2D glare5;
uniform vec2 glareTexel[6];
uniform float glareWeights[6];

// A level read between four bilinear reads half a texel apart, so its coarse texels show no
// edges.
vec3 softly(sampler2D level, vec2 st, vec2 texel)
{
    vec3 sum = texture2D(level, st + vec2(-0.5, -0.5) * texel).rgb;
    sum += texture2D(level, st + vec2(0.5, -0.5) * texel).rgb;
    sum += texture2D(level, st + vec2(-0.5, 0.5) * texel).rgb;
    sum += texture2D(level, st + vec2(0.5, 0.5) * texel).rgb;
    return sum * 0.25;
}

void main()
{
    vec2 st = gl_TexCoord[0].st;
    vec3 veil = glareWeights[0] * softly(glare0, st, glareTexel[0]);
    veil += glareWeights[1] * softly(glare1, st, glareTexel[1]);
    veil += glareWeights[2] * softly(glare2, st, glareTexel[2]);
    veil += glareWeights[3] * softly(glare3, st, glareTexel[3]);
    veil += glareWeights[4] * softly(glare4, st, glareTexel[4]);
    veil += glareWeights[5] * softly(glare5, st, glareTexel[5]);
    gl_FragColor = vec4(veil, 1.0);
}
)";

const char* const kToneMain = R"(
// The frame's light at full size with the veil the eye's glare lays over it, through the tone
// curve into the window.
uniform sampler2D veilingLight;
uniform float scattered;  // the share of light the eye scatters: the glare weights' sum
uniform float adaptationNits;
const float kToneKey = 0.18;
const vec3 kLuminanceWeights = vec3(0.2126, 0.7152, 0.0722);

void main()
{
    vec2 st = gl_TexCoord[0].st;
    // What the eye scatters leaves the image where it fell, so an even field stays as it is.
    vec3 light = (1.0 - scattered) * frameLightAt(st) + texture2D(veilingLight, st).rgb;
    // The curve works on luminance; the colour keeps its proportions, up to white.
    float luminance = dot(light, kLuminanceWeights);
    float scaled = kToneKey * luminance / adaptationNits;
    vec3 shown = light * (scaled / (1.0 + scaled) / max(luminance, 1.0e-9));
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
        const std::string light = std::string("#version 120\n") + kSrgb + kLightFragment;
        built.light = link(light + kLightMain, ok);
        built.downsample = link(kDownsampleFragment, ok);
        built.glare = link(kGlareFragment, ok);
        built.tone = link(light + kToneMain, ok);
        built.linked = ok;
        return built;
    }();
    return programs;
}
