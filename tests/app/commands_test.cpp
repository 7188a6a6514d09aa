// The launch and its windows; undo, the keyboard and the context menu, driven by real key and
// mouse events on the offscreen windows; dialogs are closed from a timer.

#include "app/commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <string>
#include <tuple>

#include "app/document.h"
#include "canvas/frame_painter.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "geometry/settings.h"
#include "panel_support.h"
#include "test_model.h"
#include "tiling/tables.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"

namespace {

// The document and the pixels of the picture.
struct Picture {
    std::string document;
    QImage image;
    bool operator==(const Picture& o) const { return document == o.document && image == o.image; }
};

Picture picture() {
    QImage image(240, 160, QImage::Format_ARGB32_Premultiplied);
    renderFrame(model, image);
    return {documentXml(model), image};
}

// Names a file in an open file dialog. selectFile leaves the name field alone while that field
// has the focus, which it may or may not have yet, so the field is also set directly.
void chooseFile(QFileDialog* files, const QString& path) {
    files->selectFile(path);
    if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
}

class CommandsTest : public PanelTest {
  protected:
    void SetUp() override {
        PanelTest::SetUp();
        // No glittering scheme: the same picture paints the same pixels.
        Settings& s = model.settings;
        s.polyEdgeScheme = s.polyVertScheme = s.triEdgeScheme = s.triVertScheme = 2;
        s.polyFaceScheme = 1;
        s.triFaceScheme = 3;
        app->startHistory();
        app->wPoly()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->wPoly()));
    }

    // A key on the drawing window, made active again first (a closed dialog leaves no window
    // active offscreen).
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QCoreApplication::processEvents();
        app->wPoly()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->wPoly()));
        QTest::keyClick(app->view(), k, modifiers);
        QCoreApplication::processEvents();
    }

    // A left-button drag over the drawing window, in its pixels.
    void dragPicture(QPoint from, QPoint to) {
        QWindow* w = app->wPoly()->windowHandle();
        QTest::mousePress(w, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 4; ++i) QTest::mouseMove(w, from + (to - from) * i / 4);
        QTest::mouseRelease(w, Qt::LeftButton, {}, to);
        QCoreApplication::processEvents();  // the release's commit
    }

    void clickControl(Control* control) {
        clickCentre(control);
        QCoreApplication::processEvents();
    }

    QPoint centre() const { return app->view()->rect().center(); }

    // Opens the context menu with a right click on the picture, and chooses an entry in it.
    QMenu* openMenu() {
        QTest::mouseClick(app->wPoly()->windowHandle(), Qt::RightButton, {}, centre());
        QMenu* menu = app->commands.menu;
        EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
        return menu;
    }
    void choose(QMenu* menu, QAction* entry) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }
};

using Undo = CommandsTest;
using Keys = CommandsTest;
using ContextMenu = CommandsTest;

TEST_F(Undo, EachPanelGestureAndOpeningADocumentUndoAsOneStep) {
    const std::string document =
        std::string(KALEIDRA_TESTS_DIR) + "/app/corpus/other_writer.xml.Kaleidra2D";
    const std::pair<const char*, std::function<void()>> gestures[] = {
        {"picture drag", [&] { dragPicture(centre(), centre() + QPoint(60, 25)); }},
        {"random generators", [&] { clickControl(app->control("qRanGen")); }},
        {"slider drag",
         [&] {
             drag(app->control("sLengthV"), 6, {20, 40, 70, 100, 120});
             QCoreApplication::processEvents();
         }},
        {"open",
         [&] {
             const auto closer = whenDialogOpens([&](QWidget* dialog) {
                 auto* files = qobject_cast<QFileDialog*>(dialog);
                 ASSERT_NE(files, nullptr);
                 chooseFile(files, QString::fromStdString(document));
                 QMetaObject::invokeMethod(files, "accept");
             });
             key(Qt::Key_O, Qt::ControlModifier);
         }},
    };
    for (const auto& [name, gesture] : gestures) {
        SCOPED_TRACE(name);
        app->startHistory();
        const Picture before = picture();
        gesture();
        const Picture after = picture();
        ASSERT_FALSE(after.document == before.document);
        EXPECT_EQ(app->history.undoCount(), 1);  // press to release is one step
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(picture() == before);
        key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_TRUE(picture() == after);
    }
}

