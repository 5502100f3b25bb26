// Space pauses and resumes the video shown, and a console line says which. Other pictures
// cannot be paused, so for them the key stays one that changes nothing.
#pragma once

// Pauses the chosen content's source when it plays, resumes it when paused; prints
// "<name>: paused" or "<name>: playing". Does nothing for what cannot be paused.
void toggleChosenPause();
