#pragma once

#include <QMetaObject>
#include <QObject>
#include <array>

class CView;
class CWindow;
class QScreen;
class QShortcut;
class QWidget;
class View;
class Window;

// The application controller. Construction creates the four interface objects and connects
// them: the drawing window wPoly with the drawing view, the panel window wCircle with the panel
// view tabView; then the drawing view wakes up (the random launch picture, its bounds, the first
// frame). applicationDidFinishLaunching places and shows the windows and builds the tabs.
class App : public QObject {
    Q_OBJECT

  public:
    // seed: the random source of the launch picture.
    explicit App(unsigned seed);
    App();  // seeded from the clock
    ~App() override;

    // Screen observer, the drawing window over the main screen, the random source seeded again
    // (from the clock, or from seed), the panel window at a random place, the tab pages.
    void applicationDidFinishLaunching();
    void applicationDidFinishLaunching(unsigned seed);

    // Shows page index and hides the page shown until now; nothing when it is already shown.
    void selectTab(int index);
    QWidget* selectedTab() const;

    // Opens a document handed over by the desktop or the command line: true when it was applied
    // (panel and view then show it), false after the beep with nothing changed.
    bool openFile(const QString& path);
    // The main tab's document and output buttons.
    void open();   // the open dialog, filtered on .Kaleidra2D
    void save();   // the save dialog, proposing "Kaleidra"
    void print();  // the print dialog, one page the size of the view
    void copy();   // a PDF of the picture on the clipboard; the drawing window goes behind
    void help();   // a new e-mail to the authors

    // Refresh the edge-length controls.
    void updateLength();
    // geometry and the surface descriptions from the sign of gen and the projection.
    void updateGeometry();

    Window* wPoly = nullptr;         // the drawing window
    View* view = nullptr;            // the drawing view
    CWindow* wCircle = nullptr;      // the panel window
    CView* tabView = nullptr;        // the panel view
    std::array<QWidget*, 15> tab{};  // the tab pages, children of tabView
    QShortcut* quitShortcut = nullptr;

  public slots:
    void applicationDidChangeScreenParameters();
    void windowDidResize();
    // The panel is shown only while the program is the active application.
    void applicationStateChanged(Qt::ApplicationState state);
    // The drawing window came to the front: the panel goes above it again.
    void drawingWindowActivated();

  private:
    void createInterface(unsigned seed);
    void finishLaunching(unsigned seed);
    void observeScreen(QScreen* screen);

    bool launched_ = false;
    QMetaObject::Connection screenGeometry_;
};
