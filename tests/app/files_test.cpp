// Files in and out: documents saved and opened (and refused), printing, the clipboard, and the
// command line run as a person would, with no display at all.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QJsonDocument>
#include <QPrinter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/command_line.h"
#include "app/document.h"
#include "app/file_io.h"
#include "app/output.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "platform/beep.h"
#include "render/chain.h"
#include "test_model.h"
#include "tiling/tables.h"

namespace fs = std::filesystem;

namespace {

// The number of pages and the first page's box of a PDF.
std::pair<int, QString> pdfPages(const QByteArray& pdf) {
    const QString text = QString::fromLatin1(pdf);
    const auto box = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[([^\\]]*)\\]")).match(text);
    QStringList numbers;
    for (const QString& n : box.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        numbers << QString::number(n.toDouble());
    return {int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))),
            numbers.join(QLatin1Char(' '))};
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the program with no display and the arguments as bytes, optionally under a file-size limit
// with SIGXFSZ ignored, so that writes past the limit fail with EFBIG. What it writes to fd (1 or
// 2) goes to text. The exit code, or −1 when it did not end normally within a minute.
int run(const std::vector<std::string>& args, std::string* text = nullptr, int fd = 2,
        rlim_t fileLimit = 0) {
    int pipeFd[2];
    if (pipe(pipeFd) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFd[1], fd);
        close(pipeFd[0]);
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) unsetenv(name);
        if (fileLimit > 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileLimit, fileLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        alarm(60);  // outlives the exec: a program that hangs is ended
        std::vector<char*> argv{const_cast<char*>(KALEIDRA_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KALEIDRA_BINARY, argv.data());
        _exit(127);
    }
    close(pipeFd[1]);
    std::string out;
    char chunk[4096];
    for (ssize_t n; (n = read(pipeFd[0], chunk, sizeof chunk)) > 0;) out.append(chunk, size_t(n));
    close(pipeFd[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (text) *text = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Lines of the program's own (Qt's messages about the environment aside).
int linesSaying(const std::string& err, const std::string& what) {
    int n = 0;
    for (std::size_t at = err.find(what); at != std::string::npos; at = err.find(what, at + 1)) ++n;
    return n;
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

// The picture as the program shows it after start-up (the panel refreshes the labels).
void launch(unsigned seed) {
    model.settings = Settings{};
    initRandom(model, seed);
    updateGeometryLabels(model.settings);
}

// Opening must fail with one beep and leave the picture exactly as it was.
void expectRefused(std::string_view bytes, const std::string& file = "") {
    const std::string before = documentXml(model);
    const int beeps = beepCount();
    EXPECT_FALSE(file.empty() ? openDocumentData(model, bytes) : openDocument(model, file));
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(documentXml(model), before);
}

class Output : public testing::Test {
  protected:
    void SetUp() override {
        launch(8);
        ASSERT_TRUE(dir_.isValid());
    }
    std::string at(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
    QTemporaryDir dir_;
};

using Document = Output;

TEST_F(Output, PrintingMakesOnePageTheSizeOfTheViewWithoutMargins) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(at("print.pdf")));
    printPicture(model, printer, QSize(1440, 900));
    EXPECT_EQ(printer.pageLayout().margins(), QMarginsF(0, 0, 0, 0));
    EXPECT_EQ(pdfPages(QByteArray::fromStdString(fileBytes(at("print.pdf")))),
              std::make_pair(1, QStringLiteral("0 0 1440 900")));
}

TEST(CommandLine, ParsesEveryFormAndRefusesNonsense) {
    using M = CommandLine::Mode;
    // The forms the runs below do not use.
    EXPECT_EQ(parseCommandLine({}).mode, M::run);
    EXPECT_EQ(parseCommandLine({"--version"}).mode, M::version);
    const CommandLine ex = parseCommandLine({"--export", "out.png", "d.K"});
    EXPECT_EQ(ex.width * 10000 + ex.height, 19201080);
    EXPECT_FALSE(ex.caption || ex.seed);
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--export"},
                                               {"--export", "a.png", "--size", "12"},
                                               {"--export", "a.png", "--size", "99999x10"},
                                               {"--export", "a.png", "--seed", "-1"},
                                               {"--frobnicate"},
                                               {"a.K", "b.K"},
                                               {"--seed", "3"},
                                               {"--caption"},
                                               {"--describe", "--export", "a.png"},
                                               {"--describe", "--caption"},
                                               {"--describe", "--size", "9x9"},
                                               {"--export", "a.png", "--export", "b.png"},
                                               {"--export", "a.png", "--seed", "1", "--seed", "2"},
                                               {"--size", "9x9", "--export", "a", "--size", "8x8"},
                                               {"--export", "a.png", "--caption", "--caption"}}) {
        SCOPED_TRACE(bad.back());
        const CommandLine c = parseCommandLine(bad);
        EXPECT_EQ(c.mode, M::error);
        EXPECT_FALSE(c.error.empty());
    }
}

