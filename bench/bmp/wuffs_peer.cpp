// The peer decoder compiled with its BMP module only, writing 3-byte RGB pixels like ours.
#define WUFFS_IMPLEMENTATION
#define WUFFS_CONFIG__MODULES
#define WUFFS_CONFIG__MODULE__BASE
#define WUFFS_CONFIG__MODULE__BMP
#define WUFFS_CONFIG__MODULE__AUX__BASE
#define WUFFS_CONFIG__MODULE__AUX__IMAGE
#include "bench/third_party/wuffs/wuffs-v0.4.c"

#include "bench/bmp/wuffs_peer.h"
#include "files/file_mapping.h"

namespace {

class RgbCallbacks : public wuffs_aux::DecodeImageCallbacks {
    wuffs_base__pixel_format SelectPixfmt(const wuffs_base__image_config&) override {
        return wuffs_base__make_pixel_format(WUFFS_BASE__PIXEL_FORMAT__RGB);
    }
};

}  // namespace

std::size_t decodeWithWuffs(const char* path) {
    FileMapping mapping;
    if (!mapping.open(path)) return 0;
    RgbCallbacks callbacks;
    wuffs_aux::sync_io::MemoryInput input(mapping.bytes().data(), mapping.bytes().size());
    wuffs_aux::DecodeImageResult result = wuffs_aux::DecodeImage(callbacks, input);
    if (!result.error_message.empty()) return 0;
    const wuffs_base__table_u8 rows = result.pixbuf.plane(0);
    return rows.width * rows.height;
}
