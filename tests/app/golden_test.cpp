// Pictures recorded once and checked bit for bit: for each row the saved document (or, for the
// large ones, its hash) and hashes of the frame's drawing stream, as the picture is built through
// the chain and as it is opened again from its document. Run with KALEIDRA_RECORD_GOLDEN=1 to
// write the files instead.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/document.h"
#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/settings.h"
#include "platform/recording_layer.h"
#include "render/chain.h"
#include "render/frame.h"
#include "test_model.h"

namespace {

const std::string kDir = std::string(KALEIDRA_TESTS_DIR) + "/app/golden/";

struct Row {
    const char* name;
    unsigned seed;
    int v, e, f;
    int project;
    int polyTri, selfMirror;
    int groupOrder;
    int scheme;  // every family's scheme
    int turn;    // 0 none, 1 a rotation, 2 a rotation and a translation, 3 that and re-centred
    double spiral = 2.0;
    int only = 0;  // 0 everything, 1 poly or 2 tri families only, 3 self or 4 mirror copy only
    int snub = 0;  // 0 the Wythoff tiling, 1 its snub, 2 the snub's mirror copy
};

// Sphere, plane and hyperbolic groups under every projection, both emphases, group orders
// 0..2000, views turned and moved, every colour scheme, and snubs.
const Row kRows[] = {
    {"sphere235_p0", 11, 2, 3, 5, 0, 0, 0, 200, 2, 0},
    {"sphere235_p1_tri", 12, 2, 3, 5, 1, 1, 0, 200, 3, 1},
    {"sphere334_p2", 13, 3, 3, 4, 2, 0, 1, 120, 4, 2},
    {"sphere225_p3", 14, 2, 2, 5, 3, 1, 1, 2000, 1, 1},
    {"sphere233_p4", 15, 2, 3, 3, 4, 0, 0, 0, 0, 0},
    {"sphere234_p5", 16, 2, 3, 4, 5, 1, 0, 50, 2, 2},
    {"sphere2212_p2", 17, 2, 2, 12, 2, 0, 0, 2000, 3, 3},
    {"sphere235_p2_polyonly", 18, 2, 3, 5, 2, 0, 0, 200, 1, 1, 2.0, 1},
    {"sphere235_p0_trionly", 19, 2, 3, 5, 0, 1, 1, 200, 4, 2, 2.0, 2},
    {"plane333_p0", 21, 3, 3, 3, 0, 0, 0, 200, 2, 0},
    {"plane244_p1", 22, 2, 4, 4, 1, 1, 0, 500, 3, 1},
    {"plane236_p2", 23, 2, 3, 6, 2, 0, 1, 1000, 4, 2},
    {"plane333_p3", 24, 3, 3, 3, 3, 1, 1, 300, 1, 1},
    {"plane244_p4", 25, 2, 4, 4, 4, 0, 0, 400, 0, 2, 3.0},
    {"plane236_p5", 26, 2, 3, 6, 5, 1, 0, 2000, 2, 3, 1.0},
    {"plane333_p3_spiral", 27, 3, 3, 3, 3, 0, 0, 800, 3, 0, 7.5},
    {"plane244_p2_trionly", 28, 2, 4, 4, 2, 1, 0, 300, 2, 3, 2.0, 2},
    {"plane236_p0_order0", 29, 2, 3, 6, 0, 0, 0, 0, 2, 1},
    {"hyp237_p0", 31, 2, 3, 7, 0, 0, 0, 200, 2, 0},
    {"hyp334_p1", 32, 3, 3, 4, 1, 1, 0, 600, 3, 1},
    {"hyp245_p2", 33, 2, 4, 5, 2, 0, 1, 1500, 4, 2},
    {"hyp444_p3", 34, 4, 4, 4, 3, 1, 1, 400, 1, 1},
    {"hyp2312_p4", 35, 2, 3, 12, 4, 0, 0, 700, 0, 3, 2.5},
    {"hyp555_p5", 36, 5, 5, 5, 5, 1, 0, 2000, 2, 2},
    {"hyp237_p2_turned", 37, 2, 3, 7, 2, 0, 0, 1000, 3, 3},
    {"hyp3312_p3_spiral", 38, 3, 3, 12, 3, 0, 1, 900, 4, 2, 9.0},
    {"hyp237_p2_polyonly", 39, 2, 3, 7, 2, 1, 1, 300, 1, 0, 2.0, 1},
    {"hyp238_p0_order0", 40, 2, 3, 8, 0, 1, 0, 0, 3, 2},
    {"hyp777_p1", 41, 7, 7, 7, 1, 0, 0, 250, 2, 1},
    {"sphere2210_p1", 42, 2, 2, 10, 1, 1, 1, 20, 4, 3},
    {"plane333_p4_order1", 43, 3, 3, 3, 4, 0, 1, 1, 3, 0},
    {"hyp2312_p5_spiral", 44, 2, 3, 12, 5, 1, 1, 1200, 1, 2, 4.0},
    {"sphere235_p0_snub", 45, 2, 3, 5, 0, 0, 0, 200, 2, 1, 2.0, 0, 1},
    {"plane244_p2_snubmirror", 46, 2, 4, 4, 2, 1, 0, 300, 3, 2, 2.0, 0, 2},
    {"hyp237_p1_snub", 47, 2, 3, 7, 1, 0, 1, 400, 4, 0, 2.0, 0, 1},
    {"sphere234_p0_selfonly", 48, 2, 3, 4, 0, 0, 0, 48, 2, 1, 2.0, 3},
    {"hyp245_p2_mirroronly", 49, 2, 4, 5, 2, 1, 1, 300, 3, 0, 2.0, 4},
};

void build(const Row& row) {
    model.settings = Settings{};
    initRandom(model, row.seed);
    updateGeometryLabels(model.settings);
    Settings& s = model.settings;
    const int oldGen = s.gen;
    s.genV = row.v, s.genE = row.e, s.genF = row.f;
    finishGen(model, oldGen);
    s.spiralAngle = row.spiral;
    s.groupOrder = row.groupOrder;
    chainSetGroupOrder(model);
    s.project3D2D = row.project;
    chainSetProject3D2D(model);
    if (row.snub > 0) {
        s.snubForm = true;
        s.snubMirror = row.snub == 2;
        chainSnub(model);
    }
    s.polyTriEmphasis = row.polyTri;
    s.selfMirrorEmphasis = row.selfMirror;
    s.polyFaceScheme = s.polyEdgeScheme = s.polyVertScheme = row.scheme;
    s.triFaceScheme = s.triEdgeScheme = s.triVertScheme = row.scheme;
    if (row.only == 1) s.triFaceDraw = s.triEdgeDraw = s.triVertDraw = false;
    if (row.only == 2) s.polyFaceDraw = s.polyEdgeDraw = s.polyVertDraw = false;
    s.mirrorDraw = row.only != 3;
    s.selfDraw = row.only != 4;
    if (row.turn >= 1) {
        Matrix r;
        rotateMXY(model.settings.gen, r, Point{1, 0, 0}, Point{0.6, 0.8, 0});
        s.pointMatrix = dotM(r, s.pointMatrix);
        if (row.turn >= 2) {
            Point p;
            normalize(model.settings.gen, p, Point{0.3, -0.2, 1});
            Matrix t;
            translateM(model.settings.gen, t, p);
            s.pointMatrix = dotM(t, s.pointMatrix);
        }
        if (row.turn >= 3) {
            chainCenter(model);
        } else {
            chainView(model);
        }
    }
}

// FNV-1a over bytes.
struct Hash {
    uint64_t value = 14695981039346656037ull;
    void mix(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) value = (value ^ bytes[i]) * 1099511628211ull;
    }
    std::string hex() const {
        std::ostringstream out;
        out << std::hex << value;
        return out.str();
    }
};

