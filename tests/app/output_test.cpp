#include "app/output.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <iterator>

#include "app/command_line.h"
#include "app/document.h"
#include "geometry/settings.h"
#include "render/chain.h"
#include "test_model.h"

namespace {

int pdfPageCount(const QByteArray& pdf) {
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

QString pdfMediaBox(const QByteArray& pdf) {
    const auto m = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[([^\\]]*)\\]"))
                       .match(QString::fromLatin1(pdf));
    if (!m.hasMatch()) return QString();
    QStringList numbers;
    for (const QString& n : m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        numbers << QString::number(n.toDouble());
    return numbers.join(QLatin1Char(' '));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Output : public testing::Test {
  protected:
    void SetUp() override {
        model.settings = Settings{};
        initRandom(model, 8);
        updateGeometryLabels(model.settings);
    }
};

TEST_F(Output, PrintingMakesOnePageTheSizeOfTheViewWithoutMargins) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("print.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printPicture(model, printer, QSize(1440, 900));
    EXPECT_EQ(printer.pageLayout().margins(), QMarginsF(0, 0, 0, 0));
    EXPECT_EQ(printer.pageLayout().fullRect(QPageLayout::Point).size(), QSizeF(1440, 900));
    const QByteArray pdf = readAll(path);
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(pdfMediaBox(pdf), QStringLiteral("0 0 1440 900"));
}

TEST_F(Output, CopyPutsOnlyAPdfOnTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    copyPicturePdf(model, QSize(640, 400));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->formats(), QStringList{QStringLiteral("application/pdf")});
    const QByteArray pdf = mime->data(QStringLiteral("application/pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(pdfMediaBox(pdf), QStringLiteral("0 0 640 400"));
}

TEST(CommandLineParsing, ReadsEveryFormAndRefusesNonsense) {
    using M = CommandLine::Mode;
    EXPECT_EQ(parseCommandLine({}).mode, M::run);
    EXPECT_EQ(parseCommandLine({"pic.Kaleidra2D"}).document, "pic.Kaleidra2D");
    const CommandLine ex =
        parseCommandLine({"--export", "out.png", "--size", "640x480", "--seed", "42", "d.K"});
    EXPECT_EQ(ex.mode, M::exportPicture);
    EXPECT_EQ(ex.output + " " + ex.document, "out.png d.K");
    EXPECT_EQ(ex.width * 10000 + ex.height, 6400480);
    EXPECT_EQ(ex.seed, 42u);
    EXPECT_EQ(parseCommandLine({"--export", "a.png"}).width, 1920);
    const CommandLine describe = parseCommandLine({"--describe", "--seed", "4", "d.K"});
    EXPECT_EQ(describe.mode, M::describe);
    EXPECT_EQ(describe.document, "d.K");
    EXPECT_EQ(describe.seed, 4u);
    EXPECT_TRUE(parseCommandLine({"--export", "a.png", "--caption"}).caption);
    EXPECT_FALSE(parseCommandLine({"--export", "a.png"}).caption);
    EXPECT_EQ(parseCommandLine({"--help"}).mode, M::help);
    EXPECT_EQ(parseCommandLine({"--version"}).mode, M::version);
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
        SCOPED_TRACE(bad.front());
        const CommandLine c = parseCommandLine(bad);
        EXPECT_EQ(c.mode, M::error);
        EXPECT_FALSE(c.error.empty());
    }
}

// Runs the program as a person would, with no display at all.
int runKaleidra(const QStringList& args, QString* err = nullptr, int timeoutMs = 120000) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KALEIDRA_BINARY), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

TEST(CommandLineExport, EveryFormatWithoutADisplay) {
    QTemporaryDir dir;
    auto at = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };

    ASSERT_EQ(runKaleidra({"--export", at("a.png"), "--size", "320x200", "--seed", "3"}), 0);
    const QImage png(at("a.png"));
    ASSERT_EQ(png.size(), QSize(320, 200));
    // A picture, not a blank: many different colours.
    QSet<QRgb> colours;
    for (int y = 0; y < png.height(); y += 4)
        for (int x = 0; x < png.width(); x += 4) colours.insert(png.pixel(x, y));
    EXPECT_GT(colours.size(), 20);

    ASSERT_EQ(runKaleidra({"--export", at("b.svg"), "--size", "320x200", "--seed", "3"}), 0);
    QSvgRenderer svg(at("b.svg"));
    EXPECT_TRUE(svg.isValid());

    ASSERT_EQ(runKaleidra({"--export", at("c.pdf"), "--size", "320x200", "--seed", "3"}), 0);
    const QByteArray pdf = readAll(at("c.pdf"));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(pdfMediaBox(pdf), QStringLiteral("0 0 320 200"));

    // The document opens again to the same picture.
    ASSERT_EQ(runKaleidra({"--export", at("d.Kaleidra2D"), "--seed", "3"}), 0);
    ASSERT_EQ(runKaleidra({"--export", at("e.png"), "--size", "320x200", at("d.Kaleidra2D")}), 0);
    EXPECT_EQ(QImage(at("e.png")), png);
    model.settings = Settings{};
    initRandom(model, 100);
    ASSERT_TRUE(openDocument(model, at("d.Kaleidra2D").toStdString()));
    ASSERT_TRUE(saveDocument(model, at("f.Kaleidra2D").toStdString()));
    EXPECT_EQ(readAll(at("f.Kaleidra2D")), readAll(at("d.Kaleidra2D")));
}

TEST(CommandLineExport, BadInputLeavesNoFile) {
    QTemporaryDir dir, fifos;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const QString hostile =
        QStringLiteral(KALEIDRA_TESTS_DIR "/app/corpus/hostile_matrix_nan.Kaleidra2D");
    // FIFOs with no writer and no reader: opening either without care waits for ever.
    const QString fifoIn = fifos.filePath(QStringLiteral("in.Kaleidra2D"));
    const QString fifoOut = fifos.filePath(QStringLiteral("out.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifoIn).constData(), 0600), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifoOut).constData(), 0600), 0);
    struct Row {
        QStringList args;
        QString says;
    };
    const Row rows[] = {
        {{"--export", out, dir.filePath(QStringLiteral("missing.Kaleidra2D"))},
         "No such file or directory"},
        {{"--export", out, dir.path()}, "Is a directory"},
        {{"--export", out, fifoIn}, "not a regular file"},
        {{"--export", fifoOut, "--seed", "1", "--size", "40x40"}, "not a regular file"},
        {{"--export", out, hostile}, "not a Kaleidra document"},
        {{"--export", dir.filePath(QStringLiteral("out.bmp")), "--seed", "1"}, "unknown output"},
        {{"--export", out, "--size", "0x0"}, "--size"},
        {{"--what"}, "unknown option"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        QString err;
        EXPECT_GT(runKaleidra(row.args, &err, 30000), 0);  // refused, and at once
        EXPECT_TRUE(err.contains(QStringLiteral("kaleidra: ")) && err.contains(row.says))
            << err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
    EXPECT_EQ(runKaleidra({"--help"}), 0);
}

// Runs the program with the arguments as bytes (QProcess would re-encode them), optionally
// under a file-size limit with SIGXFSZ ignored, so that writes past the limit fail with EFBIG.
// The exit code, or −1 when it did not end normally within a minute.
int runBytes(const std::vector<std::string>& args, std::string* err, rlim_t fileLimit = 0) {
    int pipeFd[2];
    if (pipe(pipeFd) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFd[1], 2);
        close(pipeFd[0]);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QT_QPA_PLATFORM");
        if (fileLimit > 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileLimit, fileLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv{const_cast<char*>(KALEIDRA_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KALEIDRA_BINARY, argv.data());
        _exit(127);
    }
    close(pipeFd[1]);
    std::string text;
    char chunk[4096];
    pollfd p{pipeFd[0], POLLIN, 0};
    bool ended = false;  // stderr closed: the program has ended (or is ending)
    while (!ended && poll(&p, 1, 60000) > 0) {
        const ssize_t n = read(pipeFd[0], chunk, sizeof chunk);
        if (n > 0) text.append(chunk, static_cast<std::size_t>(n));
        ended = n <= 0;
    }
    close(pipeFd[0]);
    if (!ended) kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!ended) return -1;
    if (err) *err = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Lines of the program's own (Qt's messages about the environment aside).
int linesSaying(const std::string& err, const std::string& what) {
    int n = 0;
    for (std::size_t at = err.find(what); at != std::string::npos; at = err.find(what, at + 1)) ++n;
    return n;
}

// A write that fails half way (here at a file-size limit, as on a full disk) must not replace
// the good file with a truncated one, and must say so.
TEST(CommandLineExport, AFailedWriteKeepsTheOldFile) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    for (const char* name : {"old.png", "old.svg", "old.pdf", "old.Kaleidra2D"}) {
        SCOPED_TRACE(name);
        const std::string path = folder + "/" + name;
        ASSERT_EQ(runBytes({"--export", path, "--size", "320x200", "--seed", "3"}, nullptr), 0);
        const std::string good = fileBytes(path);
        ASSERT_GT(good.size(), 2048u);
        std::string err;
        EXPECT_EQ(runBytes({"--export", path, "--size", "640x400", "--seed", "4"}, &err, 1024), 1);
        EXPECT_TRUE(fileBytes(path) == good);
        EXPECT_EQ(linesSaying(err, "kaleidra: cannot write"), 1) << err;
        EXPECT_EQ(linesSaying(err, "File too large"), 1) << err;
        EXPECT_EQ(linesSaying(err, "Write Error"), 0) << err;
    }
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.size(), 4) << left.join(' ').toStdString();  // no temporary file stays
}

// File names are bytes: one that is not UTF-8 is written and read under exactly that name, not
// under a look-alike.
TEST(CommandLineExport, NamesThatAreNotUtf8KeepTheirBytes) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    const std::string latin1 = folder + "caf\xe9.png", replaced = folder + "caf\xef\xbf\xbd.png";
    const std::string document = folder + "d\xe9.Kaleidra2D";
    ASSERT_EQ(runBytes({"--export", replaced, "--size", "40x40", "--seed", "1"}, nullptr), 0);
    ASSERT_EQ(runBytes({"--export", latin1, "--size", "40x40", "--seed", "2"}, nullptr), 0);
    ASSERT_EQ(runBytes({"--export", document, "--seed", "2"}, nullptr), 0);
    std::string err;
    ASSERT_EQ(runBytes({"--export", folder + "again.png", "--size", "40x40", document}, &err), 0)
        << err;
    const std::string first = fileBytes(replaced), second = fileBytes(latin1);
    EXPECT_TRUE(!first.empty() && !second.empty() && first != second);
    EXPECT_TRUE(fileBytes(folder + "again.png") == second);
}

// Named through a symbolic link, every kind of output replaces the link's target and keeps the
// link, as an editor does.
TEST_F(Output, WritingThroughALinkReplacesItsTarget) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    for (const char* suffix : {".png", ".svg", ".pdf", ".Kaleidra2D"}) {
        SCOPED_TRACE(suffix);
        const std::string target = folder + "target" + suffix, link = folder + "link" + suffix;
        { std::ofstream(target) << "old"; }
        ASSERT_EQ(symlink(("target" + std::string(suffix)).c_str(), link.c_str()), 0);
        std::string error;
        ASSERT_TRUE(exportPicture(model, link, QSize(64, 48), &error)) << error;
        struct stat st {};
        ASSERT_EQ(lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        EXPECT_GT(fileBytes(target).size(), 100u);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 8);
}

}  // namespace
