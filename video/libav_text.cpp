// libav's error codes as text, and its own log silenced: failures reach the user as the
// program's messages.
#include "video/libav_text.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

std::string libavErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(error, text, sizeof text) < 0) return "error " + std::to_string(error);
    return text;
}

void quietLibavLog() {
    av_log_set_level(AV_LOG_QUIET);
}
