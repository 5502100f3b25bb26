// The six GLUT callbacks, registered by startUp() in this order.
#pragma once

void display();
void reshape(int width, int height);
void specialKeys(int key, int x, int y);
void keyboard(unsigned char key, int x, int y);
void mouseButton(int button, int state, int x, int y);
void mouseMotion(int x, int y);
