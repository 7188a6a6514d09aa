#include "app/app.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <cstdlib>
#include <ctime>

#include "app/document.h"
#include "app/output.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "geometry/kernel.h"
#include "geometry/random.h"
#include "render/chain.h"
#include "render/model.h"
#include "widgets/cwindow.h"

namespace {

unsigned clockSeed() {
    return static_cast<unsigned>(std::time(nullptr));
}

}  // namespace

App::App(unsigned seed) : ownModel_(std::make_unique<Model>()), model_(ownModel_.get()) {
    createInterface(seed);
}

App::App() : ownModel_(std::make_unique<Model>()), model_(ownModel_.get()) {
    createInterface(clockSeed());
}

App::App(Model& model, unsigned seed) : model_(&model) {
    createInterface(seed);
}

App::~App() {
    delete wPoly_;
}

void App::createInterface(unsigned seed) {
    wPoly_ = new Window;
    view_ = new View(*model_);
    wPoly_->setContentView(view_);
    wCircle_ = new CWindow(wPoly_);
    tabView_ = new CView(&model_->settings.tabIndex);
    wCircle_->setContentView(tabView_);
    tabView_->selectTab = [this](int index) { selectTab(index); };
    tabView_->selectedTab = [this] { return selectedTab(); };

    connect(view_, &View::lengthChanged, this, &App::updateLength);
    connect(wPoly_, &Window::resized, this, &App::windowDidResize);
    connect(wPoly_, &Window::activated, this, &App::drawingWindowActivated);
    connect(wPoly_, &Window::restored, this, &App::drawingWindowRestored);

    // The full-screen borderless window has no close button or menu bar: the keyboard and the
    // context menu carry the desktop's commands, Ctrl+Q among them.
    createCommands();
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installEventFilter(this);

    view_->awakeFromNib(seed);
    startHistory();
}

void App::applicationDidFinishLaunching() {
    finishLaunching(clockSeed());
}

void App::applicationDidFinishLaunching(unsigned seed) {
    finishLaunching(seed);
}