TEST_F(Keys, ArrowKeysMoveAsTheTranslateButtons) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> rows[] = {
        {Qt::Key_Right, Qt::NoModifier, "qTranslateZX"},
        {Qt::Key_Left, Qt::NoModifier, "qTranslateXZ"},
        {Qt::Key_Up, Qt::NoModifier, "qTranslateZY"},
        {Qt::Key_Down, Qt::NoModifier, "qTranslateYZ"},
        {Qt::Key_Left, Qt::ShiftModifier, "qTranslateXY"},
        {Qt::Key_Right, Qt::ShiftModifier, "qTranslateYX"},
    };
    for (const auto& [k, modifiers, button] : rows) {
        SCOPED_TRACE(button);
        const Matrix before = model.settings.pointMatrix;
        key(k, modifiers);
        const Matrix byKey = model.settings.pointMatrix;
        EXPECT_FALSE(byKey == before);
        model.settings.pointMatrix = before;
        clickControl(app->control(button));
        EXPECT_TRUE(model.settings.pointMatrix == byKey);
    }
}

TEST_F(Keys, ShortcutsReachTheirCommands) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    makePicture(2, 2, 2);  // eight triangles: the PDFs and the SVG stay small
    // Save, open and print show their dialogs. Export: the file type picks the format; the
    // first PNG type is the screen's size. Names share no beginning, so that the dialog's
    // completion cannot swap them.
    for (const char* type : {"Save", "Open", "Print", "SVG", "PDF", "PNG"}) {
        SCOPED_TRACE(type);
        const QString path = dir.filePath(QStringLiteral("%1.%1").arg(type).toLower());
        bool shown = false;
        const auto closer = whenDialogOpens([&](QWidget* dialog) {
            shown = true;
            if (type[1] > 'Z') return (void)QMetaObject::invokeMethod(dialog, "reject");
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            for (const QString& filter : files->nameFilters())
                if (filter.startsWith(QLatin1String(type))) {
                    files->selectNameFilter(filter);
                    break;
                }
            chooseFile(files, path);
            QMetaObject::invokeMethod(files, "accept");
        });
        key(type[1] > 'Z' ? Qt::Key(type[0]) : Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(shown);
        if (type[1] > 'Z') continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(256).contains(type[1] == 'V'   ? "<svg"
                                            : type[1] == 'D' ? "%PDF"
                                                             : "PNG"));
    }
    EXPECT_EQ(QImage(dir.filePath("png.png")).size(),
              (QSizeF(app->view()->size()) * app->view()->devicePixelRatioF()).toSize());

    // Copy: one PDF on the clipboard.
    QGuiApplication::clipboard()->clear();
    key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->data(QStringLiteral("application/pdf")).startsWith("%PDF"));

    // Tab hides the panel and shows it again; I the caption.
    for (bool shown : {false, true}) {
        key(Qt::Key_Tab);
        EXPECT_EQ(app->wCircle()->isVisible(), shown);
        key(Qt::Key_I);
        EXPECT_EQ(app->view()->captionShown(), shown);
    }
    QSignalSpy quit(app->commands.quit, &QAction::triggered);
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quit.count(), 1);
}

// S and the menu's "Snub" and "Mirror snub" switch the snub and its mirror image, each an undo
// step (the history's own tests give back pictures exactly); the menu shows which form is on.
TEST_F(Keys, SnubSwitchesAreUndoSteps) {
    makePicture(2, 3, 4, 48);
    app->startHistory();
    const Picture wythoff = picture();
    key(Qt::Key_S);
    EXPECT_TRUE(model.settings.snubForm && !model.settings.snubMirror);
    QMenu* menu = openMenu();
    EXPECT_TRUE(app->commands.snub->isChecked() && !app->commands.snubMirror->isChecked());
    choose(menu, app->commands.snubMirror);
    EXPECT_TRUE(model.settings.snubForm && model.settings.snubMirror);
    EXPECT_EQ(app->history.undoCount(), 2);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(model.settings.snubForm && !model.settings.snubMirror);
    key(Qt::Key_S);
    EXPECT_EQ(picture().image, wythoff.image);
    openMenu()->hide();  // no mirror form shown without the snub
    EXPECT_FALSE(app->commands.snubMirror->isChecked());
}

TEST(ExportFormats, ThePngSizesAreTheScreenAnd4KAnd8K) {
    const std::vector<ExportFormat> formats = exportFormats(QSize(1366, 768));
    ASSERT_EQ(formats.size(), 5u);
    const QSize sizes[] = {{1366, 768}, {3840, 2160}, {7680, 4320}, {1366, 768}, {1366, 768}};
    for (std::size_t i = 0; i < formats.size(); ++i) {
        EXPECT_EQ(formats[i].size, sizes[i]);
        EXPECT_EQ(formats[i].suffix, QLatin1String(i < 3 ? "png" : i == 3 ? "svg" : "pdf"));
        EXPECT_TRUE(formats[i].filter.contains("*." + formats[i].suffix));
        EXPECT_EQ(formats[i].filter.contains(
                      QStringLiteral("%1 × %2").arg(sizes[i].width()).arg(sizes[i].height())),
                  i < 3);
    }
}

