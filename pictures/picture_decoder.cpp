// decodePicture: the format from the signature, then that format's decoder.
#include "pictures/picture_decoder.h"

#include "pictures/picture_decoders.h"
#include "pictures/picture_format.h"

LoadOutcome decodePicture(std::span<const std::uint8_t> file, Picture& picture,
                          const PictureLimits& limits) {
    switch (detectPictureFormat(file)) {
        case PictureFormat::bmp:
            return decodeBmpPicture(file, limits, picture);
        case PictureFormat::png:
            return decodePngPicture(file, limits, picture);
        case PictureFormat::jpeg:
            return decodeJpegPicture(file, limits, picture);
        case PictureFormat::gif:
            return decodeGifPicture(file, limits, picture);
        case PictureFormat::webp:
            return decodeWebpPicture(file, limits, picture);
        case PictureFormat::unknown:
            break;
    }
    return loadFailure(LoadStatus::unknownFormat,
                       "unknown picture format (not BMP, PNG, JPEG, GIF or WebP)");
}