void App::finishLaunching(unsigned seed) {
    // 1. Screen changes refit the drawing window.
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (gui) {
        connect(gui, &QGuiApplication::primaryScreenChanged, this, [this](QScreen* screen) {
            observeScreen(screen);
            applicationDidChangeScreenParameters();
        });
        connect(gui, &QGuiApplication::screenAdded, this,
                &App::applicationDidChangeScreenParameters);
        connect(gui, &QGuiApplication::screenRemoved, this,
                &App::applicationDidChangeScreenParameters);
        connect(gui, &QGuiApplication::applicationStateChanged, this,
                &App::applicationStateChanged);
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    observeScreen(screen);

    // 2. The drawing window over the whole main screen, in front and key.
    wPoly_->fitToScreen(screen);
    wPoly_->show();
    wPoly_->raise();
    wPoly_->activateWindow();

    // 3. A fresh random source.
    srandom(seed);

    // 4. The panel at a random place: its lower-left corner at (x, y) in screen co-ordinates with
    // y upwards, x drawn first, so its centre may lie anywhere on the screen.
    const QRect frame = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    const double x = ranDouble() * frame.width() - CWindow::kSize / 2.0;
    const double y = ranDouble() * frame.height() - CWindow::kSize / 2.0;
    const int left = frame.left() + static_cast<int>(std::lround(x));
    const int top =
        frame.top() + frame.height() - static_cast<int>(std::lround(y)) - CWindow::kSize;
    wCircle_->setGeometry(left, top, CWindow::kSize, CWindow::kSize);
    // The ring of discs took its turn when the panel view was made, before any seeding, so it
    // would stand the same way at every launch: turn it again from the fresh random source.
    tabView_->setAngle(2 * PI * ranDouble());
    wCircle_->setWindowOpacity(model().settings.panelAlpha);
    wCircle_->show();
    // Without a window manager nothing keeps the panel above: raise it once it is shown.
    wCircle_->raise();

    // 5. Hiding the menu bar: there is none.

    // 6. Fifteen tab pages at the origin of the panel view; only tabIndex's is shown.
    for (int i = 0; i < CView::kTabCount; ++i) {
        QWidget* page = new QWidget(tabView_);
        page->setGeometry(0, 0, CWindow::kSize, CWindow::kSize);
        page->setVisible(i == model().settings.tabIndex);
        tab_[i] = page;
    }

    // 7. The controls of tab 0, the geometry labels, the controls of tabs 1 to 14.
    buildTab0();
    updateGeometry();
    buildTabs();
    launched_ = true;
    // The launch picture, with its geometry labels, is where undo stops.
    startHistory();
}

void App::observeScreen(QScreen* screen) {
    disconnect(screenGeometry_);
    if (screen)
        screenGeometry_ = connect(screen, &QScreen::geometryChanged, this,
                                  &App::applicationDidChangeScreenParameters);
}

void App::selectTab(int index) {
    if (index == model().settings.tabIndex) return;
    if (index < 0 || index >= CView::kTabCount) return;
    if (QWidget* shown = selectedTab()) shown->hide();
    model().settings.tabIndex = index;
    if (QWidget* page = tab(index)) page->show();
}

QWidget* App::selectedTab() const {
    return tab(model().settings.tabIndex);
}

QWidget* App::tab(int index) const {
    return index >= 0 && index < CView::kTabCount ? tab_[index] : nullptr;
}

bool App::openFile(const QString& path) {
    return openFile(QFile::encodeName(path).toStdString());
}

bool App::openFile(const std::string& path, std::string* why) {
    if (!openDocument(model(), path, why)) return false;
    updateGeometry();
    updateLength();
    view_->updateBounds();
    view_->update();
    if (launched_) {
        wCircle_->setWindowOpacity(model().settings.panelAlpha);
        // The picker follows the document's colour; every page reads its settings when shown.
        CColorPicker* picker = panel_.picker.colorPicker;
        picker->setColor(picker->color());
        tabView_->update();
        if (QWidget* page = selectedTab()) page->update();
    }
    commitStep();
    return true;
}

namespace {

const QString kDocumentFilter = QStringLiteral("Kaleidra documents (*.Kaleidra2D)");

}  // namespace

void App::open() {
    QFileDialog dialog(nullptr, QStringLiteral("open Kaleidra2D"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(kDocumentFilter);
    dialog.selectFile(QStringLiteral("Kaleidra"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    openFile(dialog.selectedFiles().constFirst());
}

void App::save() {
    QFileDialog dialog(nullptr, QStringLiteral("save Kaleidra2D"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(kDocumentFilter);
    dialog.setDefaultSuffix(QStringLiteral("Kaleidra2D"));
    dialog.selectFile(QStringLiteral("Kaleidra"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    (void)saveDocument(
        model(),
        QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString());  // beeps on failure
}

void App::print() {
    runPrintDialog(model(), wPoly_, view_->size());
}

void App::copy() {
    copyPicturePdf(model(), view_->size());
    wPoly_->lower();
}

void App::help() {
    sendEmail();
}

void App::applicationDidChangeScreenParameters() {
    wPoly_->fitToScreen();
    view_->updateBounds();
}

void App::windowDidResize() {
    view_->updateBounds();
}

void App::applicationStateChanged(Qt::ApplicationState state) {
    if (!launched_) return;
    if (state == Qt::ApplicationActive) {
        if (panelHidden_) return;
        wCircle_->show();
        wCircle_->raise();
    } else {
        wCircle_->hide();
    }
}

void App::drawingWindowActivated() {
    if (launched_ && wCircle_->isVisible()) wCircle_->raise();
}

void App::drawingWindowRestored() {
    if (!launched_ || panelHidden_) return;
    wCircle_->show();
    wCircle_->raise();
}
