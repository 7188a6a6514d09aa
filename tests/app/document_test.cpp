#include "app/document.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/file_io.h"
#include "geometry/settings.h"
#include "platform/beep.h"
#include "render/chain.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace fs = std::filesystem;

namespace {

std::string read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The document with one key's value element replaced (XML text surgery); an empty key name
// leaves it as it is, and a null value takes the key out.
std::string withValue(const std::string& xml, const std::string& key, const char* value) {
    if (key.empty()) return xml;
    const std::string tag = "<key>" + key + "</key>";
    const std::size_t k = xml.find(tag);
    EXPECT_NE(k, std::string::npos) << key;
    const std::size_t start = xml.find('<', k + tag.size());
    std::size_t end = xml.find("<key>", start);
    if (end == std::string::npos) end = xml.find("</dict>", start);
    while (end > start && (xml[end - 1] == '\n' || xml[end - 1] == '\t')) --end;
    if (value) return xml.substr(0, start) + value + xml.substr(end);
    return xml.substr(0, k) + xml.substr(end);
}

class Document : public testing::Test {
  protected:
    // The picture as the program shows it after start-up (the panel refreshes the labels).
    static void launch(unsigned seed) {
        model.settings = Settings{};
        initRandom(model, seed);
        updateGeometryLabels(model.settings);
    }
    void SetUp() override {
        launch(12345);
        dir_ = fs::temp_directory_path() / ("kaleidra-doc-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Opening must fail with one beep and leave the picture exactly as it was.
    static void expectRefused(std::string_view bytes, const std::string& file = "") {
        const std::string before = documentXml(model);
        const int beeps = beepCount();
        EXPECT_FALSE(file.empty() ? openDocumentData(model, bytes) : openDocument(model, file));
        EXPECT_EQ(beepCount(), beeps + 1);
        EXPECT_EQ(documentXml(model), before);
    }

    fs::path dir_;
};

TEST_F(Document, SavedAndOpenedAgainGivesTheSamePicture) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        launch(seed);
        model.settings.groupOrder = 120 + 40 * static_cast<int>(seed);
        model.settings.snubForm = seed > 2;
        model.settings.snubMirror = seed == 4;
        chainSetGroupOrder(model);
        chainSnub(model);
        ASSERT_TRUE(saveDocument(model, path("a.Kaleidra2D")));
        const std::string saved = documentXml(model);
        // Snub mode adds its keys after the others, and only while it is on.
        EXPECT_EQ(saved.find("<key>snubForm</key>") != std::string::npos, seed > 2);
        EXPECT_EQ(saved.find("<key>snubMirror</key>") != std::string::npos, seed == 4);
        EXPECT_LT(saved.find("<key>groupMatrixData</key>"), saved.find("<key>snub"));
        launch(seed + 100);
        model.settings.snubForm = model.settings.snubMirror = true;
        chainSnub(model);
        ASSERT_TRUE(openDocument(model, path("a.Kaleidra2D")));
        // Every setting, every element colour (floats bit for bit), the view and the rebuilt group.
        EXPECT_EQ(documentXml(model), saved);
    }
}

TEST_F(Document, EditedDocumentsOpenAsTheyShould) {
    const std::string saved = documentXml(model);
    // Computed keys are written for other readers but never read back.
    std::string edited = withValue(saved, "generatorType", "<integer>77</integer>");
    edited = withValue(edited, "matrixCount", "<integer>3</integer>");
    edited = withValue(edited, "groupMatrixData", "<array/>");
    edited = withValue(edited, "triPointE", "<array><real>9</real><real>9</real></array>");
    launch(4242);
    ASSERT_TRUE(openDocumentData(model, edited));
    EXPECT_EQ(documentXml(model), saved);

    // Flags are exactly YES; some keys name their setting differently; harmless oddities apply.
    const std::pair<const char*, const char*> edits[] = {{"polyFaceDraw", "<string>yes</string>"},
                                                         {"mirrorDraw", "<string>YES</string>"},
                                                         {"edgeSegments", "<integer>7</integer>"},
                                                         {"originThickness", "<real>0.125</real>"},
                                                         {"project3D2D", "<integer>7</integer>"},
                                                         {"panelAlpha", "<real>0</real>"},
                                                         {"groupOrder", "<real>300</real>"},
                                                         {"uniformV", nullptr},
                                                         {"uniformE", nullptr},
                                                         {"uniformF", nullptr},
                                                         {"polyColorV", "<array/>"}};
    for (const auto& [key, value] : edits) edited = withValue(edited, key, value);
    ASSERT_TRUE(openDocumentData(model, edited));
    const Settings& s = model.settings;
    EXPECT_TRUE(!s.polyFaceDraw && s.mirrorDraw && s.uniformV && s.uniformE && s.uniformF);
    EXPECT_EQ(s.segments, 7);
    EXPECT_EQ(s.originThick, 0.125);
    EXPECT_EQ(s.project3D2D, 7);
    EXPECT_EQ(s.panelAlpha, 0.05);
    EXPECT_EQ(s.groupOrder, 300);
}

TEST_F(Document, BadDocumentsAreRefusedWithNothingChanged) {
    const std::string saved = documentXml(model);
    launch(77);  // a different picture is on show while the bad documents are tried
    // Beyond the corpus files (tests/app/corpus), which hold more of the same. Absent reads as
    // zero: a zero matrix (or all three proportions zero) cannot be shown.
    const std::pair<const char*, const char*> rows[] = {
        {"signature", nullptr},
        {"generatorV", "<real>3.5</real>"},
        {"spiralAngle", "<real>0</real>"},
        {"polyFaceOffset", "<real>1e300</real>"},
        {"circleColor", "<array><real>nan</real><real>0</real><real>0</real></array>"},
        {"colorMatrix",
         "<array><real>0</real><real>1</real><real>0</real><real>0</real>"
         "<real>0</real><real>1</real><real>0</real><real>0</real><real>0</real>"
         "<real>1</real></array>"},
        {"pointMatrixInitial", "<dict/>"},
        {"triColorE", "<array><array><real>1</real></array></array>"},
        {"pointMatrix", nullptr},
    };
    for (const auto& [key, value] : rows) {
        SCOPED_TRACE(std::string(key) + " = " + (value ? value : "nothing"));
        expectRefused(withValue(saved, key, value));
    }
    expectRefused(withValue(withValue(withValue(saved, "lengthV", nullptr), "lengthE", nullptr),
                            "lengthF", nullptr));
    expectRefused("not a property list at all");

    // Deep nesting, in XML and in a binary list whose arrays nest 100,000 deep, is refused quickly.
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<array>";
    for (int i = 0; i < 200000; ++i) deep += "</array>";
    expectRefused(withValue(saved, "polyColorV", deep.c_str()));
    std::string bin = "bplist00", table;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        for (int b = 3; b >= 0; --b) table += char((bin.size() >> (8 * b)) & 0xFF);
        const int next = i + 1 < n ? i + 1 : 0;
        bin += std::string{char(next ? 0xA1 : 0xA0), char(next >> 16), char((next >> 8) & 0xFF),
                           char(next & 0xFF)}
                   .substr(0, next ? 4 : 1);
    }
    std::string trailer(32, '\0');
    trailer[6] = 4, trailer[7] = 3;
    for (int b = 0; b < 8; ++b) trailer[15 - b] = char((uint64_t(n) >> (8 * b)) & 0xFF);
    for (int b = 0; b < 8; ++b) trailer[31 - b] = char((uint64_t(bin.size()) >> (8 * b)) & 0xFF);
    expectRefused(bin + table + trailer);

