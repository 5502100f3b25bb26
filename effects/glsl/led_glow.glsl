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
