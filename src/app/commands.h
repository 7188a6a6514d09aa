#pragma once

#include <QSize>
#include <QString>
#include <vector>

class QAction;
class QMenu;

// The commands that live beside the panel: each a QAction whose shortcuts work application-wide
// (on the drawing window and the panel alike), most of them also in the drawing window's context
// menu, which shows their shortcuts. Built by App::createCommands (app/commands.cpp); more
// entries join the menu through App::addCommand.
struct Commands {
    QAction *undo = nullptr, *redo = nullptr;
    QAction *open = nullptr, *save = nullptr, *exportImage = nullptr, *copy = nullptr,
            *print = nullptr;
    QAction *panel = nullptr, *caption = nullptr, *quit = nullptr;
    QAction *snub = nullptr, *snubMirror = nullptr;  // checked while that form is on show
    // The arrow keys move the picture one translation step; with Shift, Left and Right turn it.
    QAction *left = nullptr, *right = nullptr, *up = nullptr, *down = nullptr;
    QAction *turnLeft = nullptr, *turnRight = nullptr;
    QMenu* menu = nullptr;           // the drawing window's context menu
    QAction* moreEntries = nullptr;  // the separator before Quit: added entries go above it
};

// The choices of the export dialog's file type: one name filter each, the suffix it writes and
// the size in pixels (PNG) or points (SVG, PDF). screen is the drawing view's size in pixels.
struct ExportFormat {
    QString filter;
    QString suffix;
    QSize size;
};
std::vector<ExportFormat> exportFormats(QSize screen);
