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
