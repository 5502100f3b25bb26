// The scene load that runs once at start-up: camera placement, the frame model, the picture
// catalogue, the cell steps and the first effect with its console lines.
#pragma once

// File index of the billboard's frame model in the model library, for drawing.
extern int billboardModel;

void loadScene();
