// The peer decoder of the loader benchmark, compiled once here.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