using CommandLineRun = Output;

TEST_F(CommandLineRun, EveryFormatWithoutADisplayAndTheCaptionOnlyWhenAsked) {
    const std::vector<std::string> common = {"--size", "320x200", "--seed", "3"};
    auto exportTo = [&](const std::string& name, std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"--export", at(name)});
        more.insert(more.end(), common.begin(), common.end());
        return run(more);
    };
    ASSERT_EQ(exportTo("a.png"), 0);
    const QImage png(QString::fromStdString(at("a.png")));
    ASSERT_EQ(png.size(), QSize(320, 200));
    // A picture, not a blank: many different colours.
    QSet<QRgb> colours;
    for (int y = 0; y < png.height(); y += 4)
        for (int x = 0; x < png.width(); x += 4) colours.insert(png.pixel(x, y));
    EXPECT_GT(colours.size(), 20);
    ASSERT_EQ(exportTo("b.svg"), 0);
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(at("b.svg"))).isValid());
    ASSERT_EQ(exportTo("c.pdf"), 0);
    EXPECT_EQ(pdfPages(QByteArray::fromStdString(fileBytes(at("c.pdf")))),
              std::make_pair(1, QStringLiteral("0 0 320 200")));

    // The document opens again to the same picture.
    ASSERT_EQ(run({"--export", at("d.Kaleidra2D"), "--seed", "3"}), 0);
    ASSERT_EQ(run({"--export", at("e.png"), "--size", "320x200", at("d.Kaleidra2D")}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(at("e.png"))), png);

    // Only --caption puts the caption into a picture, in the lower-left corner.
    ASSERT_EQ(exportTo("caption.png", {"--caption"}), 0);
    const QImage captioned(QString::fromStdString(at("caption.png")));
    ASSERT_EQ(captioned.size(), png.size());
    QRect box;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            if (png.pixel(x, y) != captioned.pixel(x, y)) box |= QRect(x, y, 1, 1);
    EXPECT_FALSE(box.isEmpty());
    EXPECT_LT(box.left(), 40);
    EXPECT_GT(box.top(), 200 - 60);
}

