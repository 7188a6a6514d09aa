#include "app/document.h"

#include <gtest/gtest.h>
#include <plist/plist.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "geometry/settings.h"
#include "platform/beep.h"
#include "render/chain.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace fs = std::filesystem;

namespace {

// The first line where two documents differ, with the key above it, for a readable failure.
std::string firstDifference(const std::string& a, const std::string& b) {
    std::istringstream sa(a), sb(b);
    std::string la, lb, key;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(sa, la));
        const bool moreB = static_cast<bool>(std::getline(sb, lb));
        if (!moreA && !moreB) return "";
        if (la.find("<key>") != std::string::npos) key = la;
        if (la != lb || moreA != moreB) {
            return "line " + std::to_string(line) + " under " + key + ": " + la + " vs " + lb;
        }
    }
}

#define EXPECT_SAME_DOCUMENT(a, b) EXPECT_EQ(firstDifference(a, b), "")

class Document : public testing::Test {
  protected:
    // The picture as the program shows it after start-up (the panel refreshes the labels).
    static void launch(unsigned seed) {
        initRandom(model, seed);
        updateGeometryLabels(model.settings);
    }

    void SetUp() override {
        model.settings = Settings{};
        launch(12345);
        dir_ = fs::temp_directory_path() / ("kaleidra-doc-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void write(const std::string& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }

    // Opening must fail with one beep and leave the picture exactly as it was.
    static void expectRefused(std::string_view bytes) {
        const std::string before = documentXml(model);
        const int beeps = beepCount();
        EXPECT_FALSE(openDocumentData(model, bytes));
        EXPECT_EQ(beepCount(), beeps + 1);
        EXPECT_SAME_DOCUMENT(documentXml(model), before);
    }

    // The saved document with one key's value element replaced (XML text surgery).
    static std::string withValue(const std::string& xml, const std::string& key,
                                 const std::string& value) {
        const std::string tag = "<key>" + key + "</key>";
        const std::size_t k = xml.find(tag);
        EXPECT_NE(k, std::string::npos) << key;
        const std::size_t start = xml.find('<', k + tag.size());
        std::size_t end = xml.find("<key>", start);
        if (end == std::string::npos) end = xml.find("</dict>", start);
        // Back up over the whitespace before the next key.
        while (end > start && (xml[end - 1] == '\n' || xml[end - 1] == '\t' || xml[end - 1] == ' '))
            --end;
        return xml.substr(0, start) + value + xml.substr(end);
    }
    static std::string withoutKey(const std::string& xml, const std::string& key) {
        std::string out = withValue(xml, key, "");
        const std::string tag = "<key>" + key + "</key>";
        return out.replace(out.find(tag), tag.size(), "");
    }

    fs::path dir_;
};

TEST_F(Document, SavedAndOpenedAgainGivesTheSamePicture) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE(seed);
        model.settings = Settings{};
        launch(seed);
        model.settings.groupOrder = 120 + 40 * static_cast<int>(seed);
        chainSetGroupOrder(model);
        ASSERT_TRUE(saveDocument(model, path("a.Kaleidra2D")));
        const std::string saved = documentXml(model);

        model.settings = Settings{};
        launch(seed + 100);
        ASSERT_TRUE(openDocument(model, path("a.Kaleidra2D")));
        // Every setting, every element colour (floats bit for bit), the view and the rebuilt group.
        EXPECT_SAME_DOCUMENT(documentXml(model), saved);
    }
}

