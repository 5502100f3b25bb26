// A lit LED runs hotter than the picture pixel it shows, to make up for the dark gap around
// it; its light then rolls off softly towards full instead of clipping, every channel by the
// same factor so the hue holds.
const float kLedGain = 2.4;
const float kShoulder = 0.5;  // light up to here passes unchanged
vec3 ledGlow(vec3 drive)
{
    float peak = max(max(drive.r, drive.g), max(drive.b, 1.0e-4));
    float room = 1.0 - kShoulder;
    // 1 - exp(-over), with exp to third order: cheaper, and it never reaches full either.
    float over = max(peak - kShoulder, 0.0) / room;
    float growth = over * (1.0 + over * (0.5 + over / 6.0));
    float rolled = kShoulder + room * growth / (1.0 + growth);
    return drive * (min(peak, rolled) / peak);
}