    // A 100 MB file is refused before it is read.
    std::ofstream(path("big.Kaleidra2D"), std::ios::binary) << saved;
    fs::resize_file(path("big.Kaleidra2D"), 100u << 20);
    expectRefused("", path("big.Kaleidra2D"));
}

TEST_F(Document, FailedSaveKeepsTheEarlierFile) {
    const std::string target = path("keep.Kaleidra2D");
    std::ofstream(target) << "earlier contents";
    // A file-size limit makes the write fail half way, even for root.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const int beeps = beepCount();
    const bool saved = saveDocument(model, target);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(read(target), "earlier contents");
    EXPECT_FALSE(saveDocument(model, path("no/such/folder/x.Kaleidra2D")));
    EXPECT_EQ(beepCount(), beeps + 2);
    ASSERT_TRUE(saveDocument(model, target));
    EXPECT_EQ(read(target), documentXml(model));
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        ++files;
        EXPECT_EQ(entry.path().filename().string(), "keep.Kaleidra2D");  // no temporary left
    }
    EXPECT_EQ(files, 1);
}

// What is not a regular file is refused with the reason, at once: a FIFO with no writer would
// otherwise hold the open for ever.
TEST_F(Document, FilesThatCannotBeDocumentsAreRefusedWithTheReason) {
    ASSERT_EQ(mkfifo(path("fifo.Kaleidra2D").c_str(), 0600), 0);
    fs::create_directory(path("folder.Kaleidra2D"));
    const std::pair<const char*, const char*> rows[] = {
        {"missing.Kaleidra2D", "No such file or directory"},
        {"folder.Kaleidra2D", "Is a directory"},
        {"fifo.Kaleidra2D", "not a regular file"},
    };
    for (const auto& [name, reason] : rows) {
        SCOPED_TRACE(name);
        expectRefused("", path(name));
        std::string why;
        EXPECT_FALSE(openDocument(model, path(name), &why));
        EXPECT_EQ(why, reason);
        EXPECT_EQ(saveDocument(model, path(name)), std::string(name) == rows[0].first);
    }
    // Saving over them was refused, and left them as they were.
    EXPECT_TRUE(fs::is_fifo(path("fifo.Kaleidra2D")));
    EXPECT_TRUE(fs::is_directory(path("folder.Kaleidra2D")));
    // A file longer than its size said when opened (the kernel's own files say 0) is read whole.
    std::string bytes, why;
    EXPECT_TRUE(readRegularFile("/proc/self/status", 1 << 20, bytes, why));
    EXPECT_NE(bytes.find("Pid:"), std::string::npos);
}

