#pragma once

#include <QMetaObject>
#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"
#include "app/history.h"
#include "app/panel_controls.h"
#include "geometry/settings.h"
#include "geometry/types.h"
#include "widgets/controls.h"

class CView;
class CWindow;
class QAction;
class QKeySequence;
class QScreen;
class QWidget;
class View;
class Window;
struct Model;

// The application controller. Construction creates the four interface objects and connects
// them: the drawing window wPoly with the drawing view, the panel window wCircle with the panel
// view tabView; then the drawing view wakes up (the random launch picture, its bounds, the first
// frame). applicationDidFinishLaunching places and shows the windows and builds the tabs with
// every control (app/panel_layout.cpp).
//
// Every control sends one action here after it has written its setting. An action re-enters the
// generation chain where the setting is read (render/chain.h), refreshes the controls that show
// a value it changed, and redraws the picture only when the change can be seen
// (app/actions.cpp). Actions of the six element families take the family's index in family
// order (polyFace, polyEdge, polyVert, triFace, triEdge, triVert; colour/colour.h).
//
// A handler is named after the action it serves (setGenV, copyPolyFaceAlpha …) unless that name
// is already an operation of the chain or the view (ranGen, reflectX, translateXY …): then a
// button's handler is push + the button (pushReflectX for qReflectX), and a value's handler says
// what changed (windowZoomChanged, generatorChanged). actionName still gives the action's name.
class App : public QObject {
    Q_OBJECT

  public:
    // seed: the random source of the launch picture.
    explicit App(unsigned seed);
    App();  // seeded from the clock
    // Shows and edits the given picture, which must outlive the controller, instead of its own.
    App(Model& model, unsigned seed);
    ~App() override;

    // The picture on the screen.
    Model& model() const { return *model_; }

    // Screen observer, the drawing window over the main screen, the random source seeded again
    // (from the clock, or from seed), the panel window at a random place, the tab pages and
    // their controls.
    void applicationDidFinishLaunching();
    void applicationDidFinishLaunching(unsigned seed);

    // Shows page index and hides the page shown until now; nothing when it is already shown.
    void selectTab(int index);
    QWidget* selectedTab() const;

    // Opens a document handed over by the desktop or the command line: true when it was applied
    // (panel and view then show it), false after the beep with nothing changed and the reason in
    // why. The std::string form takes the file name's bytes as given, UTF-8 or not.
    bool openFile(const QString& path);
    bool openFile(const std::string& path, std::string* why = nullptr);

    // ---- Main tab: documents, output and the program's windows.
    void open();   // the open dialog, filtered on .Kaleidra2D
    void save();   // the save dialog, proposing "Kaleidra"
    void print();  // the print dialog, one page the size of the view
    void copy();   // a PDF of the picture on the clipboard; the drawing window goes behind
    void help();   // a new e-mail to the authors
    void hide();   // minimises the program's windows
    void unhideAllApplications();  // shows the program's windows again
    void stop();                   // ends the program

    // ---- Beside the panel: undo, the keyboard and the context menu (app/commands.cpp).
    void undo();
    void redo();
    void exportImage();  // the export dialog: PNG (three sizes), SVG or PDF, as --export draws
    void togglePanel();  // shows or hides the panel window
    // Records the change since the last step as one step; nothing when nothing changed or while
    // a mouse button is still down (the release commits).
    void commitStep();
    // Forgets every step: the picture on show is as far back as undo goes.
    void startHistory();
    // A command with application-wide shortcuts; inMenu adds it to the context menu, above Quit.
    QAction* addCommand(const QString& text, const QList<QKeySequence>& keys,
                        std::function<void()> run, bool inMenu = true);

    // ---- Refreshing the panel.
    void updateGen();     // the three generator sliders
    void updateLength();  // the three length sliders
    // geometry and the surface descriptions from the sign of gen and the projection; the
    // geometry menu.
    void updateGeometry();

    // ---- Generators.
    void setGenV();
    void setGenE();
    void setGenF();
    // A generator has changed; oldGen is gen of the earlier generators.
    void generatorChanged(int oldGen);
    void pushRanGen();
    void setGeometry();

    // ---- Edge lengths.
    void setLengthV();
    void setLengthE();
    void setLengthF();
    void pushRanLength();
    void pushEqualizeLength();
    void setUniformV();
    void setUniformE();
    void setUniformF();

    // ---- Projection.
    void center();
    void setSegments();
    void setGroupOrder();
    void setSpiralAngle();
    void windowZoomChanged();
    void setProject3D2D();

    // ---- View motions.
    void pushIdentityMatrix();
    void pushRanMatrix();
    void pushReflectX();
    void pushReflectY();
    void pushReflectZ();
    void pushTranslateXY();
    void pushTranslateXZ();
    void pushTranslateYX();
    void pushTranslateYZ();
    void pushTranslateZX();
    void pushTranslateZY();

    // ---- Display.
    void setSelfDraw();
    void setMirrorDraw();
    void setSelfMirrorEmphasis();
    void setPolyTriEmphasis();
    // A family switch has toggled (its check box on tab 6, 11, 12 or 13).
    void setFamilyDraw(int family);
    void setCircleDraw();
    void setOriginDraw();
    void setWindowDraw();
    void showPoly();
    void hidePoly();
    void showTri();
    void hideTri();

