#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_line.h"
#include "app/document.h"
#include "canvas/caption.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "geometry/settings.h"
#include "geometry/triangle_group.h"
#include "panel_support.h"
#include "render/chain.h"
#include "test_model.h"

namespace {

// The x of a slider 156 wide (in its own co-ordinates) that gives the value v.
double sliderX(double v, double min, double max) {
    return (v - min) / (max - min) * 155;
}

QImage grab(View* view) {
    return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage withCaption(QImage frame, const char* text) {
    QPainter painter(&frame);
    paintCaption(painter, QRectF(frame.rect()), QString::fromUtf8(text));
    return frame;
}

using Caption = PanelTest;

// The caption names each new tiling as the sliders move, and the I key hides and shows it.
TEST_F(Caption, FollowsTheSlidersAndTheIKeyTogglesIt) {
    makePicture(2, 3, 4);
    app->selectTab(2);
    press(app->control("sLengthV"), sliderX(1, 0, 1), 6);
    ASSERT_EQ(model.settings.lengthV, 1);
    View* view = app->view();
    view->setCaptionShown(false);
    QImage bare = grab(view);
    view->setCaptionShown(true);
    EXPECT_EQ(grab(view), withCaption(bare,
                                      "3.4.3.4 · 2 | 3 4 · cuboctahedron · 12 vertices, "
                                      "24 edges, 14 faces"));

    click(app->control("sGenF"), sliderX(5, 2, 12), 6);
    ASSERT_EQ(model.settings.genF, 5);
    const QImage shown = grab(view);
    view->setCaptionShown(false);
    bare = grab(view);
    view->setCaptionShown(true);
    EXPECT_EQ(shown, withCaption(bare,
                                 "3.5.3.5 · 2 | 3 5 · icosidodecahedron · 30 vertices, "
                                 "60 edges, 32 faces"));

    app->wPoly()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->wPoly()));
    QTest::keyClick(app->wPoly(), Qt::Key_I);
    EXPECT_FALSE(view->captionShown());
    EXPECT_EQ(grab(view), bare);
    QTest::keyClick(app->wPoly(), Qt::Key_I);
    EXPECT_TRUE(view->captionShown());
    EXPECT_EQ(grab(view), shown);
}

// Runs the program with no display; stdout and stderr are kept.
int runKaleidra(const QStringList& args, QByteArray* out, QString* err = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KALEIDRA_BINARY), args);
    if (!p.waitForFinished(120000)) return -1;
    if (out) *out = p.readAllStandardOutput();
    if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A document of the picture (p, q, r) with the given shares.
void writeDocument(const QString& path, int p, int q, int r, double lengthV, double lengthE,
                   double lengthF) {
    model.settings = Settings{};
    initRandom(model, 5);
    const int oldGen = model.settings.gen;
    model.settings.genV = p;
    model.settings.genE = q;
    model.settings.genF = r;
    model.settings.lengthV = lengthV;
    model.settings.lengthE = lengthE;
    model.settings.lengthF = lengthF;
    setGenType(model.settings);
    finishGen(model, oldGen);
    updateGeometryLabels(model.settings);
    ASSERT_TRUE(saveDocument(model, path.toStdString()));
}

TEST(CommandLineDescribe, PrintsOneJsonObjectWithEveryKey) {
    QTemporaryDir dir;
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
        {3, 3, 3, 0, 0.5, 0.5,
         R"j({"geometry":"plane","generators":[3,3,3],"lengths":[0,0.5,0.5],)j"
         R"j("wythoff":"3 3 | 3","vertexConfiguration":"3.6.3.6","uniform":true,)j"
         R"j("name":"trihexagonal tiling","vertices":null,"edges":null,"faces":null,)j"
         R"j("facesBySides":null,"coxeter":"(3 3 3)","orbifold":"*333"})j"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.p << row.q << row.r);
        const QString path = dir.filePath(QStringLiteral("d.Kaleidra2D"));
        writeDocument(path, row.p, row.q, row.r, row.lengthV, row.lengthE, row.lengthF);
        QByteArray out;
        ASSERT_EQ(runKaleidra({"--describe", path}, &out), 0);
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(out, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
        ASSERT_TRUE(json.isObject());
        EXPECT_EQ(
            json.toJson(QJsonDocument::Compact).toStdString(),
            QJsonDocument::fromJson(row.expected).toJson(QJsonDocument::Compact).toStdString());
    }
    // A new picture: the same seed, the same description.
    QByteArray a, b;
    ASSERT_EQ(runKaleidra({"--describe", "--seed", "12"}, &a), 0);
    ASSERT_EQ(runKaleidra({"--seed", "12", "--describe"}, &b), 0);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(QJsonDocument::fromJson(a).isObject());
}

TEST(CommandLineDescribe, ABadDocumentFailsAsExportDoes) {
    const QString hostile =
        QStringLiteral(KALEIDRA_TESTS_DIR "/app/corpus/hostile_matrix_nan.Kaleidra2D");
    QTemporaryDir dir;
    QString describeError, exportError;
    QByteArray out;
    EXPECT_EQ(runKaleidra({"--describe", hostile}, &out, &describeError), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(runKaleidra({"--export", dir.filePath("a.png"), hostile}, nullptr, &exportError), 1);
    // The toolkit may add its own notes to the export's; the program's line is the same.
    const auto programLines = [](const QString& text) {
        return text.split(QLatin1Char('\n'))
            .filter(QRegularExpression(QStringLiteral("^kaleidra: ")));
    };
    EXPECT_EQ(programLines(describeError).size(), 1);
    EXPECT_EQ(programLines(describeError), programLines(exportError));
}

// Only --export --caption puts the caption into a picture, in its lower-left corner.
TEST(CommandLineDescribe, ExportCarriesTheCaptionOnlyWhenAsked) {
    QTemporaryDir dir;
    auto at = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    const QStringList common = {"--size", "640x400", "--seed", "7"};
    ASSERT_EQ(runKaleidra(QStringList{"--export", at("plain.png")} + common, nullptr), 0);
    ASSERT_EQ(
        runKaleidra(QStringList{"--export", at("caption.png"), "--caption"} + common, nullptr), 0);
    const QImage plain(at("plain.png")), captioned(at("caption.png"));
    ASSERT_EQ(plain.size(), captioned.size());
    QRect box;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != captioned.pixel(x, y)) box |= QRect(x, y, 1, 1);
    EXPECT_FALSE(box.isEmpty());
    EXPECT_LT(box.left(), 40);
    EXPECT_GT(box.top(), 400 - 80);

    // The SVG carries the words; without --caption it does not.
    QByteArray description;
    ASSERT_EQ(runKaleidra(QStringList{"--describe", "--seed", "7"}, &description), 0);
    const QString wythoff =
        QJsonDocument::fromJson(description).object().value("wythoff").toString();
    for (bool caption : {false, true}) {
        QStringList args = QStringList{"--export", at("a.svg")} + common;
        if (caption) args << "--caption";
        ASSERT_EQ(runKaleidra(args, nullptr), 0);
        QFile svg(at("a.svg"));
        ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(svg.readAll()).contains(wythoff.toHtmlEscaped()), caption);
    }
}

}  // namespace