// Saving over a document keeps what the file was: its permissions (a private document stays
// private) and, where the system allows, its owner.
TEST_F(Document, SavingKeepsTheOldFilesModeAndOwner) {
    const std::string target = path("private.Kaleidra2D");
    for (mode_t mode : {0600, 0755}) {
        SCOPED_TRACE(mode);
        std::ofstream(target) << "earlier contents";
        ASSERT_EQ(chmod(target.c_str(), mode), 0);
        const bool root = geteuid() == 0;
        ASSERT_TRUE(!root || chown(target.c_str(), 4321, 4322) == 0);
        ASSERT_TRUE(saveDocument(model, target));
        struct stat st {};
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_TRUE(!root || (st.st_uid == 4321 && st.st_gid == 4322));
    }
    // A new file gets the usual permissions.
    const mode_t mask = umask(022);
    ASSERT_TRUE(saveDocument(model, path("new.Kaleidra2D")));
    umask(mask);
    EXPECT_EQ(fs::status(path("new.Kaleidra2D")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    // A name as long as the file system allows: the temporary file needs a shorter one.
    const std::string longName(255 - std::string(".Kaleidra2D").size(), 'n');
    ASSERT_TRUE(saveDocument(model, path(longName + ".Kaleidra2D")));
    ASSERT_TRUE(openDocument(model, path(longName + ".Kaleidra2D")));
}

TEST_F(Document, CorpusOfOtherWritersAndHostileFiles) {
    const fs::path corpus = fs::path(KALEIDRA_TESTS_DIR) / "app" / "corpus";
    int opened = 0, refused = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".Kaleidra2D") continue;
        SCOPED_TRACE(name);
        launch(31);
        if (name.rfind("other_writer", 0) != 0) {
            ASSERT_EQ(name.rfind("hostile_", 0), 0u);
            expectRefused("", entry.path().string());
            ++refused;
            continue;
        }
        ASSERT_TRUE(openDocument(model, entry.path().string()));
        EXPECT_EQ(model.settings.genV, 7);
        EXPECT_EQ(model.settings.gen, 1);
        EXPECT_EQ(model.settings.geometry, 2);  // follows the sign of gen
        EXPECT_EQ(model.settings.segments, 12);
        EXPECT_EQ(model.settings.triFaceThick, 0.25);
        EXPECT_EQ(model.settings.eqManifold, "z*z = 1+x*x+y*y ὑπερβολοειδές (2 sheets)");
        EXPECT_GE(model.groupTables.matrix.count, 300);
        // The one stored colour list is laid over its table; the others keep fresh colours.
        const BColor stored{0.25f, 0.5f, 0.75f};
        EXPECT_EQ(model.groupTables.dataVEF.at(0).polyColor, stored);
        EXPECT_EQ(model.groupTables.dataVEF.at(39).polyColor, stored);
        EXPECT_TRUE(model.groupTables.dataVEF.count <= 40 ||
                    !(model.groupTables.dataVEF.at(40).polyColor == stored));
        ++opened;
    }
    EXPECT_EQ(opened, 2);
    EXPECT_GE(refused, 20);
}

}  // namespace
