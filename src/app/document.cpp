#include "app/document.h"

#include <plist/plist.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "app/file_io.h"
#include "app/plist_guard.h"
#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "platform/beep.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "render/model.h"
#include "tiling/generating_point.h"
#include "tiling/tables.h"

namespace {

// ---------------------------------------------------------------------------------------------
// The settings a document carries, in the order save enters them.

// What a value outside its range does: refuse the document, or be pulled into the range.
enum class Range { refuse, clamp, any };

struct Field {
    const char* key;
    std::variant<int Settings::*, bool Settings::*, double Settings::*, BColor Settings::*> member;
    double lo = 0, hi = 0;
    Range range = Range::any;
};

using S = Settings;

const Field kFields[] = {
    {"geometry", &S::geometry},
    {"generatorV", &S::genV, 2, 12, Range::refuse},
    {"generatorE", &S::genE, 2, 12, Range::refuse},
    {"generatorF", &S::genF, 2, 12, Range::refuse},
    {"uniformV", &S::uniformV},
    {"uniformE", &S::uniformE},
    {"uniformF", &S::uniformF},
    {"lengthV", &S::lengthV, 0, 1, Range::refuse},
    {"lengthE", &S::lengthE, 0, 1, Range::refuse},
    {"lengthF", &S::lengthF, 0, 1, Range::refuse},
    {"lengthStep", &S::lengthStep, 0, 0.5, Range::clamp},
    {"edgeSegments", &S::segments, 1, 100, Range::refuse},
    {"groupOrder", &S::groupOrder, 0, 2000, Range::refuse},
    {"spiralAngle", &S::spiralAngle, 1, 10, Range::refuse},
    {"windowZoom", &S::windowZoom, 1, 20, Range::refuse},
    {"project3D2D", &S::project3D2D},
    {"translateStep", &S::translateStep, 0, 0.5, Range::clamp},
    {"mouseMode", &S::mouseMode},
    {"mousePoints", &S::mousePoints},
    {"mouseColors", &S::mouseColors},
    {"selfMirrorEmphasis", &S::selfMirrorEmphasis},
    {"polyTriEmphasis", &S::polyTriEmphasis},
    {"polyFaceDraw", &S::polyFaceDraw},
    {"polyEdgeDraw", &S::polyEdgeDraw},
    {"polyVertDraw", &S::polyVertDraw},
    {"triFaceDraw", &S::triFaceDraw},
    {"triEdgeDraw", &S::triEdgeDraw},
    {"triVertDraw", &S::triVertDraw},
    {"selfDraw", &S::selfDraw},
    {"mirrorDraw", &S::mirrorDraw},
    {"circleDraw", &S::circleDraw},
    {"originDraw", &S::originDraw},
    {"windowDraw", &S::windowDraw},
    {"polyFaceVDraw", &S::polyFaceVDraw},
    {"polyFaceEDraw", &S::polyFaceEDraw},
    {"polyFaceFDraw", &S::polyFaceFDraw},
    {"polyEdgeEFDraw", &S::polyEdgeEFDraw},
    {"polyEdgeFVDraw", &S::polyEdgeFVDraw},
    {"polyEdgeVEDraw", &S::polyEdgeVEDraw},
    {"polyVertPosDraw", &S::polyVertPosDraw},
    {"polyVertNegDraw", &S::polyVertNegDraw},
    {"triFacePosDraw", &S::triFacePosDraw},
    {"triFaceNegDraw", &S::triFaceNegDraw},
    {"triEdgeEFDraw", &S::triEdgeEFDraw},
    {"triEdgeFVDraw", &S::triEdgeFVDraw},
    {"triEdgeVEDraw", &S::triEdgeVEDraw},
    {"triVertVDraw", &S::triVertVDraw},
    {"triVertEDraw", &S::triVertEDraw},
    {"triVertFDraw", &S::triVertFDraw},
    {"circleColor", &S::circleColor, 0, 1, Range::clamp},
    {"originColor", &S::originColor, 0, 1, Range::clamp},
    {"windowColor", &S::windowColor, 0, 1, Range::clamp},
    {"polyFaceVColor", &S::polyFaceVColor, 0, 1, Range::clamp},
    {"polyFaceEColor", &S::polyFaceEColor, 0, 1, Range::clamp},
    {"polyFaceFColor", &S::polyFaceFColor, 0, 1, Range::clamp},
    {"polyEdgeEFColor", &S::polyEdgeEFColor, 0, 1, Range::clamp},
    {"polyEdgeFVColor", &S::polyEdgeFVColor, 0, 1, Range::clamp},
    {"polyEdgeVEColor", &S::polyEdgeVEColor, 0, 1, Range::clamp},
    {"polyVertPosColor", &S::polyVertPosColor, 0, 1, Range::clamp},
    {"polyVertNegColor", &S::polyVertNegColor, 0, 1, Range::clamp},
    {"triFacePosColor", &S::triFacePosColor, 0, 1, Range::clamp},
    {"triFaceNegColor", &S::triFaceNegColor, 0, 1, Range::clamp},
    {"triEdgeEFColor", &S::triEdgeEFColor, 0, 1, Range::clamp},
    {"triEdgeFVColor", &S::triEdgeFVColor, 0, 1, Range::clamp},
    {"triEdgeVEColor", &S::triEdgeVEColor, 0, 1, Range::clamp},
    {"triVertVColor", &S::triVertVColor, 0, 1, Range::clamp},
    {"triVertEColor", &S::triVertEColor, 0, 1, Range::clamp},
    {"triVertFColor", &S::triVertFColor, 0, 1, Range::clamp},
    {"polyFaceScheme", &S::polyFaceScheme},
    {"polyEdgeScheme", &S::polyEdgeScheme},
    {"polyVertScheme", &S::polyVertScheme},
    {"triFaceScheme", &S::triFaceScheme},
    {"triEdgeScheme", &S::triEdgeScheme},
    {"triVertScheme", &S::triVertScheme},
    {"polyFaceOffset", &S::polyFaceOffset, -1e6, 1e6, Range::refuse},
    {"polyEdgeOffset", &S::polyEdgeOffset, -1e6, 1e6, Range::refuse},
    {"polyVertOffset", &S::polyVertOffset, -1e6, 1e6, Range::refuse},
    {"triFaceOffset", &S::triFaceOffset, -1e6, 1e6, Range::refuse},
    {"triEdgeOffset", &S::triEdgeOffset, -1e6, 1e6, Range::refuse},
    {"triVertOffset", &S::triVertOffset, -1e6, 1e6, Range::refuse},
    {"polyFaceAlpha", &S::polyFaceAlpha, 0, 1, Range::clamp},
    {"polyEdgeAlpha", &S::polyEdgeAlpha, 0, 1, Range::clamp},
    {"polyVertAlpha", &S::polyVertAlpha, 0, 1, Range::clamp},
    {"triFaceAlpha", &S::triFaceAlpha, 0, 1, Range::clamp},
    {"triEdgeAlpha", &S::triEdgeAlpha, 0, 1, Range::clamp},
    {"triVertAlpha", &S::triVertAlpha, 0, 1, Range::clamp},
    {"circleAlpha", &S::circleAlpha, 0, 1, Range::clamp},
    {"originAlpha", &S::originAlpha, 0, 1, Range::clamp},
    {"windowAlpha", &S::windowAlpha, 0, 1, Range::clamp},
    {"panelAlpha", &S::panelAlpha, 0.05, 1, Range::clamp},
    {"polyFaceThickness", &S::polyFaceThick, 0, 1, Range::clamp},
    {"polyEdgeThickness", &S::polyEdgeThick, 0, 1, Range::clamp},
    {"polyVertThickness", &S::polyVertThick, 0, 1, Range::clamp},
    {"triFaceThickness", &S::triFaceThick, 0, 1, Range::clamp},
    {"triEdgeThickness", &S::triEdgeThick, 0, 1, Range::clamp},
    {"triVertThickness", &S::triVertThick, 0, 1, Range::clamp},
    {"circleThickness", &S::circleThick, 0, 1, Range::clamp},
    {"originThickness", &S::originThick, 0, 1, Range::clamp},
};
static_assert(std::size(kFields) == 98);

struct ColourList {
    const char* key;
    DataTable GroupTables::*table;
    bool tri;  // the records' tri colours; otherwise their poly colours
};

const ColourList kColourLists[] = {
    {"polyColorV", &GroupTables::dataV, false},     {"polyColorE", &GroupTables::dataE, false},
    {"polyColorF", &GroupTables::dataF, false},     {"polyColorEF", &GroupTables::dataEF, false},
    {"polyColorFV", &GroupTables::dataFV, false},   {"polyColorVE", &GroupTables::dataVE, false},
    {"polyColorVEF", &GroupTables::dataVEF, false}, {"triColorV", &GroupTables::dataV, true},
    {"triColorE", &GroupTables::dataE, true},       {"triColorF", &GroupTables::dataF, true},
    {"triColorEF", &GroupTables::dataEF, true},     {"triColorFV", &GroupTables::dataFV, true},
    {"triColorVE", &GroupTables::dataVE, true},     {"triColorVEF", &GroupTables::dataVEF, true},
};

// ---------------------------------------------------------------------------------------------
// Writing.

struct PlistDeleter {
    void operator()(void* p) const { plist_free(static_cast<plist_t>(p)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

plist_t writeNumbers(const double* values, int n) {
    plist_t array = plist_new_array();
    for (int i = 0; i < n; ++i) plist_array_append_item(array, plist_new_real(values[i]));
    return array;
}

plist_t writeColor(const BColor& c) {
    const double v[3] = {c.r, c.g, c.b};
    return writeNumbers(v, 3);
}

plist_t writePoint(const Point& p) {
    const double v[3] = {p.x, p.y, p.z};
    return writeNumbers(v, 3);
}

plist_t writeBPoint(const BPoint& p) {
    const double v[3] = {static_cast<double>(p.x), static_cast<double>(p.y),
                         static_cast<double>(p.z)};
    return writeNumbers(v, 3);
}

plist_t writeMatrix(const Matrix& m) {
    const double v[10] = {m.sign, m.m00, m.m01, m.m02, m.m10, m.m11, m.m12, m.m20, m.m21, m.m22};
    return writeNumbers(v, 10);
}

plist_t writeBMatrix(const BMatrix& m) {
    Matrix rounded;
    smallM(rounded, m);
    return writeMatrix(rounded);
}

plist_t writeInteger(int64_t v) {
    return plist_new_uint(static_cast<uint64_t>(v));
}

plist_t writeColourList(const DataTable& table, bool tri) {
    plist_t array = plist_new_array();
    for (int i = 0; i < table.count; ++i) {
        const DataModule& record = table.at(i);
        plist_array_append_item(array, writeColor(tri ? record.triColor : record.polyColor));
    }
    return array;
}

plist_t writeGroup(Model& m) {
    plist_t array = plist_new_array();
    const auto& group = m.groupTables.matrix;
    for (int i = 0; i < group.count; ++i) plist_array_append_item(array, writeMatrix(group.at(i)));
    return array;
}

PlistPtr buildSaveDict(Model& m) {
    plist_t dict = plist_new_dict();
    auto put = [dict](const char* key, plist_t value) { plist_dict_set_item(dict, key, value); };

    put("signature", plist_new_string("tilemakr"));
    put("identifier", plist_new_string("Kaleidra"));
    put("version", plist_new_string("2010"));
    for (const Field& f : kFields) {
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(m.settings.*member)>;
                const T& value = m.settings.*member;
                if constexpr (std::is_same_v<T, int>) {
                    put(f.key, writeInteger(value));
                } else if constexpr (std::is_same_v<T, bool>) {
                    put(f.key, plist_new_string(value ? "YES" : "NO"));
                } else if constexpr (std::is_same_v<T, double>) {
                    put(f.key, plist_new_real(value));
                } else {
                    put(f.key, writeColor(value));
                }
            },
            f.member);
        if (std::string_view(f.key) == "generatorF")
            put("generatorType", writeInteger(m.settings.gen));
    }

    put("matrixCount", writeInteger(m.groupTables.matrix.count));
    put("triCount", writeInteger(m.drawLists.triCount));
    put("polyCount", writeInteger(m.drawLists.polyCount));
    put("quadCount", writeInteger(m.drawLists.quadCount));
    put("eqManifold", plist_new_string(m.settings.eqManifold.c_str()));
    put("eqCircle", plist_new_string(m.settings.eqCircle.c_str()));
    put("eqPerspective", plist_new_string(m.settings.eqPerspective.c_str()));

    const TriangleGroup& t = m.triangleGroup;
    const SpecialPoints& p = m.specialPoints;
    put("triPointV", writeBPoint(t.bTriV));
    put("triPointE", writeBPoint(t.bTriE));
    put("triPointF", writeBPoint(t.bTriF));
    put("triPointEF", writePoint(p.triEF));
    put("triPointFV", writePoint(p.triFV));
    put("triPointVE", writePoint(p.triVE));
    put("triPointVEF", writePoint(p.triVEF));
    put("polyPointEF", writePoint(p.polyEF));
    put("polyPointFV", writePoint(p.polyFV));
    put("polyPointVE", writePoint(p.polyVE));
    put("polyPointVEF", writePoint(p.polyVEF));
    put("normalLineEF", writeBPoint(t.bNormalEF));
    put("normalLineFV", writeBPoint(t.bNormalFV));
    put("normalLineVE", writeBPoint(t.bNormalVE));
    put("reflectMatrixEF", writeBMatrix(t.bReflectEF));
    put("reflectMatrixFV", writeBMatrix(t.bReflectFV));
    put("reflectMatrixVE", writeBMatrix(t.bReflectVE));
    put("rotateMatrixV", writeBMatrix(t.bRotateV));
    put("rotateMatrixE", writeBMatrix(t.bRotateE));
    put("rotateMatrixF", writeBMatrix(t.bRotateF));
    put("pointMatrixInitial", writeMatrix(m.settings.pointMatrixInitial));
    put("pointMatrix", writeMatrix(m.settings.pointMatrix));
    put("colorMatrix", writeMatrix(m.settings.colorMatrix));
    for (const ColourList& list : kColourLists) {
        put(list.key, writeColourList(m.groupTables.*(list.table), list.tri));
    }
    put("groupMatrixData", writeGroup(m));
    // Snub mode adds its keys only when on, so that every other document stays as it was.
    if (m.settings.snubForm) {
        put("snubForm", plist_new_string("YES"));
        if (m.settings.snubMirror) put("snubMirror", plist_new_string("YES"));
    }
    return PlistPtr(dict);
}

// ---------------------------------------------------------------------------------------------
// Reading into a staging copy.

// Everything a document sets, read and checked before any of it is applied.
struct Staged {
    Settings settings;
    Matrix pointMatrix;
    std::array<std::vector<BColor>, std::size(kColourLists)> lists;
};

std::optional<double> number(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_UINT: {
            uint64_t v = 0;
            plist_get_uint_val(node, &v);
            return static_cast<double>(static_cast<int64_t>(v));
        }
        case PLIST_REAL: {
            double v = 0;
            plist_get_real_val(node, &v);
            return v;
        }
        default:
            return std::nullopt;
    }
}

// An array of exactly n finite numbers.
bool readNumbers(plist_t node, double* out, int n) {
    if (plist_get_node_type(node) != PLIST_ARRAY || plist_array_get_size(node) != uint32_t(n)) {
        return false;
    }
    for (int i = 0; i < n; ++i) {
        const auto v = number(plist_array_get_item(node, i));
        if (!v || !std::isfinite(*v)) return false;
        out[i] = *v;
    }
    return true;
}

bool readColor(plist_t node, BColor& out, bool clamp) {
    double v[3];
    if (!readNumbers(node, v, 3)) return false;
    for (double& c : v) {
        if (clamp) c = std::clamp(c, 0.0, 1.0);
        if (std::fabs(c) > 3.4e38) return false;
    }
    out = {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
    return true;
}

// A view or colour frame: finite, orientation ±1 and invertible. Absent reads as the zero
// matrix, which is not.
bool readMatrix(plist_t dict, const char* key, Matrix& out) {
    plist_t node = plist_dict_get_item(dict, key);
    if (!node) return false;
    double v[10];
    if (!readNumbers(node, v, 10)) return false;
    if (v[0] != 1 && v[0] != -1) return false;
    for (int i = 1; i < 10; ++i) {
        if (std::fabs(v[i]) > 1e12) return false;
    }
    Matrix m{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]};
    const double det = m.m00 * (m.m11 * m.m22 - m.m12 * m.m21) -
                       m.m01 * (m.m10 * m.m22 - m.m12 * m.m20) +
                       m.m02 * (m.m10 * m.m21 - m.m11 * m.m20);
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) return false;
    out = m;
    return true;
}