// Every command of a frame: operation, the five argument bits and any text.
std::string frameHash() {
    RecordingLayer layer;
    srandom(4242);  // the glitter scheme draws from the random source
    drawFrame(model, {640, 480}, layer);
    Hash hash;
    for (const RecordingLayer::Command& c : layer.commands()) {
        const int op = static_cast<int>(c.op);
        hash.mix(&op, sizeof op);
        hash.mix(c.v, sizeof c.v);
        hash.mix(c.text.data(), c.text.size());
    }
    return hash.hex();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool recording() {
    const char* v = std::getenv("KALEIDRA_RECORD_GOLDEN");
    return v && std::strcmp(v, "1") == 0;
}

// The documents of the larger pictures (their group tables run to megabytes) are kept as hashes
// only.
constexpr size_t kStoredDocumentLimit = 200000;

// name → hashes of the document, of the frame as built and of the frame as opened again
std::map<std::string, std::array<std::string, 3>> readHashes() {
    std::map<std::string, std::array<std::string, 3>> hashes;
    std::istringstream in(readFile(kDir + "hashes.txt"));
    std::string name, document, built, opened;
    while (in >> name >> document >> built >> opened) hashes[name] = {document, built, opened};
    return hashes;
}

TEST(Golden, EveryRecordedPictureIsDrawnAndSavedExactlyAsRecorded) {
    const auto hashes = recording() ? decltype(readHashes()){} : readHashes();
    std::ostringstream written;
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        build(row);
        const std::string xml = documentXml(model);
        Hash document;
        document.mix(xml.data(), xml.size());
        const std::string built = frameHash();
        ASSERT_TRUE(openDocumentData(model, xml));
        const std::string opened = frameHash();
        const std::string path = kDir + row.name + kDocumentSuffix;
        if (recording()) {
            if (xml.size() < kStoredDocumentLimit) std::ofstream(path, std::ios::binary) << xml;
            written << row.name << ' ' << document.hex() << ' ' << built << ' ' << opened << '\n';
            continue;
        }
        ASSERT_EQ(hashes.count(row.name), 1u);
        if (xml.size() < kStoredDocumentLimit) {
            EXPECT_TRUE(xml == readFile(path)) << "the saved document differs";
        }
        EXPECT_EQ(document.hex(), hashes.at(row.name)[0]);
        EXPECT_EQ(built, hashes.at(row.name)[1]);
        EXPECT_EQ(opened, hashes.at(row.name)[2]);
    }
    if (recording()) std::ofstream(kDir + "hashes.txt") << written.str();
}

}  // namespace
