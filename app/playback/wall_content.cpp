#include "app/playback/wall_content.h"

#include "app/playback/wall_fitted_source.h"

void fitContentToWall(std::vector<Content>& contents, const WallSetup& setup) {
    for (Content& content : contents) {
        if (content.source->oneLedAPixel()) continue;
        content.source = std::make_unique<WallFittedSource>(
            std::move(content.source), setup.widthLeds, setup.heightLeds, setup.fit);
    }
}
