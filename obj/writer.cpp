// Writes a model of the store as OBJ text and its materials as MTL text, in the subset the
// reader reads, with fixed number formats. Numbers are formatted with to_chars, which gives
// printf's digits but always with a "." whatever the process locale is. Each file is written
// through a replacement file, so a failed write leaves the old file as it was.
#include <charconv>
#include <cmath>
#include <string_view>

#include "files/replacement_file.h"
#include "obj/obj_internal.h"

namespace obj {

namespace {

// Text for one output file (the replacement file gathers it into blocks); a file that could
// not be opened takes nothing.
class TextOut {
  public:
    explicit TextOut(const char* path) { file_.open(path, FileContent::text); }
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;

    bool isOpen() const { return file_.isOpen(); }

    // Writes what is left and puts the file in place; the errno value of a failure, or 0.
    int finish() {
        file_.commit();
        return file_.error();
    }

    TextOut& text(std::string_view words) {
        file_.write(words);
        return *this;
    }

    // printf "%<width>.<decimals>f" of the value widened to double.
    TextOut& fixed(float value, int width, int decimals) {
        // Room for the largest float in fixed notation (39 digits), its sign and decimals.
        char digits[64];
        auto result = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                                    std::chars_format::fixed, decimals);
        int length = static_cast<int>(result.ptr - digits);
        for (int blank = length; blank < width; ++blank) text(" ");
        return text({digits, static_cast<std::size_t>(length)});
    }

    TextOut& number(int value) {
        char digits[16];
        auto result = std::to_chars(digits, digits + sizeof digits, value);
        return text({digits, static_cast<std::size_t>(result.ptr - digits)});
    }

    // One 1-based index written three times: "k/k/k".
    TextOut& corner(int vi) {
        return number(vi + 1).text("/").number(vi + 1).text("/").number(vi + 1);
    }

  private:
    ReplacementFile file_;
};

// "%12.8f" values after a keyword, each preceded by one blank.
void writeValues(TextOut& out, const float* values, int count) {
    for (int i = 0; i < count; ++i) out.text(" ").fixed(values[i], 12, 8);
    out.text("\n");
}

const char* surfaceMaterialName(const ObjFile* model, const ObjSurface& surface) {
    if (surface.material < 0 || surface.material >= model->mc) return nullptr;
    return model->materials[surface.material].name;
}

// errno value of a failure, or 0.
int writeObj(int fi, const char* objPath, const char* mtlPath) {
    TextOut out(objPath);
    if (!out.isOpen()) return out.finish();
    const ObjFile* model = file(fi);
    if (mtlPath) out.text("mtllib ").text(mtlPath).text("\n");
    for (int vi = 0; vi < model->vc; ++vi) {
        out.text("v ");
        writeValues(out, model->vertices[vi].position, 3);
    }
    for (int vi = 0; vi < model->vc; ++vi) {
        out.text("vt");
        writeValues(out, model->vertices[vi].texcoord, 2);
    }
    for (int vi = 0; vi < model->vc; ++vi) {
        out.text("vn");
        writeValues(out, model->vertices[vi].normal, 3);
    }
    for (int si = 0; si < model->sc; ++si) {
        const ObjSurface& surface = model->surfaces[si];
        const char* name = surfaceMaterialName(model, surface);
        out.text("usemtl ").text(name ? name : "default").text("\n");
        for (int pi = 0; pi < surface.pc; ++pi) {
            const int* vi = surface.polygons[pi].vi;
            out.text("f ").corner(vi[0]).text(" ").corner(vi[1]).text(" ").corner(vi[2]).text("\n");
        }
        for (int li = 0; li < surface.lc; ++li) {
            const int* vi = surface.lines[li].vi;
            out.text("l ").corner(vi[0]).text(" ").corner(vi[1]).text("\n");
        }
    }
    return out.finish();
}

// "map_<tag> [-clamp on ][-o x y z ][-s x y z ]path" for a slot that has a path; each option
// only when it differs from its default.
void writeMapLine(TextOut& out, const ObjMap& map, const char* tag) {
    if (!map.path) return;
    out.text("map_").text(tag).text(" ");
    if (map.flags & MAP_CLAMP) out.text("-clamp on ");
    auto differs = [](const float* values, float standard) {
        for (int i = 0; i < 3; ++i) {
            if (std::fabs(values[i] - standard) > 0) return true;
        }
        return false;
    };
    if (differs(map.o, 0)) {
        out.text("-o");
        for (float value : map.o) out.text(" ").fixed(value, 0, 6);
        out.text(" ");
    }
    if (differs(map.s, 1)) {
        out.text("-s");
        for (float value : map.s) out.text(" ").fixed(value, 0, 6);
        out.text(" ");
    }
    out.text(map.path).text("\n");
}

int writeMtl(int fi, const char* mtlPath) {
    TextOut out(mtlPath);
    if (!out.isOpen()) return out.finish();
    const ObjFile* model = file(fi);
    constexpr const char* kTags[kindCount] = {"Kd", "Ka", "Ke", "Ks", "Ns"};
    for (int mi = 0; mi < model->mc; ++mi) {
        const ObjMaterial& material = model->materials[mi];
        out.text("newmtl ").text(material.name ? material.name : "default").text("\n");
        for (int ki = diffuse; ki <= specular; ++ki) {
            out.text(kTags[ki]);
            writeValues(out, material.maps[ki].c, 3);
        }
        out.text("Ns");
        writeValues(out, material.maps[shininess].c, 1);
        out.text("d ");
        writeValues(out, &material.maps[diffuse].c[3], 1);
        for (int ki = 0; ki < kindCount; ++ki) writeMapLine(out, material.maps[ki], kTags[ki]);
    }
    return out.finish();
}

}  // namespace

WriteResult writeModel(int fi, const char* objPath, const char* mtlPath) {
    OBJ_CHECK(0 <= fi && fi < fc);
    WriteResult result;
    if (objPath) {
        if (int error = writeObj(fi, objPath, mtlPath)) result = {objPath, error};
    }
    if (mtlPath) {
        int error = writeMtl(fi, mtlPath);
        if (error && result) result = {mtlPath, error};
    }
    return result;
}

}  // namespace obj
