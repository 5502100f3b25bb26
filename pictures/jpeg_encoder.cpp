// encodeJpeg through libjpeg-turbo, scanlines handed over top first from the bottom-first buffer.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "pictures/picture_encoders.h"

namespace {

struct JpegWriter {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf exit;
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
};

[[noreturn]] void exitOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegWriter*>(info)->exit, 1);
}

// False after a library error. Holds nothing with a destructor, for longjmp's sake.
bool compressJpeg(JpegWriter& writer, int width, int height, const std::uint8_t* rgb, int quality,
                  bool progressive) {
    if (setjmp(writer.exit)) return false;
    jpeg_compress_struct& info = writer.info;
    jpeg_mem_dest(&info, &writer.buffer, &writer.length);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = std::size_t(width) * 3;
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(rgb + rowBytes * (height - 1 - info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodeJpeg(int width, int height, const std::uint8_t* rgb, int quality,
                                     bool progressive) {
    if (width <= 0 || height <= 0) return {};
    // The compress record sits first in the writer, so the error exit finds the jump buffer.
    JpegWriter writer{};
    writer.info.err = jpeg_std_error(&writer.errors);
    writer.errors.error_exit = exitOnError;
    jpeg_create_compress(&writer.info);
    const bool written = compressJpeg(writer, width, height, rgb, quality, progressive);
    jpeg_destroy_compress(&writer.info);
    std::vector<std::uint8_t> file;
    if (written) file.assign(writer.buffer, writer.buffer + writer.length);
    std::free(writer.buffer);
    return file;
}
