// JPEG through libjpeg-turbo's libjpeg interface: scanlines decoded straight into their
// bottom-first place as RGB; CMYK pictures converted here; turned as the EXIF block says.
// Damaged or cut-short data is shown as far as it decodes, as viewers show it (the rest
// grey), with the damage named in the outcome's warning; so is data whose damage stops the
// library, up to where it stopped.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

#include "pictures/picture_decoders.h"
#include "pictures/picture_orientation.h"
#include "pictures/picture_rows.h"

namespace {

// Each progressive scan is a pass over the whole coefficient buffer, and a small file can hold
// thousands of tiny scans; real encoders write about ten.
constexpr int kMaxProgressiveScans = 500;

// The libjpeg error manager, extended with the place to jump back to, what went wrong, and
// the damage seen in a file that still decodes. libjpeg's error exit must not return, so
// failures leave through longjmp; the functions that call setjmp hold no object with a
// destructor.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::span<const std::uint8_t> file;  // the bytes decoded, to tell where a failure was
    jpeg_progress_mgr progress;
    std::jmp_buf exit;
    LoadStatus status;
    char message[JMSG_LENGTH_MAX];
    bool ranOut;                   // the data ended before the end-of-image marker
    bool inHeader;                 // reading the markers before the first scan
    char damage[JMSG_LENGTH_MAX];  // the first damage in the data, empty for none
    std::size_t failedAt;          // how far the data had been read when decoding failed
};

JpegErrors& errorsOf(j_common_ptr info) {
    return *reinterpret_cast<JpegErrors*>(info->err);
}

// How far the library had read `errors.file`: all of it once the source ran dry (it then
// reads an end-of-image marker of its own).
std::size_t readSoFar(j_common_ptr info) {
    const JpegErrors& errors = errorsOf(info);
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    const std::uint8_t* next = decompress->src ? decompress->src->next_input_byte : nullptr;
    const std::uint8_t* start = errors.file.data();
    if (next < start || next > start + errors.file.size()) return errors.file.size();
    return static_cast<std::size_t>(next - start);
}

[[noreturn]] void failJpeg(j_common_ptr info, LoadStatus status) {
    JpegErrors& errors = errorsOf(info);
    errors.status = status;
    errors.failedAt = readSoFar(info);
    (*info->err->format_message)(info, errors.message);
    std::longjmp(errors.exit, 1);
}

[[noreturn]] void exitOnError(j_common_ptr info) {
    switch (info->err->msg_code) {
        case JERR_OUT_OF_MEMORY:
            failJpeg(info, LoadStatus::outOfMemory);
        // Valid files of a kind this build of the library does not decode, told by their
        // frame header; the same marker among the coded data is damage.
        case JERR_BAD_PRECISION:
        case JERR_SOF_UNSUPPORTED:
            if (errorsOf(info).inHeader) failJpeg(info, LoadStatus::unsupported);
            [[fallthrough]];
        default:
            // Data that ran out before the first scan leaves no image, which the library
            // reports as an error of its own.
            failJpeg(info, errorsOf(info).ranOut ? LoadStatus::truncated : LoadStatus::corrupt);
    }
}

void emitMessage(j_common_ptr info, int level) {
    if (level >= 0) return;  // trace messages
    JpegErrors& errors = errorsOf(info);
    switch (info->err->msg_code) {
        case JWRN_JPEG_EOF:
            errors.ranOut = true;
            break;
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
            if (errors.damage[0] == '\0') (*info->err->format_message)(info, errors.damage);
            break;
        default:
            break;  // harmless: unknown revisions, stray bytes between segments
    }
}

void limitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxProgressiveScans) {
        JpegErrors& errors = errorsOf(info);
        errors.status = LoadStatus::corrupt;
        std::snprintf(errors.message, sizeof errors.message, "more than %d scans",
                      kMaxProgressiveScans);
        errors.failedAt = readSoFar(info);
        std::longjmp(errors.exit, 1);
    }
}

struct JpegSession {
    jpeg_decompress_struct info;
    JpegErrors errors;
};

// libjpeg-turbo's reductions whose DCT scaling costs less than the full decode.
constexpr int kJpegReductions[] = {8, 4, 2};