// Snub mode adds "snubForm" (and "snubMirror") after the other keys and nothing else; a document
// with them opens in the same mode, one without them opens with snub mode off, whatever was on.
TEST_F(Document, SnubKeysRoundTripAndAreAddedOnlyWhenOn) {
    const std::string plain = documentXml(model);
    EXPECT_EQ(plain.find("snub"), std::string::npos);
    for (bool mirror : {false, true}) {
        SCOPED_TRACE(mirror);
        model.settings.snubForm = true;
        model.settings.snubMirror = mirror;
        chainSnub(model);
        const std::string snub = documentXml(model);
        const std::size_t last = snub.find("<key>groupMatrixData</key>");
        ASSERT_NE(last, std::string::npos);
        EXPECT_GT(snub.find("<key>snubForm</key>"), last);
        EXPECT_EQ(snub.find("<key>snubMirror</key>") != std::string::npos, mirror);
        // Take the snub keys out again: the rest is the plain document, but for P and its
        // feet and the draw list's length, which follow the snub.
        std::string stripped = snub;
        for (const char* key : {"snubForm", "snubMirror"}) {
            const std::string entry =
                std::string("\t<key>") + key + "</key>\n\t<string>YES</string>\n";
            if (const std::size_t at = stripped.find(entry); at != std::string::npos)
                stripped.erase(at, entry.size());
        }
        for (const char* key :
             {"polyPointEF", "polyPointFV", "polyPointVE", "polyPointVEF", "polyCount"}) {
            const std::size_t k = plain.find(std::string("<key>") + key + "</key>");
            const std::size_t start = plain.find('<', k + std::strlen(key) + 11);
            const std::size_t end = plain.find("<key>", start);
            std::string value = plain.substr(start, end - start);
            while (!value.empty() && (value.back() == '\n' || value.back() == '\t'))
                value.pop_back();
            stripped = withValue(stripped, key, value);
        }
        EXPECT_SAME_DOCUMENT(stripped, plain);

        launch(777);
        ASSERT_TRUE(openDocumentData(model, snub));
        EXPECT_TRUE(model.settings.snubForm);
        EXPECT_EQ(model.settings.snubMirror, mirror);
        EXPECT_SAME_DOCUMENT(documentXml(model), snub);

        ASSERT_TRUE(openDocumentData(model, plain));
        EXPECT_FALSE(model.settings.snubForm);
        EXPECT_FALSE(model.settings.snubMirror);
        EXPECT_SAME_DOCUMENT(documentXml(model), plain);
    }
}

TEST_F(Document, ComputedKeysAreIgnored) {
    const std::string saved = documentXml(model);
    std::string edited = withValue(saved, "generatorType", "<integer>77</integer>");
    edited = withValue(edited, "matrixCount", "<integer>3</integer>");
    edited = withValue(edited, "groupMatrixData", "<array/>");
    edited =
        withValue(edited, "triPointE", "<array><real>9</real><real>9</real><real>9</real></array>");
    launch(4242);
    ASSERT_TRUE(openDocumentData(model, edited));
    EXPECT_SAME_DOCUMENT(documentXml(model), saved);
}

TEST_F(Document, HeaderAndShapeRefusals) {
    const std::string saved = documentXml(model);
    launch(77);  // a different picture is on show while the bad documents are tried
    expectRefused(withValue(saved, "version", "<string>2011</string>"));
    expectRefused(withValue(saved, "identifier", "<string>Kaléidra</string>"));
    expectRefused(withValue(saved, "signature", "<string>TILEMAKR</string>"));
    expectRefused(withoutKey(saved, "signature"));
    expectRefused("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>");
    expectRefused(saved.substr(0, saved.size() / 2));
    expectRefused("not a property list at all");
}

TEST_F(Document, FlagsAreExactlyYes) {
    std::string doc = withValue(documentXml(model), "polyFaceDraw", "<string>yes</string>");
    doc = withValue(doc, "selfDraw", "<true/>");
    doc = withValue(doc, "mirrorDraw", "<string>YES</string>");
    ASSERT_TRUE(openDocumentData(model, doc));
    EXPECT_FALSE(model.settings.polyFaceDraw);
    EXPECT_FALSE(model.settings.selfDraw);
    EXPECT_TRUE(model.settings.mirrorDraw);
}

TEST_F(Document, KeysThatMapToDifferentSettingNames) {
    std::string doc = withValue(documentXml(model), "edgeSegments", "<integer>7</integer>");
    doc = withValue(doc, "originThickness", "<real>0.125</real>");
    doc = withValue(doc, "polyFaceThickness", "<real>0.75</real>");
    ASSERT_TRUE(openDocumentData(model, doc));
    EXPECT_EQ(model.settings.segments, 7);
    EXPECT_EQ(model.settings.originThick, 0.125);
    EXPECT_EQ(model.settings.polyFaceThick, 0.75);
}

