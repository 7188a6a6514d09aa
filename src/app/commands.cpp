// Undo, the keyboard and the context menu: the commands beside the panel.
//
// Sections: building the commands · undo and redo · export · the panel window.

#include "app/commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include "app/app.h"
#include "app/output.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "platform/beep.h"
#include "render/chain.h"
#include "render/model.h"
#include "widgets/controls.h"
#include "widgets/cwindow.h"

// ---------------------------------------------------------------------------------------------
// Building the commands

QAction* App::addCommand(const QString& text, const QList<QKeySequence>& keys,
                         std::function<void()> run, bool inMenu) {
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    // Both windows: the drawing window has the keyboard, but the shortcuts belong to the program.
    action->setShortcutContext(Qt::ApplicationShortcut);
    action->setShortcutVisibleInContextMenu(true);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    wPoly_->addAction(action);
    wCircle_->addAction(action);
    if (inMenu) commands.menu->insertAction(commands.moreEntries, action);
    return action;
}

void App::createCommands() {
    Commands& c = commands;
    c.menu = new QMenu(wPoly_);
    c.moreEntries = c.menu->addSeparator();
    auto separate = [&c] { c.menu->insertSeparator(c.moreEntries); };

    c.undo = addCommand(QStringLiteral("Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                        [this] { undo(); });
    c.redo = addCommand(
        QStringLiteral("Redo"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        [this] { redo(); });
    separate();
    c.open = addCommand(QStringLiteral("Open…"), {QKeySequence(Qt::CTRL | Qt::Key_O)},
                        [this] { open(); });
    c.save = addCommand(QStringLiteral("Save…"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
                        [this] { save(); });
    c.exportImage = addCommand(QStringLiteral("Export image…"),
                               {QKeySequence(Qt::CTRL | Qt::Key_E)}, [this] { exportImage(); });
    c.copy = addCommand(QStringLiteral("Copy PDF"), {QKeySequence(Qt::CTRL | Qt::Key_C)},
                        [this] { copy(); });
    c.print = addCommand(QStringLiteral("Print…"), {QKeySequence(Qt::CTRL | Qt::Key_P)},
                         [this] { print(); });
    separate();
    c.panel = addCommand(QStringLiteral("Hide panel"), {QKeySequence(Qt::Key_Tab)},
                         [this] { togglePanel(); });
    c.caption = addCommand(QStringLiteral("Hide caption"), {QKeySequence(Qt::Key_I)},
                           [this] { view_->toggleCaption(); });
    // The snub and its mirror image. Each switch is a step of its own.
    auto snub = [this](bool mirror) {
        return [this, mirror] {
            Settings& s = model_->settings;
            if (!mirror) {
                s.snubForm = !s.snubForm;
            } else if (s.snubForm && s.snubMirror) {
                s.snubMirror = false;
            } else {
                s.snubForm = s.snubMirror = true;
            }
            chainSnub(*model_);
            view_->display();
            commitStep();
        };
    };
    separate();
    c.snub = addCommand(QStringLiteral("Snub"), {QKeySequence(Qt::Key_S)}, snub(false));
    c.snubMirror = addCommand(QStringLiteral("Mirror snub"), {QKeySequence(Qt::SHIFT | Qt::Key_S)},
                              snub(true));
    c.snub->setCheckable(true);
    c.snubMirror->setCheckable(true);
    c.menu->addAction(c.quit = addCommand(
                          QStringLiteral("Quit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)},
                          [] { QCoreApplication::quit(); }, false));

    // One translation step, as the buttons of the transform tab move it; each press is a step.
    auto move = [this](void (App::*motion)()) {
        return [this, motion] {
            (this->*motion)();
            commitStep();
        };
    };
    c.right = addCommand(QStringLiteral("Move right"), {QKeySequence(Qt::Key_Right)},
                         move(&App::pushTranslateZX), false);
    c.left = addCommand(QStringLiteral("Move left"), {QKeySequence(Qt::Key_Left)},
                        move(&App::pushTranslateXZ), false);
    c.up = addCommand(QStringLiteral("Move up"), {QKeySequence(Qt::Key_Up)},
                      move(&App::pushTranslateZY), false);
    c.down = addCommand(QStringLiteral("Move down"), {QKeySequence(Qt::Key_Down)},
                        move(&App::pushTranslateYZ), false);
    c.turnLeft =
        addCommand(QStringLiteral("Turn anticlockwise"), {QKeySequence(Qt::SHIFT | Qt::Key_Left)},
                   move(&App::pushTranslateXY), false);
    c.turnRight =
        addCommand(QStringLiteral("Turn clockwise"), {QKeySequence(Qt::SHIFT | Qt::Key_Right)},
                   move(&App::pushTranslateYX), false);

    connect(c.menu, &QMenu::aboutToShow, this, [this] {
        commitStep();
        commands.panel->setText(wCircle_->isVisible() ? QStringLiteral("Hide panel")
                                                      : QStringLiteral("Show panel"));
        commands.caption->setText(view_->captionShown() ? QStringLiteral("Hide caption")
                                                        : QStringLiteral("Show caption"));
        const Settings& s = model_->settings;
        commands.snub->setChecked(s.snubForm);
        commands.snubMirror->setChecked(s.snubForm && s.snubMirror);
    });
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { commands.menu->popup(view_->mapToGlobal(pos)); });
    updateCommandStates();
}

void App::updateCommandStates() {
    if (commands.undo) commands.undo->setEnabled(history.undoCount() > 0);
    if (commands.redo) commands.redo->setEnabled(history.redoCount() > 0);
}

// ---------------------------------------------------------------------------------------------
// Undo and redo

// A step ends when the mouse button that made it comes up: every press on the panel or the
// picture, however long it is dragged, is one step. The commit runs after the release has been
// handled, since a slider takes its last value from the release itself.
bool App::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && !commitQueued_) {
        commitQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                commitQueued_ = false;
                commitStep();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void App::commitStep() {
    // Still dragging: the step ends at the release.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
    history.commit(*model_);
    updateCommandStates();
}

void App::startHistory() {
    history.reset(*model_);
    updateCommandStates();
}

void App::undo() {
    // Going back in the middle of a drag would leave the drag to resume from its press.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        beep();
        return;
    }
    if (history.undo(*model_)) showRestored();
    updateCommandStates();
}

void App::redo() {
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        beep();
        return;
    }
    if (history.redo(*model_)) showRestored();
    updateCommandStates();
}

void App::showRestored() {
    view_->updateBounds();
    if (launched_) {
        wCircle_->setWindowOpacity(model_->settings.panelAlpha);
        // Controls read their settings when they paint; the picker follows its colour again.
        CColorPicker* picker = panel_.picker.colorPicker;
        picker->setColor(picker->color());
        if (panel_.picker.sBrightness) panel_.picker.sBrightness->display();
        tabView_->update();
        for (QWidget* page : tab_) page->update();
    }
    view_->display();
}

// ---------------------------------------------------------------------------------------------
// Export

std::vector<ExportFormat> exportFormats(QSize screen) {
    const QString png = QStringLiteral("PNG image, %1 × %2 (*.png)");
    return {
        {png.arg(screen.width()).arg(screen.height()), QStringLiteral("png"), screen},
        {png.arg(3840).arg(2160), QStringLiteral("png"), QSize(3840, 2160)},
        {png.arg(7680).arg(4320), QStringLiteral("png"), QSize(7680, 4320)},
        {QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("svg"), screen},
        {QStringLiteral("PDF document (*.pdf)"), QStringLiteral("pdf"), screen},
    };
}

void App::exportImage() {
    // The screen's size: the drawing view's in pixels once it is shown, the main screen's before.
    QSize screen = (QSizeF(view_->size()) * view_->devicePixelRatioF()).toSize();
    if (!view_->isVisible() || screen.isEmpty()) {
        if (QScreen* s = QGuiApplication::primaryScreen())
            screen = (QSizeF(s->size()) * s->devicePixelRatio()).toSize();
    }
    const std::vector<ExportFormat> formats = exportFormats(screen);
    QStringList filters;
    for (const ExportFormat& f : formats) filters << f.filter;

    QFileDialog dialog(wPoly_, QStringLiteral("export image"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(formats.front().suffix);
    dialog.selectFile(QStringLiteral("Kaleidra.png"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const qsizetype i = filters.indexOf(filter);
        if (i >= 0) dialog.setDefaultSuffix(formats[std::size_t(i)].suffix);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;

    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    const ExportFormat& format = formats[chosen >= 0 ? std::size_t(chosen) : 0];
    QString path = dialog.selectedFiles().constFirst();
    // The file type decides the format: a name with another ending gets the type's.
    if (QFileInfo(path).suffix().toLower() != format.suffix) path += '.' + format.suffix;
    (void)exportPicture(*model_, QFile::encodeName(path).toStdString(), format.size,
                        nullptr);  // beeps
}

// ---------------------------------------------------------------------------------------------
// The panel window

void App::togglePanel() {
    panelHidden_ = wCircle_->isVisible();
    if (panelHidden_) {
        wCircle_->hide();
    } else {
        wCircle_->show();
        wCircle_->raise();
    }
}
