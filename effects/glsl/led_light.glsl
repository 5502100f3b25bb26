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
