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
