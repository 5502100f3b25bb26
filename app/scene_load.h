// The picture catalogue and the scene load that runs once at start-up.
#pragma once

void loadScene();
