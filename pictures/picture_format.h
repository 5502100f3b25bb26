// Tells a picture file's format from its first bytes, whatever its name says.
#pragma once

#include <cstdint>
#include <span>

enum class PictureFormat { unknown, bmp, png, jpeg, gif, webp };

PictureFormat detectPictureFormat(std::span<const std::uint8_t> file);

// "BMP", "PNG", ... for messages; "unknown" for unknown.
const char* pictureFormatName(PictureFormat format);