bool headerMatches(plist_t dict, const char* key, const char* expected) {
    plist_t node = plist_dict_get_item(dict, key);
    if (!node || plist_get_node_type(node) != PLIST_STRING) return false;
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return text && std::string_view(text, length) == expected;
}

bool readField(plist_t dict, const Field& f, Settings& out) {
    plist_t node = plist_dict_get_item(dict, f.key);
    return std::visit(
        [&](auto member) -> bool {
            using T = std::remove_reference_t<decltype(out.*member)>;
            T& value = out.*member;
            if constexpr (std::is_same_v<T, bool>) {
                // Exactly "YES" is set; anything else, an absent key included, is not.
                value = node && plist_get_node_type(node) == PLIST_STRING &&
                        plist_string_val_compare(node, "YES") == 0;
                return true;
            } else if constexpr (std::is_same_v<T, BColor>) {
                if (!node) {
                    value = BColor{};
                    return true;
                }
                return readColor(node, value, f.range == Range::clamp);
            } else {
                double v = 0;
                if (node) {
                    const auto n = number(node);
                    if (!n || !std::isfinite(*n)) return false;
                    v = *n;
                }
                if constexpr (std::is_same_v<T, int>) {
                    if (v != std::trunc(v) || std::fabs(v) > 2147483647.0) return false;
                }
                if (f.range == Range::refuse && (v < f.lo || v > f.hi)) return false;
                if (f.range == Range::clamp) v = std::clamp(v, f.lo, f.hi);
                value = static_cast<T>(v);
                return true;
            }
        },
        f.member);
}

