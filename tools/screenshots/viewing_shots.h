// Shots of the LED wall from where a viewer stands: head-on, from the side, from below, near
// and far, in the normal view and the night scene.
#pragma once

#include <functional>
#include <string>

// Draws each view and hands its file path ("<folder>/view-<scene>-<place>.png") to `writeShot`,
// which writes the last frame there. Leaves the camera at its starting place and the night
// scene switched off. False when any shot could not be written.
bool takeViewingShots(const std::string& folder,
                      const std::function<bool(const std::string&)>& writeShot);