TEST_F(Document, HostileValuesAreRefusedWithNothingChanged) {
    const std::string saved = documentXml(model);
    // Beyond the corpus files (tests/app/corpus), which hold more of the same.
    const std::pair<const char*, const char*> rows[] = {
        {"generatorV", "<integer>-3</integer>"},
        {"generatorV", "<real>3.5</real>"},
        {"generatorV", "<string>3</string>"},
        {"spiralAngle", "<real>0</real>"},
        {"polyFaceAlpha", "<real>nan</real>"},
        {"polyFaceOffset", "<real>1e300</real>"},
        {"circleColor", "<array><real>nan</real><real>0</real><real>0</real></array>"},
        {"pointMatrix", "<array><real>1</real></array>"},
        {"colorMatrix",
         "<array><real>0</real><real>1</real><real>0</real><real>0</real><real>0</real>"
         "<real>1</real><real>0</real><real>0</real><real>0</real><real>1</real></array>"},
        {"pointMatrixInitial", "<dict/>"},
        {"polyColorV", "<string>red</string>"},
        {"triColorE", "<array><array><real>1</real></array></array>"},
    };
    for (const auto& [key, value] : rows) {
        SCOPED_TRACE(std::string(key) + " = " + value);
        expectRefused(withValue(saved, key, value));
    }
    for (const char* key : {"pointMatrix", "pointMatrixInitial", "colorMatrix", "lengthV"}) {
        SCOPED_TRACE(key);
        // Absent reads as zero: a zero matrix (or all three proportions zero) cannot be shown.
        std::string doc = saved;
        if (std::string(key) == "lengthV") {
            doc = withoutKey(withoutKey(withoutKey(doc, "lengthV"), "lengthE"), "lengthF");
        } else {
            doc = withoutKey(doc, key);
        }
        expectRefused(doc);
    }
}

TEST_F(Document, HarmlessOdditiesAreApplied) {
    std::string doc = withValue(documentXml(model), "polyFaceScheme", "<integer>9</integer>");
    doc = withValue(doc, "project3D2D", "<integer>7</integer>");
    doc = withValue(doc, "panelAlpha", "<real>0</real>");
    doc = withValue(doc, "triEdgeAlpha", "<real>3</real>");
    doc = withValue(doc, "groupOrder", "<real>300</real>");
    doc = withoutKey(doc, "uniformV");
    doc = withoutKey(doc, "uniformE");
    doc = withoutKey(doc, "uniformF");
    doc = withValue(doc, "polyColorV", "<array/>");
    ASSERT_TRUE(openDocumentData(model, doc));
    EXPECT_EQ(model.settings.polyFaceScheme, 9);
    EXPECT_EQ(model.settings.project3D2D, 7);
    EXPECT_EQ(model.settings.panelAlpha, 0.05);
    EXPECT_EQ(model.settings.triEdgeAlpha, 1.0);
    EXPECT_EQ(model.settings.groupOrder, 300);
    EXPECT_TRUE(model.settings.uniformV && model.settings.uniformE && model.settings.uniformF);
}

TEST_F(Document, DeepNestingAndHugeFilesAreRefusedQuickly) {
    const std::string saved = documentXml(model);
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<array>";
    for (int i = 0; i < 200000; ++i) deep += "</array>";
    expectRefused(withValue(saved, "polyColorV", deep));

    // A binary list whose arrays nest 100,000 deep.
    std::string bin = "bplist00";
    const int n = 100000;
    std::vector<uint64_t> offsets;
    for (int i = 0; i < n; ++i) {
        offsets.push_back(bin.size());
        if (i + 1 < n) {
            bin += char(0xA1);  // array of one reference
            bin += char((i + 1) >> 16), bin += char(((i + 1) >> 8) & 0xFF),
                bin += char((i + 1) & 0xFF);
        } else {
            bin += char(0xA0);
        }
    }
    const uint64_t table = bin.size();
    for (uint64_t o : offsets) {
        for (int b = 3; b >= 0; --b) bin += char((o >> (8 * b)) & 0xFF);
    }
    std::string trailer(32, '\0');
    trailer[6] = 4, trailer[7] = 3;
    for (int b = 0; b < 8; ++b) trailer[8 + 7 - b] = char((uint64_t(n) >> (8 * b)) & 0xFF);
    for (int b = 0; b < 8; ++b) trailer[24 + 7 - b] = char((table >> (8 * b)) & 0xFF);
    expectRefused(bin + trailer);

    // A 100 MB file is refused before it is read.
    const std::string big = path("big.Kaleidra2D");
    { std::ofstream(big, std::ios::binary) << saved; }
    fs::resize_file(big, 100u << 20);
    const std::string before = documentXml(model);
    EXPECT_FALSE(openDocument(model, big));
    EXPECT_SAME_DOCUMENT(documentXml(model), before);
}

