#pragma once

#include <QMetaObject>
#include <QObject>
#include <QSize>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "app/commands.h"
#include "app/history.h"
#include "geometry/settings.h"
#include "geometry/types.h"
#include "widgets/controls.h"

class CView;
class CWindow;
struct FamilyControls;
struct FamilyInfo;
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
    void hideOtherApplications();  // a desktop program cannot hide the others: nothing
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
    void setLengthStep() {}
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
    void setTranslateStep() {}

    // ---- Mouse: the view reads these settings at its next press.
    void setMouseMode() {}
    void setMousePoints() {}
    void setMouseColors() {}

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

    // The name of the action a control sends ("setGenV", "copyPolyFaceAlpha" …), nullptr for
    // labels and controls this panel did not make.
    const char* actionName(const Control* control) const;

    Window* wPoly = nullptr;         // the drawing window
    View* view = nullptr;            // the drawing view
    CWindow* wCircle = nullptr;      // the panel window
    CView* tabView = nullptr;        // the panel view
    std::array<QWidget*, 15> tab{};  // the tab pages, children of tabView
    // Scheme and option menus.
    BMenu *pPolyFaceScheme = nullptr, *pPolyEdgeScheme = nullptr, *pPolyVertScheme = nullptr;
    BMenu *pTriFaceScheme = nullptr, *pTriEdgeScheme = nullptr, *pTriVertScheme = nullptr;
    CMenu *pGeometry = nullptr, *pProject3D2D = nullptr, *pMouseMode = nullptr;
    CMenu *pSelfMirrorEmphasis = nullptr, *pPolyTriEmphasis = nullptr;
    // Check boxes.
    CCheckbox *bUniformV = nullptr, *bUniformE = nullptr, *bUniformF = nullptr;
    CCheckbox *bMousePoints = nullptr, *bMouseColors = nullptr, *bSelfDraw = nullptr;
    CCheckbox *bMirrorDraw = nullptr, *bPolyFaceDraw = nullptr, *bPolyEdgeDraw = nullptr;
    CCheckbox *bPolyVertDraw = nullptr, *bTriFaceDraw = nullptr, *bTriEdgeDraw = nullptr;
    CCheckbox *bTriVertDraw = nullptr, *bCircleDraw = nullptr, *bOriginDraw = nullptr;
    CCheckbox *bWindowDraw = nullptr, *bPolyFaceDraw0 = nullptr, *bPolyEdgeDraw0 = nullptr;
    CCheckbox *bPolyVertDraw0 = nullptr, *bTriFaceDraw0 = nullptr, *bTriEdgeDraw0 = nullptr;
    CCheckbox *bTriVertDraw0 = nullptr, *bCircleDraw0 = nullptr, *bOriginDraw0 = nullptr;
    CCheckbox *bWindowDraw0 = nullptr, *bPolyFaceDraw1 = nullptr, *bPolyEdgeDraw1 = nullptr;
    CCheckbox *bPolyVertDraw1 = nullptr, *bTriFaceDraw1 = nullptr, *bTriEdgeDraw1 = nullptr;
    CCheckbox *bTriVertDraw1 = nullptr, *bPolyFaceVDraw = nullptr, *bPolyFaceEDraw = nullptr;
    CCheckbox *bPolyFaceFDraw = nullptr, *bPolyEdgeEFDraw = nullptr, *bPolyEdgeFVDraw = nullptr;
    CCheckbox *bPolyEdgeVEDraw = nullptr, *bPolyVertPosDraw = nullptr, *bPolyVertNegDraw = nullptr;
    CCheckbox *bTriFacePosDraw = nullptr, *bTriFaceNegDraw = nullptr, *bTriEdgeEFDraw = nullptr;
    CCheckbox *bTriEdgeFVDraw = nullptr, *bTriEdgeVEDraw = nullptr, *bTriVertVDraw = nullptr;
    CCheckbox *bTriVertEDraw = nullptr, *bTriVertFDraw = nullptr;
    // Labels.
    CTextField *tTitle = nullptr, *tArtist = nullptr, *tEqualizeLength = nullptr;
    CTextField *tReflect = nullptr, *tTranslate = nullptr, *tMouseMode = nullptr;
    // Push buttons.
    CPushButton *qOpen = nullptr, *qSave = nullptr, *qPrint = nullptr;
    CPushButton *qCopy = nullptr, *qHide = nullptr, *qHideOthers = nullptr;
    CPushButton *qShowAll = nullptr, *qQuit = nullptr, *qSendEmail = nullptr;
    CPushButton *qUpdateColor = nullptr, *qRanGen = nullptr, *qRanLength = nullptr;
    CPushButton *qEqualizeLength = nullptr, *qCenter = nullptr, *qRanMatrix = nullptr;
    CPushButton *qIdentityMatrix = nullptr, *qReflectX = nullptr, *qReflectY = nullptr;
    CPushButton *qReflectZ = nullptr, *qTranslateYX = nullptr, *qTranslateZX = nullptr;
    CPushButton *qTranslateXY = nullptr, *qTranslateZY = nullptr, *qTranslateXZ = nullptr;
    CPushButton *qTranslateYZ = nullptr, *qShowPoly = nullptr, *qShowTri = nullptr;
    CPushButton *qHidePoly = nullptr, *qHideTri = nullptr, *qRanAllScheme = nullptr;
    CPushButton *qCopyPolyFaceScheme = nullptr, *qCopyPolyEdgeScheme = nullptr,
                *qCopyPolyVertScheme = nullptr;
    CPushButton *qCopyTriFaceScheme = nullptr, *qCopyTriEdgeScheme = nullptr,
                *qCopyTriVertScheme = nullptr;
    CPushButton *qRanAllOffset = nullptr, *qCopyPolyFaceOffset = nullptr,
                *qCopyPolyEdgeOffset = nullptr;
    CPushButton *qCopyPolyVertOffset = nullptr, *qCopyTriFaceOffset = nullptr,
                *qCopyTriEdgeOffset = nullptr;
    CPushButton *qCopyTriVertOffset = nullptr, *qRanAllAlpha = nullptr,
                *qCopyPolyFaceAlpha = nullptr;
    CPushButton *qCopyPolyEdgeAlpha = nullptr, *qCopyPolyVertAlpha = nullptr,
                *qCopyTriFaceAlpha = nullptr;
    CPushButton *qCopyTriEdgeAlpha = nullptr, *qCopyTriVertAlpha = nullptr,
                *qCopyCircleAlpha = nullptr;
    CPushButton *qCopyOriginAlpha = nullptr, *qCopyWindowAlpha = nullptr,
                *qCopyPanelAlpha = nullptr;
    CPushButton *qRanAllThick = nullptr, *qCopyPolyFaceThick = nullptr,
                *qCopyPolyEdgeThick = nullptr;
    CPushButton *qCopyPolyVertThick = nullptr, *qCopyTriFaceThick = nullptr,
                *qCopyTriEdgeThick = nullptr;
    CPushButton *qCopyTriVertThick = nullptr, *qCopyCircleThick = nullptr,
                *qCopyOriginThick = nullptr;
    CPushButton *qPolyFaceColor0 = nullptr, *qPolyEdgeColor0 = nullptr, *qPolyVertColor0 = nullptr;
    CPushButton *qTriFaceColor0 = nullptr, *qTriEdgeColor0 = nullptr, *qTriVertColor0 = nullptr;
    CPushButton *qRanPolyFaceColor0 = nullptr, *qRanPolyEdgeColor0 = nullptr,
                *qRanPolyVertColor0 = nullptr;
    CPushButton *qRanTriFaceColor0 = nullptr, *qRanTriEdgeColor0 = nullptr,
                *qRanTriVertColor0 = nullptr;
    CPushButton *qRanCircleColor0 = nullptr, *qRanOriginColor0 = nullptr,
                *qRanWindowColor0 = nullptr;
    CPushButton *qPolyFaceColor1 = nullptr, *qPolyEdgeColor1 = nullptr, *qPolyVertColor1 = nullptr;
    CPushButton *qTriFaceColor1 = nullptr, *qTriEdgeColor1 = nullptr, *qTriVertColor1 = nullptr;
    CPushButton *qRanPolyFaceColor1 = nullptr, *qRanPolyEdgeColor1 = nullptr,
                *qRanPolyVertColor1 = nullptr;
    CPushButton *qRanTriFaceColor1 = nullptr, *qRanTriEdgeColor1 = nullptr,
                *qRanTriVertColor1 = nullptr;
    // Integer and real sliders.
    BSlider *sGenV = nullptr, *sGenE = nullptr, *sGenF = nullptr;
    BSlider *sSegments = nullptr, *sGroupOrder = nullptr;
    CSlider *sLengthV = nullptr, *sLengthE = nullptr, *sLengthF = nullptr;
    CSlider *sLengthStep = nullptr, *sTranslateStep = nullptr, *sSpiralAngle = nullptr;
    CSlider *sWindowZoom = nullptr, *sPolyFaceOffset = nullptr, *sPolyEdgeOffset = nullptr;
    CSlider *sPolyVertOffset = nullptr, *sTriFaceOffset = nullptr, *sTriEdgeOffset = nullptr;
    CSlider *sTriVertOffset = nullptr, *sPolyFaceAlpha = nullptr, *sPolyEdgeAlpha = nullptr;
    CSlider *sPolyVertAlpha = nullptr, *sTriFaceAlpha = nullptr, *sTriEdgeAlpha = nullptr;
    CSlider *sTriVertAlpha = nullptr, *sCircleAlpha = nullptr, *sOriginAlpha = nullptr;
    CSlider *sWindowAlpha = nullptr, *sPanelAlpha = nullptr, *sPolyFaceThick = nullptr;
    CSlider *sPolyEdgeThick = nullptr, *sPolyVertThick = nullptr, *sTriFaceThick = nullptr;
    CSlider *sTriEdgeThick = nullptr, *sTriVertThick = nullptr, *sCircleThick = nullptr;
    CSlider *sOriginThick = nullptr, *sBrightness = nullptr;
    // Colour wells and the picker.
    CColorWell *cPolyFaceVColor = nullptr, *cPolyFaceEColor = nullptr, *cPolyFaceFColor = nullptr;
    CColorWell *cPolyEdgeEFColor = nullptr, *cPolyEdgeFVColor = nullptr,
               *cPolyEdgeVEColor = nullptr;
    CColorWell *cPolyVertPosColor = nullptr, *cPolyVertNegColor = nullptr,
               *cTriFacePosColor = nullptr;
    CColorWell *cTriFaceNegColor = nullptr, *cTriEdgeEFColor = nullptr, *cTriEdgeFVColor = nullptr;
    CColorWell *cTriEdgeVEColor = nullptr, *cTriVertVColor = nullptr, *cTriVertEColor = nullptr;
    CColorWell *cTriVertFColor = nullptr, *cCircleColor0 = nullptr, *cOriginColor0 = nullptr;
    CColorWell* cWindowColor0 = nullptr;
    CColorPicker* colorPicker = nullptr;

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

  public:
    // The drawing window takes any size it is given.
    QSize windowWillResize(QSize proposed) const { return proposed; }

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
        const char* name = nullptr;
        std::function<void()> run;
    };
    void buildTab0();
    void buildTabs();  // tabs 1 to 14
    void buildFamilyRows(int tab);
    void buildFamilyColours(int tab);
    void buildIndividualColours();
    Control::Action wire(const NamedAction& action);
    template <class C>
    C* named(C* control, const NamedAction& action);
    CPushButton* button(int tab, const ControlFrame& f, NamedAction a, std::string textA,
                        std::string textB = {});
    CCheckbox* checkbox(int tab, const ControlFrame& f, NamedAction a, bool* setting,
                        std::string text = {});
    CTextField* label(int tab, const ControlFrame& f, std::string text, int fontSize = 10);
    CMenu* menu(int tab, const ControlFrame& f, NamedAction a, int* setting,
                std::vector<std::string> texts);
    BMenu* schemeMenu(int tab, const ControlFrame& f, NamedAction a, int* setting);
    BSlider* intSlider(int tab, const ControlFrame& f, NamedAction a, std::string text,
                       int* setting, int min, int max);
    CSlider* realSlider(int tab, const ControlFrame& f, NamedAction a, std::string text,
                        double* setting, double min, double max);
    CColorWell* well(int tab, const ControlFrame& f, NamedAction a, BColor* color,
                     std::string text);

    // ---- Helpers of the actions (app/actions.cpp).
    void redraw();
    void redrawIf(bool visible);
    void finishLengths();
    void refreshSchemeMenus();
    void refreshFamilySliders(CSlider* App::*FamilyControls::*slider);
    void setEmphasisAndFamilies(int emphasis, int firstFamily, bool value);
    void copyIntoFamilies(double Settings::*FamilyInfo::*field, double value);
    // The picker follows a colour that an action has just replaced.
    void resyncPicker(const BColor* color);

    std::unique_ptr<Model> ownModel_;
    Model* model_;
    bool launched_ = false;
    bool panelHidden_ = false;   // by the Tab key: activating the program does not show it
    bool commitQueued_ = false;  // a release's commit is on its way
    QMetaObject::Connection screenGeometry_;
    std::unordered_map<const Control*, const char*> actionNames_;
};
