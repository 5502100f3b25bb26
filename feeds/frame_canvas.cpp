// Restoring part or all of the canvas from the frame handed over last.
#include "feeds/frame_canvas.h"

#include <cstring>

void FrameCanvas::restore(std::size_t offset, std::size_t length) {
    if (last_ != nullptr) std::memcpy(pixels_.data() + offset, last_ + offset, length);
}

void FrameCanvas::restoreAll() {
    restore(0, pixels_.size());
    restored();
}
