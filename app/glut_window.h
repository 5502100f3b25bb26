// Opening a GLUT window the way the program opens its own: GLUT initialised with the command
// line, a double-buffered window with depth at (100, 100). Start-up, the GL tests' window and
// the model store's benchmark all open theirs here.
#pragma once

void openGlutWindow(int* argc, char** argv, const char* title, int width, int height);