TEST_F(Document, FailedSaveKeepsTheEarlierFile) {
    const std::string target = path("keep.Kaleidra2D");
    write(target, "earlier contents");

    // A file-size limit makes the write fail half way, even for root.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
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
    EXPECT_NE(read(target), "earlier contents");
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
        const std::string before = documentXml(model);
        const int beeps = beepCount();
        std::string why;
        EXPECT_FALSE(openDocument(model, path(name), &why));
        EXPECT_EQ(why, reason);
        EXPECT_EQ(beepCount(), beeps + 1);
        EXPECT_SAME_DOCUMENT(documentXml(model), before);
    }
    // Saving over them is refused too, and leaves them as they were.
    EXPECT_FALSE(saveDocument(model, path("fifo.Kaleidra2D")));
    EXPECT_FALSE(saveDocument(model, path("folder.Kaleidra2D")));
    EXPECT_TRUE(fs::is_fifo(path("fifo.Kaleidra2D")));
    EXPECT_TRUE(fs::is_directory(path("folder.Kaleidra2D")));
}

// Saving over a document keeps what the file was: its permissions (a private document stays
// private) and, where the system allows, its owner; through a link, the link.
TEST_F(Document, SavingKeepsTheOldFilesModeOwnerAndLink) {
    const std::string target = path("private.Kaleidra2D");
    for (mode_t mode : {0600, 0640, 0755}) {
        SCOPED_TRACE(mode);
        write(target, "earlier contents");
        ASSERT_EQ(chmod(target.c_str(), mode), 0);
        ASSERT_TRUE(saveDocument(model, target));
        struct stat st {};
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }
    if (geteuid() == 0) {
        ASSERT_EQ(chown(target.c_str(), 4321, 4322), 0);
        ASSERT_TRUE(saveDocument(model, target));
        struct stat st {};
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }
    // A new file gets the usual permissions.
    const mode_t mask = umask(022);
    ASSERT_TRUE(saveDocument(model, path("new.Kaleidra2D")));
    umask(mask);
    EXPECT_EQ(fs::status(path("new.Kaleidra2D")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);

    fs::create_directory(path("elsewhere"));
    write(path("elsewhere/real.Kaleidra2D"), "earlier contents");
    fs::create_symlink("elsewhere/real.Kaleidra2D", path("link.Kaleidra2D"));
    ASSERT_TRUE(saveDocument(model, path("link.Kaleidra2D")));
    EXPECT_TRUE(fs::is_symlink(path("link.Kaleidra2D")));
    EXPECT_EQ(read(path("elsewhere/real.Kaleidra2D")), documentXml(model));
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
        if (name.rfind("other_writer", 0) == 0) {
            ASSERT_TRUE(openDocument(model, entry.path().string()));
            EXPECT_EQ(model.settings.genV, 7);
            EXPECT_EQ(model.settings.gen, 1);
            EXPECT_EQ(model.settings.segments, 12);
            EXPECT_EQ(model.settings.triFaceThick, 0.25);
            EXPECT_GE(model.groupTables.matrix.count, 300);
            // The one stored colour list is laid over its table; the others keep fresh colours.
            const BColor stored{0.25f, 0.5f, 0.75f};
            EXPECT_EQ(model.groupTables.dataVEF.at(0).polyColor, stored);
            EXPECT_EQ(model.groupTables.dataVEF.at(39).polyColor, stored);
            if (model.groupTables.dataVEF.count > 40) {
                EXPECT_FALSE(model.groupTables.dataVEF.at(40).polyColor == stored);
            }
            ++opened;
        } else {
            ASSERT_EQ(name.rfind("hostile_", 0), 0u);
            const std::string before = documentXml(model);
            EXPECT_FALSE(openDocument(model, entry.path().string()));
            EXPECT_SAME_DOCUMENT(documentXml(model), before);
            ++refused;
        }
    }
    EXPECT_EQ(opened, 2);
    EXPECT_GE(refused, 20);
}

}  // namespace