bool readColourList(plist_t dict, const char* key, std::vector<BColor>& out) {
    plist_t node = plist_dict_get_item(dict, key);
    if (!node) return true;  // absent: the rebuilt records keep their fresh colours
    if (plist_get_node_type(node) != PLIST_ARRAY) return false;
    const uint32_t n = plist_array_get_size(node);
    if (n > uint32_t(kCapacity)) return false;
    out.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
        if (!readColor(plist_array_get_item(node, i), out[i], true)) return false;
    }
    return true;
}

std::optional<Staged> readDocument(Model& m, plist_t dict) {
    if (!dict || plist_get_node_type(dict) != PLIST_DICT) return std::nullopt;
    if (!headerMatches(dict, "signature", "tilemakr") ||
        !headerMatches(dict, "identifier", "Kaleidra") || !headerMatches(dict, "version", "2010")) {
        return std::nullopt;
    }
    Staged staged{m.settings, {}, {}};
    Settings& s = staged.settings;
    for (const Field& f : kFields) {
        if (!readField(dict, f, s)) return std::nullopt;
    }
    // The proportions must leave a generating point: not all zero; they are brought back to a
    // sum of 1, which every document this program writes already has.
    const double sum = s.lengthV + s.lengthE + s.lengthF;
    if (!(sum > 0)) return std::nullopt;
    if (std::fabs(sum - 1) > 1e-9) s.lengthV /= sum, s.lengthE /= sum, s.lengthF /= sum;
    // Snub mode and its mirror copy: exactly "YES" is on, anything else or no key is off.
    auto flag = [dict](const char* key) {
        const plist_t node = plist_dict_get_item(dict, key);
        return node && plist_get_node_type(node) == PLIST_STRING &&
               plist_string_val_compare(node, "YES") == 0;
    };
    s.snubForm = flag("snubForm");
    s.snubMirror = s.snubForm && flag("snubMirror");
    // Equalising needs one edge kind to aim at.
    if (!s.uniformV && !s.uniformE && !s.uniformF) s.uniformV = s.uniformE = s.uniformF = true;

    if (!readMatrix(dict, "pointMatrixInitial", s.pointMatrixInitial) ||
        !readMatrix(dict, "colorMatrix", s.colorMatrix) ||
        !readMatrix(dict, "pointMatrix", staged.pointMatrix)) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < std::size(kColourLists); ++i) {
        if (!readColourList(dict, kColourLists[i].key, staged.lists[i])) return std::nullopt;
    }
    return staged;
}

