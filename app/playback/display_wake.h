// Wakes the display's GLUT loop from any thread when a source has a frame for it. freeglut
// sleeps on its X connection until its next timer; an Expose sent to the window through a
// connection of our own ends that sleep, and the display callback then takes the frame.
#pragma once

// Main thread, with the window's context current: opens that connection. False when the
// system gives none; sources then go on being polled.
bool openDisplayWake();

// Any thread, once openDisplayWake succeeded. Calls before the display next starts send one
// event between them.
void wakeDisplay();

// Main thread, as the display starts taking frames: the next wakeDisplay sends again.
void displayWoken();
