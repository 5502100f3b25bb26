#version 120
// The billboard face: the picture coordinate passes through to the fragment stage.
void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