void applyDocument(Model& m, const Staged& staged) {
    const int tabIndex = m.settings.tabIndex;
    const double bright = m.settings.bright;
    m.settings = staged.settings;
    m.settings.tabIndex = tabIndex;
    m.settings.bright = bright;
    m.settings.pointMatrix = m.settings.pointMatrixInitial;
    setOffsetMatrices(m.colourState, m.settings);

    setGenType(m.settings);
    setGen(m);
    rebuildModules(m);

    for (std::size_t i = 0; i < std::size(kColourLists); ++i) {
        DataTable& table = m.groupTables.*(kColourLists[i].table);
        const std::vector<BColor>& list = staged.lists[i];
        // A list shorter than its rebuilt table leaves the remaining records their fresh colours.
        const int n = std::min<int>(table.count, static_cast<int>(list.size()));
        for (int k = 0; k < n; ++k) {
            (kColourLists[i].tri ? table.at(k).triColor : table.at(k).polyColor) = list[k];
        }
    }
    // The draw lists were sorted for the rebuild's view; the stored view may be another one.
    const bool moved =
        std::memcmp(&m.settings.pointMatrix, &staged.pointMatrix, sizeof(Matrix)) != 0;
    m.settings.pointMatrix = staged.pointMatrix;
    if (moved) setOrder(m);
    updateGeometryLabels(m.settings);
}

}  // namespace

