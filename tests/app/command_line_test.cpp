// The picture leaving the program: printing, the clipboard, and the command line run as a person
// would, with no display at all.

#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/document.h"
#include "app/output.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "test_model.h"

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

class Output : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        initRandom(model, 8);
        updateGeometryLabels(model.settings);
        ASSERT_TRUE(dir_.isValid());
    }
    std::string at(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
    QTemporaryDir dir_;
};

TEST_F(Output, PrintAndCopyMakeOnePageTheSizeOfTheViewWithoutMargins) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(at("print.pdf")));
    printPicture(model, printer, QSize(1440, 900));
    EXPECT_EQ(printer.pageLayout().margins(), QMarginsF(0, 0, 0, 0));
    EXPECT_EQ(pdfPages(QByteArray::fromStdString(fileBytes(at("print.pdf")))),
              std::make_pair(1, QStringLiteral("0 0 1440 900")));

    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    copyPicturePdf(model, QSize(640, 400));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->formats(), QStringList{QStringLiteral("application/pdf")});
    EXPECT_EQ(pdfPages(mime->data(QStringLiteral("application/pdf"))),
              std::make_pair(1, QStringLiteral("0 0 640 400")));
}

// Named through a symbolic link, every kind of output replaces the link's target and keeps the
// link, as an editor does.
TEST_F(Output, WritingThroughALinkReplacesItsTarget) {
    for (const std::string suffix : {".png", ".svg", ".pdf", ".Kaleidra2D"}) {
        SCOPED_TRACE(suffix);
        std::ofstream(at("target" + suffix)) << "old";
        ASSERT_EQ(symlink(("target" + suffix).c_str(), at("link" + suffix).c_str()), 0);
        std::string error;
        ASSERT_TRUE(exportPicture(model, at("link" + suffix), QSize(64, 48), &error)) << error;
        EXPECT_TRUE(fs::is_symlink(at("link" + suffix)));
        EXPECT_GT(fileBytes(at("target" + suffix)).size(), 100u);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 8);
}

TEST(CommandLine, ParsesEveryFormAndRefusesNonsense) {
    using M = CommandLine::Mode;
    EXPECT_EQ(parseCommandLine({}).mode, M::run);
    EXPECT_EQ(parseCommandLine({"pic.Kaleidra2D"}).document, "pic.Kaleidra2D");
    const CommandLine ex =
        parseCommandLine({"--export", "out.png", "--size", "640x480", "--seed", "42", "d.K"});
    EXPECT_EQ(ex.mode, M::exportPicture);
    EXPECT_EQ(ex.output + " " + ex.document, "out.png d.K");
    EXPECT_EQ(ex.width * 10000 + ex.height, 6400480);
    EXPECT_EQ(ex.seed, 42u);
    EXPECT_FALSE(ex.caption);
    EXPECT_EQ(parseCommandLine({"--export", "a.png"}).width, 1920);
    EXPECT_EQ(parseCommandLine({"--describe", "--seed", "4", "d.K"}).mode, M::describe);
    EXPECT_TRUE(parseCommandLine({"--export", "a.png", "--caption"}).caption);
    EXPECT_EQ(parseCommandLine({"--help"}).mode, M::help);
    EXPECT_EQ(parseCommandLine({"--version"}).mode, M::version);
    // One of each kind: a missing or bad value, an unknown option, two documents, an option
    // without the mode it belongs to, two modes, and an option given twice.
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--export"},
                                               {"--export", "a.png", "--size", "99999x10"},
                                               {"--export", "a.png", "--seed", "-1"},
                                               {"--frobnicate"},
                                               {"a.K", "b.K"},
                                               {"--seed", "3"},
                                               {"--describe", "--caption"},
                                               {"--describe", "--export", "a.png"},
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

    // The document opens again to the same picture, in the program and here.
    ASSERT_EQ(run({"--export", at("d.Kaleidra2D"), "--seed", "3"}), 0);
    ASSERT_EQ(run({"--export", at("e.png"), "--size", "320x200", at("d.Kaleidra2D")}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(at("e.png"))), png);
    ASSERT_TRUE(openDocument(model, at("d.Kaleidra2D")));
    ASSERT_TRUE(saveDocument(model, at("f.Kaleidra2D")));
    EXPECT_EQ(fileBytes(at("f.Kaleidra2D")), fileBytes(at("d.Kaleidra2D")));

    // Only --caption puts the caption into a picture: in the lower-left corner of the image, and
    // as words in the SVG.
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
    std::string description;
    ASSERT_EQ(run({"--describe", "--seed", "3"}, &description, 1), 0);
    const QString wythoff = QJsonDocument::fromJson(QByteArray::fromStdString(description))
                                .object()
                                .value("wythoff")
                                .toString();
    ASSERT_FALSE(wythoff.isEmpty());
    ASSERT_EQ(exportTo("caption.svg", {"--caption"}), 0);
    for (const char* svg : {"b.svg", "caption.svg"}) {
        EXPECT_EQ(QString::fromStdString(fileBytes(at(svg))).contains(wythoff.toHtmlEscaped()),
                  svg[0] == 'c');
    }
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
    for (const char* name : {"old.png", "old.svg", "old.pdf"}) {
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
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 3);
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
}

TEST_F(CommandLineRun, DescribePrintsOneJsonObjectWithEveryKey) {
    struct Row {
        int p, q, r;
        double lengthV, lengthE, lengthF;
        const char* expected;  // the object, compact
    };
    const Row rows[] = {
        {2, 3, 4, 1, 0, 0,
         R"j({"geometry":"sphere","generators":[2,3,4],"lengths":[1,0,0],"wythoff":"2 | 3 4",)j"
         R"j("vertexConfiguration":"3.4.3.4","uniform":true,"name":"cuboctahedron",)j"
         R"j("vertices":12,"edges":24,"faces":14,"facesBySides":{"3":8,"4":6},)j"
         R"j("coxeter":"[4,3]","orbifold":"*432"})j"},
        {7, 3, 2, 0.2, 0.3, 0.5,
         R"j({"geometry":"hyperbolic","generators":[7,3,2],"lengths":[0.2,0.3,0.5],)j"
         R"j("wythoff":"2 3 7 |","vertexConfiguration":"4.6.14","uniform":false,)j"
         R"j("name":"truncated triheptagonal tiling","vertices":null,"edges":null,"faces":null,)j"
         R"j("facesBySides":null,"coxeter":"[7,3]","orbifold":"*732"})j"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        Settings& s = model.settings;
        const int oldGen = s.gen;
        s.genV = row.p, s.genE = row.q, s.genF = row.r;
        s.lengthV = row.lengthV, s.lengthE = row.lengthE, s.lengthF = row.lengthF;
        setGenType(s);
        finishGen(model, oldGen);
        updateGeometryLabels(s);
        ASSERT_TRUE(saveDocument(model, at("d.Kaleidra2D")));
        std::string out;
        ASSERT_EQ(run({"--describe", at("d.Kaleidra2D")}, &out, 1), 0);
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(out));
        ASSERT_TRUE(json.isObject()) << out;
        EXPECT_EQ(
            json.toJson(QJsonDocument::Compact).toStdString(),
            QJsonDocument::fromJson(row.expected).toJson(QJsonDocument::Compact).toStdString());
    }
}

}  // namespace
