// JPEG through libjpeg-turbo's libjpeg interface: scanlines decoded straight into their
// bottom-first place as RGB; CMYK pictures converted here. Warnings that mean lost or damaged
// data end the decode, so a truncated or corrupt file is reported instead of shown grey.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "pictures/picture_decoders.h"
#include "pictures/picture_rows.h"

namespace {

// Each progressive scan is a pass over the whole coefficient buffer, and a small file can hold
// thousands of tiny scans; real encoders write about ten.
constexpr int kMaxProgressiveScans = 500;

// The libjpeg error manager, extended with the place to jump back to and what went wrong.
// libjpeg's error exit must not return, so failures leave through longjmp; the functions that
// call setjmp hold no object with a destructor.
struct JpegErrors {
    jpeg_error_mgr manager;
    jpeg_progress_mgr progress;
    std::jmp_buf exit;
    PictureStatus status;
    char message[JMSG_LENGTH_MAX];
};

JpegErrors& errorsOf(j_common_ptr info) {
    return *reinterpret_cast<JpegErrors*>(info->err);
}

[[noreturn]] void failJpeg(j_common_ptr info, PictureStatus status) {
    JpegErrors& errors = errorsOf(info);
    errors.status = status;
    (*info->err->format_message)(info, errors.message);
    std::longjmp(errors.exit, 1);
}

[[noreturn]] void exitOnError(j_common_ptr info) {
    const int code = info->err->msg_code;
    failJpeg(info,
             code == JERR_OUT_OF_MEMORY ? PictureStatus::outOfMemory : PictureStatus::corrupt);
}

void emitMessage(j_common_ptr info, int level) {
    if (level >= 0) return;  // trace messages
    switch (info->err->msg_code) {
        case JWRN_JPEG_EOF:
            failJpeg(info, PictureStatus::truncated);
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
            failJpeg(info, PictureStatus::corrupt);
        default:
            break;  // harmless: unknown revisions, stray bytes between segments
    }
}

void limitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxProgressiveScans) {
        JpegErrors& errors = errorsOf(info);
        errors.status = PictureStatus::corrupt;
        std::snprintf(errors.message, sizeof errors.message, "more than %d scans",
                      kMaxProgressiveScans);
        std::longjmp(errors.exit, 1);
    }
}

struct JpegSession {
    jpeg_decompress_struct info;
    JpegErrors errors;
};

// Reads the markers up to the first scan. False after a failure, recorded in errors.
bool readJpegHeader(JpegSession& session, std::span<const std::uint8_t> file) {
    if (setjmp(session.errors.exit)) return false;
    jpeg_mem_src(&session.info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&session.info, TRUE);
    const J_COLOR_SPACE source = session.info.jpeg_color_space;
    session.info.out_color_space = source == JCS_CMYK || source == JCS_YCCK ? JCS_CMYK : JCS_RGB;
    jpeg_calc_output_dimensions(&session.info);
    return true;
}

// Adobe writes CMYK inverted (255 = no ink), which is what libjpeg hands on; the light left
// is then the ink value times black's.
void cmykToRgb(const std::uint8_t* cmyk, std::uint8_t* rgb, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, cmyk += 4, rgb += 3) {
        for (int c = 0; c < 3; ++c) {
            const unsigned product = cmyk[c] * unsigned{cmyk[3]} + 128;
            rgb[c] = static_cast<std::uint8_t>((product + (product >> 8)) >> 8);
        }
    }
}

// Decodes every scanline into pixels (bottom-first RGB); cmykRow holds one CMYK row when the
// output is CMYK. False after a failure, recorded in errors.
bool readJpegRows(JpegSession& session, std::uint8_t* pixels, std::uint8_t* cmykRow) {
    if (setjmp(session.errors.exit)) return false;
    jpeg_decompress_struct& info = session.info;
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = std::size_t{3} * info.output_width;
    while (info.output_scanline < info.output_height) {
        const JDIMENSION y = info.output_scanline;
        std::uint8_t* row = bottomFirstRow(pixels, rowBytes, info.output_height, y);
        JSAMPROW target = cmykRow != nullptr ? cmykRow : row;
        // The memory source never suspends, so no row means the data ran out.
        if (jpeg_read_scanlines(&info, &target, 1) != 1) {
            session.errors.status = PictureStatus::truncated;
            return false;
        }
        if (cmykRow != nullptr) cmykToRgb(cmykRow, row, info.output_width);
    }
    // Reads on to the end-of-image marker, so a file cut after its last scan is caught too.
    jpeg_finish_decompress(&info);
    return true;
}

PictureOutcome jpegFailure(const JpegErrors& errors) {
    switch (errors.status) {
        case PictureStatus::truncated:
            return pictureFailure(errors.status, "truncated JPEG file");
        case PictureStatus::outOfMemory:
            return pictureFailure(errors.status, "out of memory");
        default:
            return pictureFailure(PictureStatus::corrupt,
                                  std::string("corrupt JPEG data (") + errors.message + ")");
    }
}

}  // namespace

PictureOutcome decodeJpegPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                                 Picture& picture) {
    JpegSession session{};
    session.info.err = jpeg_std_error(&session.errors.manager);
    session.errors.manager.error_exit = exitOnError;
    session.errors.manager.emit_message = emitMessage;
    session.errors.progress.progress_monitor = limitScans;
    jpeg_create_decompress(&session.info);
    session.info.progress = &session.errors.progress;
    struct Destroy {
        jpeg_decompress_struct* info;
        ~Destroy() { jpeg_destroy_decompress(info); }
    } destroy{&session.info};

    if (!readJpegHeader(session, file)) return jpegFailure(session.errors);
    const JDIMENSION width = session.info.output_width, height = session.info.output_height;
    PictureOutcome size = checkPictureSize(width, height, 1, limits);
    if (!size.ok()) return size;

    PixelBuffer pixels = allocatePixelBuffer(std::size_t{3} * width * height);
    const bool cmyk = session.info.out_color_space == JCS_CMYK;
    PixelBuffer cmykRow = allocatePixelBuffer(cmyk ? std::size_t{4} * width : 0);
    if (!pixels || !cmykRow) return pictureFailure(PictureStatus::outOfMemory, "out of memory");
    if (!readJpegRows(session, pixels.get(), cmyk ? cmykRow.get() : nullptr)) {
        return jpegFailure(session.errors);
    }
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.frames.clear();
    picture.frames.push_back({std::move(pixels), 0});
    return {};
}
