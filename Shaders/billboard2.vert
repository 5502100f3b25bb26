#version 120
// The billboard face: pass the picture coordinate through.
void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
