// loadDibImage: maps the file read-only, decodes it in place, and shows any failure as an
// "Error" notice.
#include "bmp/dib_image.h"

#include <cstdio>

#include "bmp/dib_decoder.h"
#include "bmp/notice.h"
#include "files/file_mapping.h"

namespace {

constexpr const char* kNoticeCaption = "Error";

// The open-failure text is formatted into this many bytes; a longer name is cut.
constexpr std::size_t kOpenFailureTextSize = 256;

}  // namespace

RgbImage* loadDibImage(const char* fileName) {
    FileMapping mapping;
    if (!mapping.open(fileName)) {
        char text[kOpenFailureTextSize];
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n",
                      fileName != nullptr ? fileName : "");
        showNotice(kNoticeCaption, text);
        return nullptr;
    }
    DibStatus status = DibStatus::ok;
    RgbImage* image = decodeDib(mapping.bytes(), status);
    if (image == nullptr) showNotice(kNoticeCaption, dibStatusText(status));
    return image;
}
