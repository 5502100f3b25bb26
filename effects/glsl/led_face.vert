#version 120
#include "led_face.glsl"

void main()
{
    placeLedFace();
}
