#include "app/output.h"

#include <gtest/gtest.h>

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

#include "app/command_line.h"
#include "app/document.h"
#include "geometry/settings.h"
#include "render/chain.h"

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
        settings = Settings{};
        initRandom(8);
        updateGeometryLabels();
    }
};

TEST_F(Output, PrintingMakesOnePageTheSizeOfTheViewWithoutMargins) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("print.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printPicture(printer, QSize(1440, 900));
    EXPECT_EQ(printer.pageLayout().margins(), QMarginsF(0, 0, 0, 0));
    EXPECT_EQ(printer.pageLayout().fullRect(QPageLayout::Point).size(), QSizeF(1440, 900));
    const QByteArray pdf = readAll(path);
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(pdfMediaBox(pdf), QStringLiteral("0 0 1440 900"));
}

TEST_F(Output, CopyPutsOnlyAPdfOnTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    copyPicturePdf(QSize(640, 400));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->formats(), QStringList{QStringLiteral("application/pdf")});
    const QByteArray pdf = mime->data(QStringLiteral("application/pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(pdfMediaBox(pdf), QStringLiteral("0 0 640 400"));
}

TEST(Mail, UrlIsExact) {
    EXPECT_EQ(mailtoUrl().toString(),
              QStringLiteral("mailto:kaleidra@example.org,tilings@example.org?subject=Kaleidra"));
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
                                               {"--describe", "--size", "9x9"}}) {
        SCOPED_TRACE(bad.front());
        const CommandLine c = parseCommandLine(bad);
        EXPECT_EQ(c.mode, M::error);
        EXPECT_FALSE(c.error.empty());
    }
}

// Runs the program as a person would, with no display at all.
int runKaleidra(const QStringList& args, QString* err = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KALEIDRA_BINARY), args);
    if (!p.waitForFinished(120000)) return -1;
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
    settings = Settings{};
    initRandom(100);
    ASSERT_TRUE(openDocument(at("d.Kaleidra2D").toStdString()));
    ASSERT_TRUE(saveDocument(at("f.Kaleidra2D").toStdString()));
    EXPECT_EQ(readAll(at("f.Kaleidra2D")), readAll(at("d.Kaleidra2D")));
}

TEST(CommandLineExport, BadInputLeavesNoFile) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const QString hostile =
        QStringLiteral(KALEIDRA_TESTS_DIR "/app/corpus/hostile_matrix_nan.Kaleidra2D");
    const QStringList rows[] = {
        {"--export", out, dir.filePath(QStringLiteral("missing.Kaleidra2D"))},
        {"--export", out, hostile},
        {"--export", dir.filePath(QStringLiteral("out.bmp")), "--seed", "1"},
        {"--export", out, "--size", "0x0"},
        {"--what"},
    };
    for (const QStringList& args : rows) {
        SCOPED_TRACE(args.join(' ').toStdString());
        QString err;
        EXPECT_NE(runKaleidra(args, &err), 0);
        EXPECT_TRUE(err.contains(QStringLiteral("kaleidra: "))) << err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
    EXPECT_EQ(runKaleidra({"--help"}), 0);
}

}  // namespace
