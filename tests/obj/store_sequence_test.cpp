// Long random sequences of creates, sets and deletes on the model store, checked after
// every step against a plain reference built from standard containers, so that counts,
// values, defaults and the renumbering of deletions agree in every combination.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "obj/obj.h"

namespace {

struct RefMaterial {
    std::optional<std::string> name;
    std::array<std::array<float, 4>, 5> c{};
    std::array<std::array<float, 3>, 5> o{};
    std::array<std::array<float, 3>, 5> s{};
    std::array<int, 5> flags{};
};

struct RefVertex {
    std::array<float, 3> position{};
    std::array<float, 2> texcoord{};
    std::array<float, 3> normal{};
};

struct RefSurface {
    int material = 0;
    std::vector<std::array<int, 3>> polygons;
    std::vector<std::array<int, 2>> lines;
};

struct RefFile {
    std::vector<RefMaterial> materials;
    std::vector<RefVertex> vertices;
    std::vector<RefSurface> surfaces;
};

RefMaterial defaultMaterial() {
    RefMaterial m;
    m.c = {
        {{0.8f, 0.8f, 0.8f, 1}, {0.2f, 0.2f, 0.2f, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {8, 0, 0, 0}}};
    for (auto& scale : m.s) scale = {1, 1, 1};
    return m;
}

// Removes the records that use vi and lowers the indices above it, as deleteVertex does.
template <std::size_t N>
void dropVertex(std::vector<std::array<int, N>>& records, int vi) {
    for (int ri = static_cast<int>(records.size()) - 1; ri >= 0; --ri) {
        auto& indices = records[ri];
        bool uses = false;
        for (int k : indices) uses = uses || k == vi;
        if (uses) {
            records.erase(records.begin() + ri);
            continue;
        }
        for (int& k : indices) k -= k > vi ? 1 : 0;
    }
}

class StoreSequenceTest : public testing::Test {
  protected:
    void TearDown() override {
        while (obj::fileCount() > 0) obj::deleteFile(obj::fileCount() - 1);
    }

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    float value() { return std::uniform_real_distribution<float>(-100, 100)(random); }

    void step(std::vector<RefFile>& ref) {
        int op = pick(20);
        if (ref.empty() || op == 0) {
            ASSERT_EQ(obj::createFile(nullptr), static_cast<int>(ref.size()));
            ref.emplace_back();
            return;
        }
        int fi = pick(static_cast<int>(ref.size()));
        RefFile& f = ref[fi];
        int mc = static_cast<int>(f.materials.size());
        int vc = static_cast<int>(f.vertices.size());
        int sc = static_cast<int>(f.surfaces.size());
        switch (op) {
            case 1:
                if (pick(4) == 0) {
                    obj::deleteFile(fi);
                    ref.erase(ref.begin() + fi);
                }
                return;
            case 2:
                ASSERT_EQ(obj::createMaterial(fi), mc);
                f.materials.push_back(defaultMaterial());
                return;
            case 3:
                if (mc == 0) return;
                {
                    int mi = pick(mc);
                    obj::deleteMaterial(fi, mi);
                    f.materials.erase(f.materials.begin() + mi);
                    for (int si = sc - 1; si >= 0; --si) {
                        int& material = f.surfaces[si].material;
                        if (material == mi) {
                            f.surfaces.erase(f.surfaces.begin() + si);
                        } else if (material > mi) {
                            --material;
                        }
                    }
                }
                return;
            case 4:
                if (mc == 0) return;
                {
                    int mi = pick(mc);
                    std::optional<std::string> name;
                    if (pick(3) != 0) name = "m" + std::to_string(pick(1000));
                    obj::setMaterialName(fi, mi, name ? name->c_str() : nullptr);
                    f.materials[mi].name = name;
                }
                return;
            case 5:
                if (mc == 0) return;
                {
                    int mi = pick(mc);
                    int ki = pick(5);
                    RefMaterial& m = f.materials[mi];
                    for (float& x : m.c[ki]) x = value();
                    for (float& x : m.o[ki]) x = value();
                    for (float& x : m.s[ki]) x = value();
                    m.flags[ki] = pick(2);
                    obj::setMaterialColor(fi, mi, ki, m.c[ki].data());
                    obj::setMaterialOffset(fi, mi, ki, m.o[ki].data());
                    obj::setMaterialScale(fi, mi, ki, m.s[ki].data());
                    obj::setMaterialFlags(fi, mi, ki, m.flags[ki]);
                }
                return;
            case 6:
            case 7:
                ASSERT_EQ(obj::createVertex(fi), vc);
                f.vertices.emplace_back();
                return;
            case 8:
                if (vc == 0) return;
                {
                    int vi = pick(vc);
                    obj::deleteVertex(fi, vi);
                    f.vertices.erase(f.vertices.begin() + vi);
                    for (RefSurface& s : f.surfaces) {
                        dropVertex(s.polygons, vi);
                        dropVertex(s.lines, vi);
                    }
                }
                return;
            case 9:
                if (vc == 0) return;
                {
                    int vi = pick(vc);
                    RefVertex& v = f.vertices[vi];
                    for (float& x : v.position) x = value();
                    for (float& x : v.texcoord) x = value();
                    for (float& x : v.normal) x = value();
                    obj::setVertexPosition(fi, vi, v.position.data());
                    obj::setVertexTexcoord(fi, vi, v.texcoord.data());
                    obj::setVertexNormal(fi, vi, v.normal.data());
                }
                return;
            case 10:
                ASSERT_EQ(obj::createSurface(fi), sc);
                f.surfaces.emplace_back();
                return;
            case 11:
                if (sc == 0) return;
                {
                    int si = pick(sc);
                    obj::deleteSurface(fi, si);
                    f.surfaces.erase(f.surfaces.begin() + si);
                }
                return;
            case 12:
                if (sc == 0) return;
                {
                    // Sometimes out of range: the store accepts any material value.
                    int si = pick(sc);
                    int mi = pick(mc + 3) - 1;
                    obj::setSurfaceMaterial(fi, si, mi);
                    f.surfaces[si].material = mi;
                }
                return;
            case 13:
            case 14:
                if (sc == 0 || vc == 0) return;
                {
                    int si = pick(sc);
                    RefSurface& s = f.surfaces[si];
                    std::array<int, 3> corners = {pick(vc), pick(vc), pick(vc)};
                    ASSERT_EQ(obj::createPolygon(fi, si), static_cast<int>(s.polygons.size()));
                    obj::setPolygon(fi, si, static_cast<int>(s.polygons.size()), corners.data());
                    s.polygons.push_back(corners);
                }
                return;
            case 15:
                if (sc == 0 || vc == 0) return;
                {
                    int si = pick(sc);
                    RefSurface& s = f.surfaces[si];
                    std::array<int, 2> ends = {pick(vc), pick(vc)};
                    ASSERT_EQ(obj::createLine(fi, si), static_cast<int>(s.lines.size()));
                    obj::setLine(fi, si, static_cast<int>(s.lines.size()), ends.data());
                    s.lines.push_back(ends);
                }
                return;
            case 16:
                if (sc == 0) return;
                {
                    int si = pick(sc);
                    RefSurface& s = f.surfaces[si];
                    if (s.polygons.empty()) return;
                    int pi = pick(static_cast<int>(s.polygons.size()));
                    obj::deletePolygon(fi, si, pi);
                    s.polygons.erase(s.polygons.begin() + pi);
                }
                return;
            case 17:
                if (sc == 0) return;
                {
                    int si = pick(sc);
                    RefSurface& s = f.surfaces[si];
                    if (s.lines.empty()) return;
                    int li = pick(static_cast<int>(s.lines.size()));
                    obj::deleteLine(fi, si, li);
                    s.lines.erase(s.lines.begin() + li);
                }
                return;
            default:
                return;
        }
    }

    static void expectSame(const std::vector<RefFile>& ref) {
        ASSERT_EQ(obj::fileCount(), static_cast<int>(ref.size()));
        for (int fi = 0; fi < static_cast<int>(ref.size()); ++fi) {
            const RefFile& f = ref[fi];
            ASSERT_EQ(obj::materialCount(fi), static_cast<int>(f.materials.size()));
            ASSERT_EQ(obj::vertexCount(fi), static_cast<int>(f.vertices.size()));
            ASSERT_EQ(obj::surfaceCount(fi), static_cast<int>(f.surfaces.size()));
            for (int mi = 0; mi < static_cast<int>(f.materials.size()); ++mi) {
                const RefMaterial& m = f.materials[mi];
                const char* name = obj::getMaterialName(fi, mi);
                ASSERT_EQ(name != nullptr, m.name.has_value());
                if (name) {
                    ASSERT_EQ(std::string(name), *m.name);
                }
                for (int ki = 0; ki < 5; ++ki) {
                    std::array<float, 4> c;
                    std::array<float, 3> o;
                    std::array<float, 3> s;
                    obj::getMaterialColor(fi, mi, ki, c.data());
                    obj::getMaterialOffset(fi, mi, ki, o.data());
                    obj::getMaterialScale(fi, mi, ki, s.data());
                    ASSERT_EQ(c, m.c[ki]);
                    ASSERT_EQ(o, m.o[ki]);
                    ASSERT_EQ(s, m.s[ki]);
                    ASSERT_EQ(obj::getMaterialFlags(fi, mi, ki), m.flags[ki]);
                    ASSERT_EQ(obj::getMaterialTexture(fi, mi, ki), 0u);
                }
            }
            for (int vi = 0; vi < static_cast<int>(f.vertices.size()); ++vi) {
                RefVertex v;
                obj::getVertexPosition(fi, vi, v.position.data());
                obj::getVertexTexcoord(fi, vi, v.texcoord.data());
                obj::getVertexNormal(fi, vi, v.normal.data());
                ASSERT_EQ(v.position, f.vertices[vi].position);
                ASSERT_EQ(v.texcoord, f.vertices[vi].texcoord);
                ASSERT_EQ(v.normal, f.vertices[vi].normal);
            }
            for (int si = 0; si < static_cast<int>(f.surfaces.size()); ++si) {
                const RefSurface& s = f.surfaces[si];
                ASSERT_EQ(obj::getSurfaceMaterial(fi, si), s.material);
                ASSERT_EQ(obj::polygonCount(fi, si), static_cast<int>(s.polygons.size()));
                ASSERT_EQ(obj::lineCount(fi, si), static_cast<int>(s.lines.size()));
                for (int pi = 0; pi < static_cast<int>(s.polygons.size()); ++pi) {
                    std::array<int, 3> corners;
                    obj::getPolygon(fi, si, pi, corners.data());
                    ASSERT_EQ(corners, s.polygons[pi]);
                }
                for (int li = 0; li < static_cast<int>(s.lines.size()); ++li) {
                    std::array<int, 2> ends;
                    obj::getLine(fi, si, li, ends.data());
                    ASSERT_EQ(ends, s.lines[li]);
                }
            }
        }
    }

    std::mt19937 random;
};

TEST_F(StoreSequenceTest, LongRandomSequencesAgreeWithAPlainReference) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        random.seed(seed);
        std::vector<RefFile> ref;
        for (int n = 0; n < 3000; ++n) {
            ASSERT_NO_FATAL_FAILURE(step(ref)) << "seed " << seed << " step " << n;
            if (n % 10 == 0) {
                ASSERT_NO_FATAL_FAILURE(expectSame(ref)) << "seed " << seed;
            }
        }
        ASSERT_NO_FATAL_FAILURE(expectSame(ref));
        while (obj::fileCount() > 0) obj::deleteFile(obj::fileCount() - 1);
    }
}

}  // namespace
