// A quad over the whole viewport, texture coordinates 0 to 1 across it, drawn with the
// identity matrices: the one draw of each full-frame pass.
#pragma once

void drawWindowQuad();