int jpegReduction(const jpeg_decompress_struct& info, const PictureLimits& limits) {
    if (limits.largestReduction == nullptr) return 1;
    const int largest = limits.largestReduction(static_cast<int>(info.image_width),
                                                static_cast<int>(info.image_height));
    for (int reduction : kJpegReductions)
        if (reduction <= largest) return reduction;
    return 1;
}

// Reads the markers up to the first scan and sets the output's colours and size. False after
// a failure, recorded in errors.
bool readJpegHeader(JpegSession& session, std::span<const std::uint8_t> file,
                    const PictureLimits& limits) {
    if (setjmp(session.errors.exit)) return false;
    jpeg_mem_src(&session.info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_save_markers(&session.info, JPEG_APP0 + 1, 0xFFFF);  // EXIF
    session.errors.inHeader = true;
    jpeg_read_header(&session.info, TRUE);
    session.errors.inHeader = false;
    const J_COLOR_SPACE source = session.info.jpeg_color_space;
    session.info.out_color_space = source == JCS_CMYK || source == JCS_YCCK ? JCS_CMYK : JCS_RGB;
    session.info.scale_num = 1;
    session.info.scale_denom = static_cast<unsigned>(jpegReduction(session.info, limits));
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
            session.errors.status = LoadStatus::truncated;
            return false;
        }
        if (cmykRow != nullptr) cmykToRgb(cmykRow, row, info.output_width);
    }
    // Reads on to the end-of-image marker, so a file cut after its last scan is caught too.
    jpeg_finish_decompress(&info);
    return true;
}

// libjpeg's text without its own "Corrupt JPEG data: ", which our wording already says.
std::string damageText(const char* message) {
    static constexpr char kPrefix[] = "Corrupt JPEG data: ";
    const std::size_t prefixLength = sizeof kPrefix - 1;
    return std::strncmp(message, kPrefix, prefixLength) == 0 ? message + prefixLength : message;
}

LoadOutcome jpegFailure(const JpegSession& session) {
    const JpegErrors& errors = session.errors;
    switch (errors.status) {
        case LoadStatus::truncated:
            return loadFailure(errors.status, "truncated JPEG file");
        case LoadStatus::outOfMemory:
            return loadFailure(errors.status, "out of memory");
        case LoadStatus::unsupported: {
            const jpeg_error_mgr& manager = errors.manager;
            char text[64];
            if (manager.msg_code == JERR_BAD_PRECISION) {
                std::snprintf(text, sizeof text, "unsupported JPEG (%d-bit samples)",
                              manager.msg_parm.i[0]);
            } else {
                const int type = manager.msg_parm.i[0];
                std::snprintf(text, sizeof text, "unsupported JPEG (%s coding)",
                              type == 0xC3 || type == 0xCB ? "lossless" : "hierarchical");
            }
            return loadFailure(errors.status, text);
        }
        default:
            return loadFailure(LoadStatus::corrupt,
                               "corrupt JPEG data (" + damageText(errors.message) + ")");
    }
}

// The EXIF block of the first APP1 segment that holds one; empty when none does.
std::span<const std::uint8_t> exifBlock(const jpeg_decompress_struct& info) {
    static constexpr std::uint8_t kExifName[] = {'E', 'x', 'i', 'f', 0, 0};
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= sizeof kExifName &&
            std::memcmp(marker->data, kExifName, sizeof kExifName) == 0) {
            return {marker->data, marker->data_length};
        }
    }
    return {};
}

std::string jpegWarning(const JpegErrors& errors) {
    if (errors.ranOut) return "truncated JPEG file, shown as far as it goes";
    if (errors.damage[0] != '\0') return "damaged JPEG data (" + damageText(errors.damage) + ")";
    return {};
}

// The last marker that starts after `floor` and before `end`: where data damaged at `end` may
// be cut, as if the file ended there. 0 for none.
std::size_t lastMarkerBefore(std::span<const std::uint8_t> file, std::size_t end,
                             std::size_t floor) {
    for (std::size_t i = std::min(end, file.size()); i-- > floor + 1;) {
        if (i + 1 < file.size() && file[i] == 0xFF && file[i + 1] != 0x00 && file[i + 1] != 0xFF)
            return i;
    }
    return 0;
}

