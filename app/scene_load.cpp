#include "app/scene_load.h"

#include "app/console.h"
#include "effects/effect_programs.h"
#include "effects/effect_state.h"

void loadScene() {
    effectParameters.program = effectPrograms[0];
    effectParameters.mode = 0;
    effectParameters.picture = 0;
    effectParameters.pixelSize = pictures[0].step * 3;
    consolePrint("%s\n", effectInfos[0].name);
    consolePrint("pixelSize = %i\n\n", effectParameters.pixelSize);
}