TEST_F(CommandLineRun, BadInputIsRefusedAtOnceAndLeavesNoFile) {
    QTemporaryDir fifos;
    const std::string out = at("out.png"),
                      hostile = KALEIDRA_TESTS_DIR "/app/corpus/hostile_matrix_nan.Kaleidra2D";
    // FIFOs with no writer and no reader: opening either without care waits for ever.
    const std::string fifoIn = fifos.path().toStdString() + "/in.Kaleidra2D",
                      fifoOut = fifos.path().toStdString() + "/out.png";
    ASSERT_EQ(mkfifo(fifoIn.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(fifoOut.c_str(), 0600), 0);
    // A missing file, a folder and the rest are refused by the document reader itself.
    const std::pair<std::vector<std::string>, const char*> rows[] = {
        {{"--export", out, fifoIn}, "not a regular file"},
        {{"--describe", fifoIn}, "not a regular file"},
        {{"--export", fifoOut, "--seed", "1", "--size", "40x40"}, "not a regular file"},
        {{"--export", out, hostile}, "not a Kaleidra document"},
        {{"--export", at("out.bmp"), "--seed", "1"}, "unknown output"},
        {{"--export", out, "--size", "0x0"}, "--size"},
    };
    for (const auto& [args, says] : rows) {
        SCOPED_TRACE(args.front() + " " + args.back());
        std::string err, said;
        EXPECT_GT(run(args, &err), 0);
        EXPECT_EQ(linesSaying(err, "kaleidra: "), 1) << err;
        EXPECT_EQ(linesSaying(err, says), 1) << err;
        EXPECT_GT(run(args, &said, 1), 0);
        EXPECT_EQ(said, "");  // nothing on the output
        EXPECT_TRUE(fs::is_empty(dir_.path().toStdString()));
    }
    EXPECT_EQ(run({"--help"}), 0);
}

// A write that fails half way (here at a file-size limit, as on a full disk) must not replace
// the good file with a truncated one, and must say so.
TEST_F(CommandLineRun, AFailedWriteKeepsTheOldFile) {
    for (const char* name : {"old.png", "old.svg", "old.pdf", "old.Kaleidra2D"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(run({"--export", at(name), "--size", "320x200", "--seed", "3"}), 0);
        const std::string good = fileBytes(at(name));
        ASSERT_GT(good.size(), 2048u);
        std::string err;
        EXPECT_EQ(run({"--export", at(name), "--size", "640x400", "--seed", "4"}, &err, 2, 1024),
                  1);
        EXPECT_TRUE(fileBytes(at(name)) == good);
        EXPECT_EQ(linesSaying(err, "kaleidra: cannot write"), 1) << err;
        EXPECT_EQ(linesSaying(err, "File too large"), 1) << err;
        EXPECT_EQ(linesSaying(err, "Write Error"), 0) << err;
    }
    // No temporary file stays.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 4);
}

// File names are bytes: one that is not UTF-8 is written and read under exactly that name, not
// under a look-alike.
TEST_F(CommandLineRun, NamesThatAreNotUtf8KeepTheirBytes) {
    const std::string latin1 = at("caf\xe9.png"), replaced = at("caf\xef\xbf\xbd.png");
    ASSERT_EQ(run({"--export", replaced, "--size", "40x40", "--seed", "1"}), 0);
    ASSERT_EQ(run({"--export", latin1, "--size", "40x40", "--seed", "2"}), 0);
    ASSERT_EQ(run({"--export", at("d\xe9.Kaleidra2D"), "--seed", "2"}), 0);
    ASSERT_EQ(run({"--export", at("again.png"), "--size", "40x40", at("d\xe9.Kaleidra2D")}), 0);
    const std::string first = fileBytes(replaced), second = fileBytes(latin1);
    EXPECT_TRUE(!first.empty() && !second.empty() && first != second);
    EXPECT_TRUE(fileBytes(at("again.png")) == second);
    // The temporary folder cannot remove names that are not UTF-8 itself.
    for (const std::string& name : {latin1, at("d\xe9.Kaleidra2D")}) unlink(name.c_str());
}

// The object, here for a tiling whose counts are infinite (the description's own
// tests check the counts of polyhedra).
TEST_F(CommandLineRun, DescribePrintsOneJsonObjectWithEveryKey) {
    Settings& s = model.settings;
    const int oldGen = s.gen;
    s.genV = 7, s.genE = 3, s.genF = 2;
    s.lengthV = 0.2, s.lengthE = 0.3, s.lengthF = 0.5;
    setGenType(s);
    finishGen(model, oldGen);
    updateGeometryLabels(s);
    ASSERT_TRUE(saveDocument(model, at("d.Kaleidra2D")));
    std::string out;
    ASSERT_EQ(run({"--describe", at("d.Kaleidra2D")}, &out, 1), 0);
    const auto compact = [](const std::string& json) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(json))
            .toJson(QJsonDocument::Compact);
    };
    EXPECT_EQ(compact(out),
              compact(R"j({"geometry":"hyperbolic","generators":[7,3,2],"lengths":[0.2,0.3,0.5],)j"
                      R"j("wythoff":"2 3 7 |","vertexConfiguration":"4.6.14","uniform":false,)j"
                      R"j("name":"truncated triheptagonal tiling","vertices":null,"edges":null,)j"
                      R"j("faces":null,"facesBySides":null,"coxeter":"[7,3]","orbifold":"*732"})j"))
        << out;
}

// Opening replaces the whole picture, the snub and its mirror form included, down to every
// element colour (floats bit for bit), the view and the rebuilt group.
TEST_F(Document, SavedAndOpenedAgainGivesTheSamePicture) {
    for (bool snub : {false, true}) {
        launch(snub ? 4 : 2);
        model.settings.snubForm = model.settings.snubMirror = snub;
        chainSnub(model);
        ASSERT_TRUE(saveDocument(model, at("a.Kaleidra2D")));
        const std::string saved = documentXml(model);
        launch(100);
        model.settings.snubForm = model.settings.snubMirror = !snub;
        chainSnub(model);
        ASSERT_TRUE(openDocument(model, at("a.Kaleidra2D")));
        EXPECT_EQ(documentXml(model), saved);
    }
}