TEST_F(ContextMenu, RightClickOpensTheMenuWhoseEntriesRunTheirCommands) {
    QMenu* menu = openMenu();
    QStringList texts;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        texts << a->text();
        EXPECT_FALSE(a->shortcut().isEmpty()) << a->text().toStdString();
    }
    EXPECT_EQ(texts,
              (QStringList{"Undo", "Redo", "Open…", "Save…", "Export image…", "Copy PDF", "Print…",
                           "Hide panel", "Hide caption", "Snub", "Mirror snub", "Quit"}));
    // Nothing to undo yet: Undo and Redo are greyed.
    EXPECT_FALSE(app->commands.undo->isEnabled());
    choose(menu, app->commands.panel);
    EXPECT_FALSE(app->wCircle()->isVisible());
    // The caption entry names what it will do, and does it.
    choose(openMenu(), app->commands.caption);
    EXPECT_FALSE(app->view()->captionShown());
    openMenu();
    EXPECT_EQ(app->commands.caption->text(), QStringLiteral("Show caption"));
    menu->hide();
}

// Launch draws a random picture before the windows are shown, and finishing the launch shows
// them over the main screen without building the picture again: the drawing window over the
// whole screen, the panel (432 × 432) above it, only the tab of tabIndex on it.
TEST(App, LaunchDrawsARandomPictureThenShowsTheWindows) {
    const Settings defaults;
    Settings first;
    for (unsigned seed : {1u, 2u}) {
        model.settings = Settings{};
        model.settings.tabIndex = 14;
        App app(model, seed);
        const Settings& s = model.settings;
        EXPECT_GT(model.drawLists.quadCount, 0);
        EXPECT_NEAR(s.lengthV + s.lengthE + s.lengthF, 1, 1e-12);
        EXPECT_FALSE(s.lengthV == defaults.lengthV && s.lengthE == defaults.lengthE);
        EXPECT_FALSE(s.windowColor == defaults.windowColor);
        EXPECT_FALSE(app.wPoly()->isVisible() || app.wCircle()->isVisible());
        EXPECT_TRUE(seed == 1 ||
                    !(s.lengthV == first.lengthV || s.windowColor == first.windowColor));
        first = s;

        const QuadModule* firstQuad = model.drawLists.quad[0];
        const BColor firstColour = model.groupTables.dataVEF.at(0).polyColor;
        app.applicationDidFinishLaunching(seed + 10);
        EXPECT_EQ(model.drawLists.quad[0], firstQuad);
        EXPECT_TRUE(model.groupTables.dataVEF.at(0).polyColor == firstColour);

        const QRect frame = QGuiApplication::primaryScreen()->geometry();
        EXPECT_TRUE(app.wPoly()->isVisible());
        EXPECT_EQ(app.wPoly()->geometry(), frame);
        CWindow* panel = app.wCircle();
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->size(), QSize(432, 432));
        EXPECT_TRUE(frame.adjusted(0, 0, 1, 1).contains(panel->geometry().center()));
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(app.tab(i)->isVisibleTo(app.tabView()), i == 14) << "tab " << i;
    }
}

TEST(App, ThePanelFollowsTheProgramsStateAndTheTabChosen) {
    model.settings = Settings{};
    App app(model, 5);
    app.applicationDidFinishLaunching(6);
    // The panel is shown only while the program is active.
    app.applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(app.wCircle()->isVisible());
    EXPECT_TRUE(app.wPoly()->isVisible());
    app.applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(app.wCircle()->isVisible());
    // A change of screens fits the drawing window to the screen again.
    app.wPoly()->setGeometry(10, 10, 300, 200);
    app.applicationDidChangeScreenParameters();
    EXPECT_EQ(app.wPoly()->geometry(), QGuiApplication::primaryScreen()->geometry());

    app.selectTab(4);
    EXPECT_EQ(model.settings.tabIndex, 4);
    EXPECT_EQ(app.selectedTab(), app.tab(4));
    EXPECT_TRUE(app.tab(4)->isVisibleTo(app.tabView()));
    EXPECT_FALSE(app.tab(0)->isVisibleTo(app.tabView()));
    app.selectTab(15);
    EXPECT_EQ(model.settings.tabIndex, 4);
}

}  // namespace