std::string documentXml(Model& m) {
    PlistPtr dict = buildSaveDict(m);
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(static_cast<plist_t>(dict.get()), &xml, &length);
    std::string out(xml ? xml : "", xml ? length : 0);
    std::free(xml);
    return out;
}

bool saveDocument(Model& m, const std::string& path, std::string* why) {
    const std::string xml = documentXml(m);
    std::string reason = "the picture could not be put into words";
    if (xml.empty() || !replaceFile(path, xml, reason)) {
        if (why) *why = reason;
        beep();
        return false;
    }
    return true;
}

bool openDocumentData(Model& m, std::string_view bytes) {
    if (bytes.empty() || !plistShapeAcceptable(bytes)) {
        beep();
        return false;
    }
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    PlistPtr owner(root);
    const std::optional<Staged> staged = readDocument(m, root);
    if (!staged) {
        beep();
        return false;
    }
    applyDocument(m, *staged);
    return true;
}

bool openDocument(Model& m, const std::string& path, std::string* why) {
    std::string bytes, reason;
    if (!readRegularFile(path, kMaxDocumentBytes, bytes, reason)) {
        if (why) *why = reason;
        beep();
        return false;
    }
    if (openDocumentData(m, bytes)) return true;
    if (why) *why = "not a Kaleidra document that can be opened";
    return false;
}
