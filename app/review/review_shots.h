// The headless review: each of the user's pictures drawn by the real display callback in the
// normal view with each effect at its starting parameters and in the day and night scenes,
// written as PNG files with a contact sheet of them all.
#pragma once

#include <string>

// Writes <folder>/<stem>-effect-1.png to -effect-4.png, <stem>-day.png and <stem>-night.png
// for each picture in the catalogue (a stem used twice gets "-2", "-3", ... added), then
// <folder>/contact-sheet.png; a video or animation is shot one second in, and also gets
// a clip of `seconds` per view (see writeReviewClips); one progress line per picture goes to
// standard error. The window must be open and the scene loaded with the user's pictures. False when
// the folder or a file could not be written.
bool writeReviewShots(const std::string& folder, int seconds = 5);
