#include "display_light.glsl"

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