    // ---- Schemes, offsets, transparency and thickness.
    void ranAllScheme();
    void copyScheme(int family);
    void setScheme(int family);
    void ranAllOffset();
    void copyOffset(int family);
    void setOffset(int family);
    void ranAllAlpha();
    void copyAlpha(int family);
    void setAlpha(int family);
    void setCircleAlpha();
    void setOriginAlpha();
    void setWindowAlpha();
    void setPanelAlpha();
    // The copy buttons of the circle, origin, window and panel rows: like the family copy
    // buttons, they put their row's value into the six family values.
    void copyCircleAlpha();
    void copyOriginAlpha();
    void copyWindowAlpha();
    void copyPanelAlpha();
    void ranAllThick();
    void copyThick(int family);
    void setThick(int family);
    void setCircleThick();
    void setOriginThick();
    void copyCircleThick();
    void copyOriginThick();

    // ---- Colours.
    // Tabs 11 and 12: new random type colours for the family; "•": the family to scheme 2.
    void ranTypeColors(int family);
    void setTypeScheme(int family);
    // A type switch has toggled.
    void setTypeDraw(int type);
    // Tab 13: new individual colours for the family; "•": the family to scheme 1.
    void ranIndividualColors(int family);
    void setIndividualScheme(int family);
    void setCircleDraw0();
    void setOriginDraw0();
    void setWindowDraw0();
    void ranCircleColor0();
    void ranOriginColor0();
    void ranWindowColor0();
    // A colour well was pressed: the picker edits color, titled title, on tab 14.
    void editColor(BColor* color, const char* title);
    // The picker has written its colour; the brightness slider has stored the brightness.
    void setColorPicker();
    void setBrightness();
    // The title button: back to the tab that owns the colour being edited.
    void updateColor();

    // The panel's control named reference ("qRanGen", "sGenV", "bPolyEdgeDraw1", "colorPicker"
    // …) as kind C: nullptr before the tabs are built, for a name the panel does not have and for
    // a control of another kind. The one way to a control from outside the controller.
    template <class C = Control>
    C* control(std::string_view reference) const {
        return dynamic_cast<C*>(findControl(reference));
    }
    // The name of the action a control sends ("setGenV", "copyPolyFaceAlpha" …), nullptr for
    // labels and controls this panel did not make.
    const char* actionName(const Control* control) const;

    // The interface objects: the drawing window and its view, the panel window and its view,
    // and the panel's fifteen tab pages (nullptr outside 0..14).
    Window* wPoly() const { return wPoly_; }
    View* view() const { return view_; }
    CWindow* wCircle() const { return wCircle_; }
    CView* tabView() const { return tabView_; }
    QWidget* tab(int index) const;

    Commands commands;
    History history;

  public slots:
    void applicationDidChangeScreenParameters();
    void windowDidResize();
    // The panel is shown only while the program is the active application.
    void applicationStateChanged(Qt::ApplicationState state);
    // The drawing window came to the front: the panel goes above it again.
    void drawingWindowActivated();
    // The drawing window came back from the minimised state: so does the panel.
    void drawingWindowRestored();

  protected:
    // Every mouse release anywhere in the program ends a step (app/commands.cpp).
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createInterface(unsigned seed);
    void createCommands();
    void updateCommandStates();
    // After undo or redo: the view's bounds, the panel window and every control show the picture.
    void showRestored();
    void finishLaunching(unsigned seed);
    void observeScreen(QScreen* screen);

    // ---- Building the panel (app/panel_layout.cpp).
    struct NamedAction {
        std::string name;
        std::function<void()> run;
    };
    void buildTab0();
    void buildTabs();  // tabs 1 to 14
    void buildFamilyRows(int tab);
    void buildFamilyColours(int tab);
    void buildIndividualColours();
    Control::Action wire(const NamedAction& action);
    template <class C>
    C* named(C* control, std::string reference, const NamedAction& action);
    Control* findControl(std::string_view reference) const;
    CPushButton* button(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                        std::string textA, std::string textB = {});
    CCheckbox* checkbox(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                        bool* setting, std::string text = {});
    CTextField* label(int tab, std::string ref, const ControlFrame& f, std::string text,
                      int fontSize = 10);
    CMenu* menu(int tab, std::string ref, const ControlFrame& f, NamedAction a, int* setting,
                std::vector<std::string> texts);
    BMenu* schemeMenu(int tab, std::string ref, const ControlFrame& f, NamedAction a, int* setting);
    BSlider* intSlider(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                       std::string text, int* setting, int min, int max);
    CSlider* realSlider(int tab, std::string ref, const ControlFrame& f, NamedAction a,
                        std::string text, double* setting, double min, double max);
    CColorWell* well(int tab, std::string ref, const ControlFrame& f, NamedAction a, BColor* color,
                     std::string text);

    // ---- Helpers of the actions (app/actions.cpp).
    void redraw();
    void redrawIf(bool visible);
    void finishLengths();
    void refreshSchemeMenus();
    void refreshFamilySliders(CSlider* FamilyControls::*slider);
    void setEmphasisAndFamilies(int emphasis, int firstFamily, bool value);
    void copyIntoFamilies(double Settings::*FamilyInfo::*field, double value);
    // The picker follows a colour that an action has just replaced.
    void resyncPicker(const BColor* color);

    std::unique_ptr<Model> ownModel_;
    Model* model_;
    Window* wPoly_ = nullptr;         // the drawing window
    View* view_ = nullptr;            // the drawing view
    CWindow* wCircle_ = nullptr;      // the panel window
    CView* tabView_ = nullptr;        // the panel view
    std::array<QWidget*, 15> tab_{};  // the tab pages, children of tabView_
    PanelControls panel_;
    bool launched_ = false;
    bool panelHidden_ = false;   // by the Tab key: activating the program does not show it
    bool commitQueued_ = false;  // a release's commit is on its way
    QMetaObject::Connection screenGeometry_;
    // Every control of the panel with its name and its action's name (empty for labels).
    struct NamedControl {
        Control* control;
        std::string reference, action;
    };
    std::vector<NamedControl> named_;
};
