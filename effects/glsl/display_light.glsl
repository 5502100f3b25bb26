// Display levels and light. The LED's mean over its cell is taken in light, not in levels, as
// the eye and the screen add light: levels become light by the display's 2.2 power and go
// back the same way. A pure power keeps a share s of an LED's light at level L at the level
// s^(1/2.2) L, so the share of level a point shows can multiply the LED's level directly.
const float kDisplayGamma = 2.2;
float lightFromLevel(float level)
{
    return pow(max(level, 0.0), kDisplayGamma);
}
float levelFromLight(float light)
{
    return pow(max(light, 0.0), 1.0 / kDisplayGamma);
}