TEST_F(Document, EditedDocumentsOpenAsTheyShould) {
    std::string edited = documentXml(model);
    // Flags are exactly YES; some keys name their setting differently; harmless oddities apply.
    const std::pair<const char*, const char*> edits[] = {{"polyFaceDraw", "<string>yes</string>"},
                                                         {"selfDraw", "<true/>"},
                                                         {"mirrorDraw", "<string>YES</string>"},
                                                         {"edgeSegments", "<integer>7</integer>"},
                                                         {"originThickness", "<real>0.125</real>"},
                                                         {"project3D2D", "<integer>7</integer>"},
                                                         {"panelAlpha", "<real>0</real>"},
                                                         {"triEdgeAlpha", "<real>3</real>"},
                                                         {"groupOrder", "<real>300</real>"},
                                                         {"uniformV", nullptr},
                                                         {"uniformE", nullptr},
                                                         {"uniformF", nullptr},
                                                         {"polyColorV", "<array/>"}};
    for (const auto& [key, value] : edits) edited = withValue(edited, key, value);
    ASSERT_TRUE(openDocumentData(model, edited));
    const Settings& s = model.settings;
    EXPECT_TRUE(!s.polyFaceDraw && !s.selfDraw && s.mirrorDraw && s.uniformV && s.uniformE &&
                s.uniformF);
    EXPECT_EQ(s.segments, 7);
    EXPECT_EQ(s.originThick, 0.125);
    EXPECT_EQ(s.project3D2D, 7);
    EXPECT_EQ(s.panelAlpha, 0.05);
    EXPECT_EQ(s.triEdgeAlpha, 1.0);
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
    std::ofstream(at("big.Kaleidra2D"), std::ios::binary) << saved;
    fs::resize_file(at("big.Kaleidra2D"), 100u << 20);
    expectRefused("", at("big.Kaleidra2D"));
}

// A save that cannot be written beeps.
TEST_F(Document, FailedSaveBeeps) {
    const int beeps = beepCount();
    EXPECT_FALSE(saveDocument(model, at("no/such/folder/x.Kaleidra2D")));
    EXPECT_EQ(beepCount(), beeps + 1);
}

// What is not a regular file is refused with the reason, at once: a FIFO with no writer would
// otherwise hold the open for ever.
TEST_F(Document, FilesThatCannotBeDocumentsAreRefusedWithTheReason) {
    ASSERT_EQ(mkfifo(at("fifo.Kaleidra2D").c_str(), 0600), 0);
    fs::create_directory(at("folder.Kaleidra2D"));
    const std::pair<const char*, const char*> rows[] = {
        {"missing.Kaleidra2D", "No such file or directory"},
        {"folder.Kaleidra2D", "Is a directory"},
        {"fifo.Kaleidra2D", "not a regular file"},
    };
    for (const auto& [name, reason] : rows) {
        SCOPED_TRACE(name);
        expectRefused("", at(name));
        std::string why;
        EXPECT_FALSE(openDocument(model, at(name), &why));
        EXPECT_EQ(why, reason);
        EXPECT_EQ(saveDocument(model, at(name)), std::string(name) == rows[0].first);
    }
    // Saving over them was refused, and left them as they were.
    EXPECT_TRUE(fs::is_fifo(at("fifo.Kaleidra2D")));
    EXPECT_TRUE(fs::is_directory(at("folder.Kaleidra2D")));
    // A file longer than its size said when opened (the kernel's own files say 0) is read whole.
    std::string bytes, why;
    EXPECT_TRUE(readRegularFile("/proc/self/status", 1 << 20, bytes, why));
    EXPECT_NE(bytes.find("Pid:"), std::string::npos);
}

// Saving over a document keeps what the file was: its permissions (a private document stays
// private) and, where the system allows, its owner.
TEST_F(Document, SavingKeepsTheOldFilesModeAndOwner) {
    const std::string target = at("private.Kaleidra2D");
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
    ASSERT_TRUE(saveDocument(model, at("new.Kaleidra2D")));
    umask(mask);
    EXPECT_EQ(fs::status(at("new.Kaleidra2D")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    // A name as long as the file system allows: the temporary file needs a shorter one.
    const std::string longName(255 - std::string(".Kaleidra2D").size(), 'n');
    ASSERT_TRUE(saveDocument(model, at(longName + ".Kaleidra2D")));
    ASSERT_TRUE(openDocument(model, at(longName + ".Kaleidra2D")));
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
        const Settings& s = model.settings;
        EXPECT_TRUE(s.genV == 7 && s.gen == 1 && s.geometry == 2);  // geometry follows gen's sign
        EXPECT_TRUE(s.segments == 12 && s.triFaceThick == 0.25);
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