// The warning of a picture shown in spite of `failure`, the outcome of its whole file.
std::string shownInSpite(const LoadOutcome& failure) {
    static constexpr char kCorrupt[] = "corrupt ";
    if (failure.status == LoadStatus::truncated)
        return failure.reason + ", shown as far as it goes";
    const bool named = failure.reason.rfind(kCorrupt, 0) == 0;
    return (named ? "damaged " + failure.reason.substr(sizeof kCorrupt - 1) : failure.reason) +
           ", shown as far as it decodes";
}

// Decodes the whole of `file`. When the data fails after its first scan has begun, gives in
// `cutAt` where the file may be cut to decode what came before the failure (0: nowhere).
LoadOutcome decodeJpegBytes(std::span<const std::uint8_t> file, const PictureLimits& limits,
                            Picture& picture, std::size_t& cutAt) {
    cutAt = 0;
    JpegSession session{};
    session.errors.file = file;
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

    if (!readJpegHeader(session, file, limits)) return jpegFailure(session);
    const std::size_t firstScanAt = readSoFar(reinterpret_cast<j_common_ptr>(&session.info));
    // Read before the rows: finishing the decode frees the saved markers.
    const Orientation orientation = exifOrientation(exifBlock(session.info));
    const JDIMENSION width = session.info.output_width, height = session.info.output_height;
    LoadOutcome size = checkPictureSize(width, height, 1, limits);
    if (!size.ok()) return size;

    PixelBuffer pixels = allocatePixelBuffer(std::size_t{3} * width * height);
    const bool cmyk = session.info.out_color_space == JCS_CMYK;
    PixelBuffer cmykRow = allocatePixelBuffer(cmyk ? std::size_t{4} * width : 0);
    if (!pixels || !cmykRow) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    std::string warning;
    if (!readJpegRows(session, pixels.get(), cmyk ? cmykRow.get() : nullptr)) {
        const LoadOutcome failure = jpegFailure(session);
        const JDIMENSION rowsDone = session.info.output_scanline;
        const bool damaged =
            failure.status == LoadStatus::corrupt || failure.status == LoadStatus::truncated;
        if (!damaged) return failure;
        // The file cut before its damage may decode further (a multi-scan file fails before
        // its first row; a one-scan file loses the rows it was working on).
        cutAt = lastMarkerBefore(file, session.errors.failedAt, firstScanAt);
        if (rowsDone == 0) return failure;
        // Else the rows decoded stay, the rest is grey, as the library leaves data it lacks.
        const std::size_t rowBytes = std::size_t{3} * width;
        std::memset(pixels.get(), 128, rowBytes * (height - std::min(rowsDone, height)));
        warning = shownInSpite(failure);
    }
    Picture decoded;
    decoded.width = static_cast<std::int32_t>(width);
    decoded.height = static_cast<std::int32_t>(height);
    decoded.frames.push_back({std::move(pixels), 0});
    if (width != session.info.image_width || height != session.info.image_height) {
        const bool swapped = swapsSides(orientation);
        decoded.fileWidth = static_cast<std::int32_t>(swapped ? session.info.image_height
                                                              : session.info.image_width);
        decoded.fileHeight = static_cast<std::int32_t>(swapped ? session.info.image_width
                                                               : session.info.image_height);
    }
    LoadOutcome outcome = orientPicture(decoded, orientation);
    if (!outcome.ok()) return outcome;
    picture = std::move(decoded);
    outcome.warning = warning.empty() ? jpegWarning(session.errors) : warning;
    return outcome;
}

}  // namespace

// Data that fails past its first scan is shown as far as it decodes, as viewers show it: the
// rows decoded before the failure, or, for a file of several scans, the scans before it,
// decoded again from the file cut where the damage begins.
LoadOutcome decodeJpegPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                              Picture& picture) {
    // Each cut starts at an earlier marker; a few are enough for a damaged marker segment.
    constexpr int kMaxCuts = 4;
    std::size_t cutAt = 0;
    Picture partial;
    const LoadOutcome whole = decodeJpegBytes(file, limits, partial, cutAt);
    for (int cut = 0; cutAt > 0 && cut < kMaxCuts; ++cut) {
        std::size_t nextCut = 0;
        LoadOutcome shorter = decodeJpegBytes(file.first(cutAt), limits, picture, nextCut);
        if (shorter.ok()) {
            shorter.warning = whole.ok() ? whole.warning : shownInSpite(whole);
            return shorter;
        }
        cutAt = nextCut < cutAt ? nextCut : 0;
    }
    if (whole.ok()) picture = std::move(partial);
    return whole;
}
