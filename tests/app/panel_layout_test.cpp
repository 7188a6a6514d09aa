// Every control of every tab: its kind, place, text, bound setting, range, colour and action,
// in the order the tabs are built.

#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "geometry/settings.h"
#include "panel_support.h"
#include "test_model.h"
#include "widgets/control_model.h"
#include "widgets/controls.h"
#include "widgets/panel_model.h"

namespace {

enum class K { button, checkbox, label, bmenu, cmenu, bslider, cslider, well, picker };

struct Row {
    const char* ref;
    Control* (*get)(const App&);
    int tab;
    K kind;
    ControlFrame frame;
    std::string text;     // the lines or choices, joined by "|"
    const void* setting;  // the bound setting or colour
    double min, max;      // a slider's range, a menu's first and last choice
    const char* action;
};

#define REF(name) #name, [](const App& a) { return a.control(#name); }

std::vector<Row> expectedPanel() {
    // clang-format off
    return {
        {REF(tTitle), 0, K::label, {216, 288, 188, 20}, "Kaleidra", nullptr, 0, 0, nullptr},
        {REF(qOpen), 0, K::button, {168, 264, 92, 20}, "open Kaleidra2D", nullptr, 0, 0, "open"},
        {REF(qSave), 0, K::button, {168, 240, 92, 20}, "save Kaleidra2D", nullptr, 0, 0, "save"},
        {REF(qPrint), 0, K::button, {168, 216, 92, 20}, "print/save pdf", nullptr, 0, 0, "print"},
        {REF(qCopy), 0, K::button, {168, 192, 92, 20}, "copy/paste pdf", nullptr, 0, 0, "copy"},
        {REF(qHide), 0, K::button, {264, 264, 92, 20}, "hide Kaleidra", nullptr, 0, 0, "hide"},
        {REF(qHideOthers), 0, K::button, {264, 240, 92, 20}, "hide others", nullptr, 0, 0, "hideOtherApplications"},
        {REF(qShowAll), 0, K::button, {264, 216, 92, 20}, "show all", nullptr, 0, 0, "unhideAllApplications"},
        {REF(qQuit), 0, K::button, {264, 192, 92, 20}, "quit Kaleidra", nullptr, 0, 0, "stop"},
        {REF(tArtist), 0, K::label, {216, 168, 188, 20}, "the Kaleidra project", nullptr, 0, 0, nullptr},
        {REF(qSendEmail), 0, K::button, {216, 144, 188, 20}, "kaleidra@example.org|tilings@example.org", nullptr, 0, 0, "help"},
        {REF(qRanGen), 1, K::button, {176, 252, 76, 20}, "random|generators", nullptr, 0, 0, "ranGen"},
        {REF(pGeometry), 1, K::cmenu, {256, 252, 76, 48}, "ἔλλειψη|παραβολή|ὑπερβολή", &model.settings.geometry, 0, 2, "setGeometry"},
        {REF(sGenV), 1, K::bslider, {216, 204, 156, 12}, "gen angle v π/", &model.settings.genV, 2, 12, "setGenV"},
        {REF(sGenE), 1, K::bslider, {216, 180, 156, 12}, "gen angle e π/", &model.settings.genE, 2, 12, "setGenE"},
        {REF(sGenF), 1, K::bslider, {216, 156, 156, 12}, "gen angle f π/", &model.settings.genF, 2, 12, "setGenF"},
        {REF(tEqualizeLength), 2, K::label, {216, 276, 156, 20}, "tri·linear co·ordinates", nullptr, 0, 0, nullptr},
        {REF(qRanLength), 2, K::button, {176, 252, 76, 20}, "random|edge lengths", nullptr, 0, 0, "ranLength"},
        {REF(qEqualizeLength), 2, K::button, {256, 252, 76, 20}, "equalize|edge lengths", nullptr, 0, 0, "equalizeLength"},
        {REF(sLengthV), 2, K::cslider, {216, 228, 156, 12}, "length ef ", &model.settings.lengthV, 0, 1, "setLengthV"},
        {REF(sLengthE), 2, K::cslider, {216, 204, 156, 12}, "length fv ", &model.settings.lengthE, 0, 1, "setLengthE"},
        {REF(sLengthF), 2, K::cslider, {216, 180, 156, 12}, "length ve ", &model.settings.lengthF, 0, 1, "setLengthF"},
        {REF(sLengthStep), 2, K::cslider, {216, 156, 156, 12}, "length step ", &model.settings.lengthStep, 0, 0.5, "setLengthStep"},
        {REF(bUniformV), 2, K::checkbox, {124, 228, 12, 12}, "", &model.settings.uniformV, 0, 0, "setUniformV"},
        {REF(bUniformE), 2, K::checkbox, {124, 204, 12, 12}, "", &model.settings.uniformE, 0, 0, "setUniformE"},
        {REF(bUniformF), 2, K::checkbox, {124, 180, 12, 12}, "", &model.settings.uniformF, 0, 0, "setUniformF"},
        {REF(qCenter), 3, K::button, {216, 324, 76, 20}, "re·project|re·center", nullptr, 0, 0, "center"},
        {REF(sSegments), 3, K::bslider, {216, 300, 156, 12}, "line segments ", &model.settings.segments, 1, 100, "setSegments"},
        {REF(sGroupOrder), 3, K::bslider, {216, 276, 156, 12}, "group order ", &model.settings.groupOrder, 0, 2000, "setGroupOrder"},
        {REF(sSpiralAngle), 3, K::cslider, {216, 252, 156, 12}, "spiral angle ", &model.settings.spiralAngle, 1, 10, "setSpiralAngle"},
        {REF(sWindowZoom), 3, K::cslider, {216, 228, 156, 12}, "window zoom ", &model.settings.windowZoom, 1, 20, "setWindowZoom"},
        {REF(pProject3D2D), 3, K::cmenu, {216, 156, 156, 96}, "[x,y,z] → [x,y]|[x,y,z] → [x,y]/z|[x,y,z] → [x,y]/(z+1)|[x,y,z] → [y,z]|[x,y,z] → [y,z]/exp(x)|[x,y,z] → [y,z]*exp(x)", &model.settings.project3D2D, 0, 5, "setProject3D2D"},
        {REF(qRanMatrix), 4, K::button, {176, 300, 76, 20}, "random|matrix", nullptr, 0, 0, "ranMatrix"},
        {REF(qIdentityMatrix), 4, K::button, {256, 300, 76, 20}, "identity|matrix", nullptr, 0, 0, "identityMatrix"},
        {REF(tReflect), 4, K::label, {216, 276, 156, 20}, "reflect @ 1 axis", nullptr, 0, 0, nullptr},
        {REF(qReflectX), 4, K::button, {176, 252, 36, 20}, "x", nullptr, 0, 0, "reflectX"},
        {REF(qReflectY), 4, K::button, {216, 252, 36, 20}, "y", nullptr, 0, 0, "reflectY"},
        {REF(qReflectZ), 4, K::button, {256, 252, 36, 20}, "z", nullptr, 0, 0, "reflectZ"},
        {REF(tTranslate), 4, K::label, {216, 228, 156, 20}, "translate @ 2 axes", nullptr, 0, 0, nullptr},
        {REF(qTranslateYX), 4, K::button, {216, 204, 36, 20}, "yx", nullptr, 0, 0, "translateYX"},
        {REF(qTranslateZX), 4, K::button, {256, 204, 36, 20}, "zx", nullptr, 0, 0, "translateZX"},
        {REF(qTranslateXY), 4, K::button, {176, 180, 36, 20}, "xy", nullptr, 0, 0, "translateXY"},
        {REF(qTranslateZY), 4, K::button, {256, 180, 36, 20}, "zy", nullptr, 0, 0, "translateZY"},
        {REF(qTranslateXZ), 4, K::button, {176, 156, 36, 20}, "xz", nullptr, 0, 0, "translateXZ"},
        {REF(qTranslateYZ), 4, K::button, {216, 156, 36, 20}, "yz", nullptr, 0, 0, "translateYZ"},
        {REF(sTranslateStep), 4, K::cslider, {216, 132, 156, 12}, "translate step π*", &model.settings.translateStep, 0, 0.5, "setTranslateStep"},
        {REF(tMouseMode), 5, K::label, {216, 264, 156, 20}, "(click/drag mouse)", nullptr, 0, 0, nullptr},
        {REF(pMouseMode), 5, K::cmenu, {216, 216, 156, 48}, "set edge lengths|rotate [xy]|translate [xyz]", &model.settings.mouseMode, 0, 2, "setMouseMode"},
        {REF(bMousePoints), 5, K::checkbox, {176, 168, 76, 20}, "points", &model.settings.mousePoints, 0, 0, "setMousePoints"},
        {REF(bMouseColors), 5, K::checkbox, {256, 168, 76, 20}, "colors", &model.settings.mouseColors, 0, 0, "setMouseColors"},
        {REF(pSelfMirrorEmphasis), 6, K::cmenu, {216, 318, 156, 32}, "emphasize self|emphasize mirror", &model.settings.selfMirrorEmphasis, 0, 1, "setSelfMirrorEmphasis"},
        {REF(bSelfDraw), 6, K::checkbox, {176, 288, 76, 20}, "self", &model.settings.selfDraw, 0, 0, "setSelfDraw"},
        {REF(bMirrorDraw), 6, K::checkbox, {256, 288, 76, 20}, "mirror", &model.settings.mirrorDraw, 0, 0, "setMirrorDraw"},
        {REF(pPolyTriEmphasis), 6, K::cmenu, {216, 258, 156, 32}, "emphasize πολύγωνα|emphasize τρίγωνα", &model.settings.polyTriEmphasis, 0, 1, "setPolyTriEmphasis"},
        {REF(bPolyFaceDraw), 6, K::checkbox, {176, 228, 76, 20}, "πολύ face", &model.settings.polyFaceDraw, 0, 0, "setPolyFaceDraw"},
        {REF(bPolyEdgeDraw), 6, K::checkbox, {176, 204, 76, 20}, "πολύ edge", &model.settings.polyEdgeDraw, 0, 0, "setPolyEdgeDraw"},
        {REF(bPolyVertDraw), 6, K::checkbox, {176, 180, 76, 20}, "πολύ vertex", &model.settings.polyVertDraw, 0, 0, "setPolyVertDraw"},
        {REF(bTriFaceDraw), 6, K::checkbox, {256, 228, 76, 20}, "τρί face", &model.settings.triFaceDraw, 0, 0, "setTriFaceDraw"},
        {REF(bTriEdgeDraw), 6, K::checkbox, {256, 204, 76, 20}, "τρί edge", &model.settings.triEdgeDraw, 0, 0, "setTriEdgeDraw"},
        {REF(bTriVertDraw), 6, K::checkbox, {256, 180, 76, 20}, "τρί vertex", &model.settings.triVertDraw, 0, 0, "setTriVertDraw"},
        {REF(bCircleDraw), 6, K::checkbox, {216, 156, 156, 20}, "κύκλος", &model.settings.circleDraw, 0, 0, "setCircleDraw"},
        {REF(bOriginDraw), 6, K::checkbox, {216, 132, 156, 20}, "origin", &model.settings.originDraw, 0, 0, "setOriginDraw"},
        {REF(bWindowDraw), 6, K::checkbox, {216, 108, 156, 20}, "window background", &model.settings.windowDraw, 0, 0, "setWindowDraw"},
        {REF(qShowPoly), 6, K::button, {116, 216, 36, 20}, "show|πολύ", nullptr, 0, 0, "showPoly"},
        {REF(qShowTri), 6, K::button, {316, 192, 36, 20}, "show|τρί", nullptr, 0, 0, "showTri"},
        {REF(qHidePoly), 6, K::button, {116, 192, 36, 20}, "hide|πολύ", nullptr, 0, 0, "hidePoly"},
        {REF(qHideTri), 6, K::button, {316, 216, 36, 20}, "hide|τρί", nullptr, 0, 0, "hideTri"},
        {REF(qRanAllScheme), 7, K::button, {348, 216, 36, 20}, "random|σχήμα", nullptr, 0, 0, "ranAllScheme"},
        {REF(qCopyPolyFaceScheme), 7, K::button, {124, 276, 36, 20}, "πολύ|face", nullptr, 0, 0, "copyPolyFaceScheme"},
        {REF(qCopyPolyEdgeScheme), 7, K::button, {124, 252, 36, 20}, "πολύ|edge", nullptr, 0, 0, "copyPolyEdgeScheme"},
        {REF(qCopyPolyVertScheme), 7, K::button, {124, 228, 36, 20}, "πολύ|vertex", nullptr, 0, 0, "copyPolyVertScheme"},
        {REF(qCopyTriFaceScheme), 7, K::button, {124, 204, 36, 20}, "τρί|face", nullptr, 0, 0, "copyTriFaceScheme"},
        {REF(qCopyTriEdgeScheme), 7, K::button, {124, 180, 36, 20}, "τρί|edge", nullptr, 0, 0, "copyTriEdgeScheme"},
        {REF(qCopyTriVertScheme), 7, K::button, {124, 156, 36, 20}, "τρί|vertex", nullptr, 0, 0, "copyTriVertScheme"},
        {REF(pPolyFaceScheme), 7, K::bmenu, {236, 276, 180, 20}, "", &model.settings.polyFaceScheme, 0, 4, "setPolyFaceScheme"},
        {REF(pPolyEdgeScheme), 7, K::bmenu, {236, 252, 180, 20}, "", &model.settings.polyEdgeScheme, 0, 4, "setPolyEdgeScheme"},
        {REF(pPolyVertScheme), 7, K::bmenu, {236, 228, 180, 20}, "", &model.settings.polyVertScheme, 0, 4, "setPolyVertScheme"},
        {REF(pTriFaceScheme), 7, K::bmenu, {236, 204, 180, 20}, "", &model.settings.triFaceScheme, 0, 4, "setTriFaceScheme"},
        {REF(pTriEdgeScheme), 7, K::bmenu, {236, 180, 180, 20}, "", &model.settings.triEdgeScheme, 0, 4, "setTriEdgeScheme"},
        {REF(pTriVertScheme), 7, K::bmenu, {236, 156, 180, 20}, "", &model.settings.triVertScheme, 0, 4, "setTriVertScheme"},
        {REF(qRanAllOffset), 8, K::button, {336, 216, 36, 20}, "random|offset", nullptr, 0, 0, "ranAllOffset"},
        {REF(qCopyPolyFaceOffset), 8, K::button, {136, 276, 36, 20}, "πολύ|face", nullptr, 0, 0, "copyPolyFaceOffset"},
        {REF(qCopyPolyEdgeOffset), 8, K::button, {136, 252, 36, 20}, "πολύ|edge", nullptr, 0, 0, "copyPolyEdgeOffset"},
        {REF(qCopyPolyVertOffset), 8, K::button, {136, 228, 36, 20}, "πολύ|vertex", nullptr, 0, 0, "copyPolyVertOffset"},
        {REF(qCopyTriFaceOffset), 8, K::button, {136, 204, 36, 20}, "τρί|face", nullptr, 0, 0, "copyTriFaceOffset"},
        {REF(qCopyTriEdgeOffset), 8, K::button, {136, 180, 36, 20}, "τρί|edge", nullptr, 0, 0, "copyTriEdgeOffset"},
        {REF(qCopyTriVertOffset), 8, K::button, {136, 156, 36, 20}, "τρί|vertex", nullptr, 0, 0, "copyTriVertOffset"},
        {REF(sPolyFaceOffset), 8, K::cslider, {236, 276, 156, 12}, "πολύ face offset ", &model.settings.polyFaceOffset, 0, 2, "setPolyFaceOffset"},
        {REF(sPolyEdgeOffset), 8, K::cslider, {236, 252, 156, 12}, "πολύ edge offset ", &model.settings.polyEdgeOffset, 0, 2, "setPolyEdgeOffset"},
        {REF(sPolyVertOffset), 8, K::cslider, {236, 228, 156, 12}, "πολύ vertex offset ", &model.settings.polyVertOffset, 0, 2, "setPolyVertOffset"},
        {REF(sTriFaceOffset), 8, K::cslider, {236, 204, 156, 12}, "τρί face offset ", &model.settings.triFaceOffset, 0, 2, "setTriFaceOffset"},
        {REF(sTriEdgeOffset), 8, K::cslider, {236, 180, 156, 12}, "τρί edge offset ", &model.settings.triEdgeOffset, 0, 2, "setTriEdgeOffset"},
        {REF(sTriVertOffset), 8, K::cslider, {236, 156, 156, 12}, "τρί vertex offset ", &model.settings.triVertOffset, 0, 2, "setTriVertOffset"},
        {REF(qRanAllAlpha), 9, K::button, {336, 216, 36, 20}, "random|άλφα", nullptr, 0, 0, "ranAllAlpha"},
        {REF(qCopyPolyFaceAlpha), 9, K::button, {136, 324, 36, 20}, "πολύ|face", nullptr, 0, 0, "copyPolyFaceAlpha"},
        {REF(qCopyPolyEdgeAlpha), 9, K::button, {136, 300, 36, 20}, "πολύ|edge", nullptr, 0, 0, "copyPolyEdgeAlpha"},
        {REF(qCopyPolyVertAlpha), 9, K::button, {136, 276, 36, 20}, "πολύ|vertex", nullptr, 0, 0, "copyPolyVertAlpha"},
        {REF(qCopyTriFaceAlpha), 9, K::button, {136, 252, 36, 20}, "τρί|face", nullptr, 0, 0, "copyTriFaceAlpha"},
        {REF(qCopyTriEdgeAlpha), 9, K::button, {136, 228, 36, 20}, "τρί|edge", nullptr, 0, 0, "copyTriEdgeAlpha"},
        {REF(qCopyTriVertAlpha), 9, K::button, {136, 204, 36, 20}, "τρί|vertex", nullptr, 0, 0, "copyTriVertAlpha"},
        {REF(qCopyCircleAlpha), 9, K::button, {136, 180, 36, 20}, "κύκλος", nullptr, 0, 0, "copyCircleAlpha"},
        {REF(qCopyOriginAlpha), 9, K::button, {136, 156, 36, 20}, "origin", nullptr, 0, 0, "copyOriginAlpha"},
        {REF(qCopyWindowAlpha), 9, K::button, {136, 132, 36, 20}, "window", nullptr, 0, 0, "copyWindowAlpha"},
        {REF(qCopyPanelAlpha), 9, K::button, {136, 108, 36, 20}, "panel", nullptr, 0, 0, "copyPanelAlpha"},
        {REF(sPolyFaceAlpha), 9, K::cslider, {236, 324, 156, 12}, "πολύ face άλφα ", &model.settings.polyFaceAlpha, 0, 1, "setPolyFaceAlpha"},
        {REF(sPolyEdgeAlpha), 9, K::cslider, {236, 300, 156, 12}, "πολύ edge άλφα ", &model.settings.polyEdgeAlpha, 0, 1, "setPolyEdgeAlpha"},
        {REF(sPolyVertAlpha), 9, K::cslider, {236, 276, 156, 12}, "πολύ vertex άλφα ", &model.settings.polyVertAlpha, 0, 1, "setPolyVertAlpha"},
        {REF(sTriFaceAlpha), 9, K::cslider, {236, 252, 156, 12}, "τρί face άλφα ", &model.settings.triFaceAlpha, 0, 1, "setTriFaceAlpha"},
        {REF(sTriEdgeAlpha), 9, K::cslider, {236, 228, 156, 12}, "τρί edge άλφα ", &model.settings.triEdgeAlpha, 0, 1, "setTriEdgeAlpha"},
        {REF(sTriVertAlpha), 9, K::cslider, {236, 204, 156, 12}, "τρί vertex άλφα ", &model.settings.triVertAlpha, 0, 1, "setTriVertAlpha"},
        {REF(sCircleAlpha), 9, K::cslider, {236, 180, 156, 12}, "κύκλος άλφα ", &model.settings.circleAlpha, 0, 1, "setCircleAlpha"},
        {REF(sOriginAlpha), 9, K::cslider, {236, 156, 156, 12}, "origin άλφα ", &model.settings.originAlpha, 0, 1, "setOriginAlpha"},
        {REF(sWindowAlpha), 9, K::cslider, {236, 132, 156, 12}, "window background άλφα ", &model.settings.windowAlpha, 0, 1, "setWindowAlpha"},
        {REF(sPanelAlpha), 9, K::cslider, {236, 108, 156, 12}, "control panel άλφα ", &model.settings.panelAlpha, 0.05, 1, "setPanelAlpha"},
        {REF(qRanAllThick), 10, K::button, {336, 216, 36, 20}, "random|thick", nullptr, 0, 0, "ranAllThick"},
        {REF(qCopyPolyFaceThick), 10, K::button, {136, 300, 36, 20}, "πολύ|face", nullptr, 0, 0, "copyPolyFaceThick"},
        {REF(qCopyPolyEdgeThick), 10, K::button, {136, 276, 36, 20}, "πολύ|edge", nullptr, 0, 0, "copyPolyEdgeThick"},
        {REF(qCopyPolyVertThick), 10, K::button, {136, 252, 36, 20}, "πολύ|vertex", nullptr, 0, 0, "copyPolyVertThick"},
        {REF(qCopyTriFaceThick), 10, K::button, {136, 228, 36, 20}, "τρί|face", nullptr, 0, 0, "copyTriFaceThick"},
        {REF(qCopyTriEdgeThick), 10, K::button, {136, 204, 36, 20}, "τρί|edge", nullptr, 0, 0, "copyTriEdgeThick"},
        {REF(qCopyTriVertThick), 10, K::button, {136, 180, 36, 20}, "τρί|vertex", nullptr, 0, 0, "copyTriVertThick"},
        {REF(qCopyCircleThick), 10, K::button, {136, 156, 36, 20}, "κύκλος", nullptr, 0, 0, "copyCircleThick"},
        {REF(qCopyOriginThick), 10, K::button, {136, 132, 36, 20}, "origin", nullptr, 0, 0, "copyOriginThick"},
        {REF(sPolyFaceThick), 10, K::cslider, {236, 300, 156, 12}, "πολύ face thick ", &model.settings.polyFaceThick, 0, 1, "setPolyFaceThick"},
        {REF(sPolyEdgeThick), 10, K::cslider, {236, 276, 156, 12}, "πολύ edge thick ", &model.settings.polyEdgeThick, 0, 1, "setPolyEdgeThick"},
        {REF(sPolyVertThick), 10, K::cslider, {236, 252, 156, 12}, "πολύ vertex thick ", &model.settings.polyVertThick, 0, 1, "setPolyVertThick"},
        {REF(sTriFaceThick), 10, K::cslider, {236, 228, 156, 12}, "τρί face thick ", &model.settings.triFaceThick, 0, 1, "setTriFaceThick"},
        {REF(sTriEdgeThick), 10, K::cslider, {236, 204, 156, 12}, "τρί edge thick ", &model.settings.triEdgeThick, 0, 1, "setTriEdgeThick"},
        {REF(sTriVertThick), 10, K::cslider, {236, 180, 156, 12}, "τρί vertex thick ", &model.settings.triVertThick, 0, 1, "setTriVertThick"},
        {REF(sCircleThick), 10, K::cslider, {236, 156, 156, 12}, "κύκλος thick ", &model.settings.circleThick, 0, 1, "setCircleThick"},
        {REF(sOriginThick), 10, K::cslider, {236, 132, 156, 12}, "origin thick ", &model.settings.originThick, 0, 1, "setOriginThick"},
        {REF(qRanPolyFaceColor1), 11, K::button, {240, 288, 140, 20}, "random πολύ face colors", nullptr, 0, 0, "ranPolyFaceColor1"},
        {REF(qPolyFaceColor1), 11, K::button, {156, 288, 20, 20}, "•", nullptr, 0, 0, "setPolyFaceColor1"},
        {REF(bPolyFaceDraw1), 11, K::checkbox, {132, 288, 12, 12}, "", &model.settings.polyFaceDraw, 0, 0, "setPolyFaceDraw1"},
        {REF(bPolyFaceVDraw), 11, K::checkbox, {132, 264, 12, 12}, "", &model.settings.polyFaceVDraw, 0, 0, "setPolyFaceVDraw"},
        {REF(bPolyFaceEDraw), 11, K::checkbox, {180, 264, 12, 12}, "", &model.settings.polyFaceEDraw, 0, 0, "setPolyFaceEDraw"},
        {REF(bPolyFaceFDraw), 11, K::checkbox, {228, 264, 12, 12}, "", &model.settings.polyFaceFDraw, 0, 0, "setPolyFaceFDraw"},
        {REF(cPolyFaceVColor), 11, K::well, {156, 264, 20, 20}, "v", &model.settings.polyFaceVColor, 0, 0, "setPolyFaceVColor"},
        {REF(cPolyFaceEColor), 11, K::well, {204, 264, 20, 20}, "e", &model.settings.polyFaceEColor, 0, 0, "setPolyFaceEColor"},
        {REF(cPolyFaceFColor), 11, K::well, {252, 264, 20, 20}, "f", &model.settings.polyFaceFColor, 0, 0, "setPolyFaceFColor"},
        {REF(qRanPolyEdgeColor1), 11, K::button, {240, 228, 140, 20}, "random πολύ edge colors", nullptr, 0, 0, "ranPolyEdgeColor1"},
        {REF(qPolyEdgeColor1), 11, K::button, {156, 228, 20, 20}, "•", nullptr, 0, 0, "setPolyEdgeColor1"},
        {REF(bPolyEdgeDraw1), 11, K::checkbox, {132, 228, 12, 12}, "", &model.settings.polyEdgeDraw, 0, 0, "setPolyEdgeDraw1"},
        {REF(bPolyEdgeEFDraw), 11, K::checkbox, {132, 204, 12, 12}, "", &model.settings.polyEdgeEFDraw, 0, 0, "setPolyEdgeEFDraw"},
        {REF(bPolyEdgeFVDraw), 11, K::checkbox, {180, 204, 12, 12}, "", &model.settings.polyEdgeFVDraw, 0, 0, "setPolyEdgeFVDraw"},
        {REF(bPolyEdgeVEDraw), 11, K::checkbox, {228, 204, 12, 12}, "", &model.settings.polyEdgeVEDraw, 0, 0, "setPolyEdgeVEDraw"},
        {REF(cPolyEdgeEFColor), 11, K::well, {156, 204, 20, 20}, "ef", &model.settings.polyEdgeEFColor, 0, 0, "setPolyEdgeEFColor"},
        {REF(cPolyEdgeFVColor), 11, K::well, {204, 204, 20, 20}, "fv", &model.settings.polyEdgeFVColor, 0, 0, "setPolyEdgeFVColor"},
        {REF(cPolyEdgeVEColor), 11, K::well, {252, 204, 20, 20}, "ve", &model.settings.polyEdgeVEColor, 0, 0, "setPolyEdgeVEColor"},
        {REF(qRanPolyVertColor1), 11, K::button, {240, 168, 140, 20}, "random πολύ vertex colors", nullptr, 0, 0, "ranPolyVertColor1"},
        {REF(qPolyVertColor1), 11, K::button, {156, 168, 20, 20}, "•", nullptr, 0, 0, "setPolyVertColor1"},
        {REF(bPolyVertDraw1), 11, K::checkbox, {132, 168, 12, 12}, "", &model.settings.polyVertDraw, 0, 0, "setPolyVertDraw1"},
        {REF(bPolyVertPosDraw), 11, K::checkbox, {132, 144, 12, 12}, "", &model.settings.polyVertPosDraw, 0, 0, "setPolyVertPosDraw"},
        {REF(bPolyVertNegDraw), 11, K::checkbox, {180, 144, 12, 12}, "", &model.settings.polyVertNegDraw, 0, 0, "setPolyVertNegDraw"},
        {REF(cPolyVertPosColor), 11, K::well, {156, 144, 20, 20}, "+", &model.settings.polyVertPosColor, 0, 0, "setPolyVertPosColor"},
        {REF(cPolyVertNegColor), 11, K::well, {204, 144, 20, 20}, "–", &model.settings.polyVertNegColor, 0, 0, "setPolyVertNegColor"},
        {REF(qRanTriFaceColor1), 12, K::button, {240, 288, 140, 20}, "random τρί face colors", nullptr, 0, 0, "ranTriFaceColor1"},
        {REF(qTriFaceColor1), 12, K::button, {156, 288, 20, 20}, "•", nullptr, 0, 0, "setTriFaceColor1"},
        {REF(bTriFaceDraw1), 12, K::checkbox, {132, 288, 12, 12}, "", &model.settings.triFaceDraw, 0, 0, "setTriFaceDraw1"},
        {REF(bTriFacePosDraw), 12, K::checkbox, {132, 264, 12, 12}, "", &model.settings.triFacePosDraw, 0, 0, "setTriFacePosDraw"},
        {REF(bTriFaceNegDraw), 12, K::checkbox, {180, 264, 12, 12}, "", &model.settings.triFaceNegDraw, 0, 0, "setTriFaceNegDraw"},
        {REF(cTriFacePosColor), 12, K::well, {156, 264, 20, 20}, "+", &model.settings.triFacePosColor, 0, 0, "setTriFacePosColor"},
        {REF(cTriFaceNegColor), 12, K::well, {204, 264, 20, 20}, "–", &model.settings.triFaceNegColor, 0, 0, "setTriFaceNegColor"},
        {REF(qRanTriEdgeColor1), 12, K::button, {240, 228, 140, 20}, "random τρί edge colors", nullptr, 0, 0, "ranTriEdgeColor1"},
        {REF(qTriEdgeColor1), 12, K::button, {156, 228, 20, 20}, "•", nullptr, 0, 0, "setTriEdgeColor1"},
        {REF(bTriEdgeDraw1), 12, K::checkbox, {132, 228, 12, 12}, "", &model.settings.triEdgeDraw, 0, 0, "setTriEdgeDraw1"},
        {REF(bTriEdgeEFDraw), 12, K::checkbox, {132, 204, 12, 12}, "", &model.settings.triEdgeEFDraw, 0, 0, "setTriEdgeEFDraw"},
        {REF(bTriEdgeFVDraw), 12, K::checkbox, {180, 204, 12, 12}, "", &model.settings.triEdgeFVDraw, 0, 0, "setTriEdgeFVDraw"},
        {REF(bTriEdgeVEDraw), 12, K::checkbox, {228, 204, 12, 12}, "", &model.settings.triEdgeVEDraw, 0, 0, "setTriEdgeVEDraw"},
        {REF(cTriEdgeEFColor), 12, K::well, {156, 204, 20, 20}, "ef", &model.settings.triEdgeEFColor, 0, 0, "setTriEdgeEFColor"},
        {REF(cTriEdgeFVColor), 12, K::well, {204, 204, 20, 20}, "fv", &model.settings.triEdgeFVColor, 0, 0, "setTriEdgeFVColor"},
        {REF(cTriEdgeVEColor), 12, K::well, {252, 204, 20, 20}, "ve", &model.settings.triEdgeVEColor, 0, 0, "setTriEdgeVEColor"},
        {REF(qRanTriVertColor1), 12, K::button, {240, 168, 140, 20}, "random τρί vertex colors", nullptr, 0, 0, "ranTriVertColor1"},
        {REF(qTriVertColor1), 12, K::button, {156, 168, 20, 20}, "•", nullptr, 0, 0, "setTriVertColor1"},
        {REF(bTriVertDraw1), 12, K::checkbox, {132, 168, 12, 12}, "", &model.settings.triVertDraw, 0, 0, "setTriVertDraw1"},
        {REF(bTriVertVDraw), 12, K::checkbox, {132, 144, 12, 12}, "", &model.settings.triVertVDraw, 0, 0, "setTriVertVDraw"},
        {REF(bTriVertEDraw), 12, K::checkbox, {180, 144, 12, 12}, "", &model.settings.triVertEDraw, 0, 0, "setTriVertEDraw"},
        {REF(bTriVertFDraw), 12, K::checkbox, {228, 144, 12, 12}, "", &model.settings.triVertFDraw, 0, 0, "setTriVertFDraw"},
        {REF(cTriVertVColor), 12, K::well, {156, 144, 20, 20}, "v", &model.settings.triVertVColor, 0, 0, "setTriVertVColor"},
        {REF(cTriVertEColor), 12, K::well, {204, 144, 20, 20}, "e", &model.settings.triVertEColor, 0, 0, "setTriVertEColor"},
        {REF(cTriVertFColor), 12, K::well, {252, 144, 20, 20}, "f", &model.settings.triVertFColor, 0, 0, "setTriVertFColor"},
        {REF(qRanPolyFaceColor0), 13, K::button, {240, 312, 140, 20}, "random πολύ face colors", nullptr, 0, 0, "ranPolyFaceColor0"},
        {REF(qRanPolyEdgeColor0), 13, K::button, {240, 288, 140, 20}, "random πολύ edge colors", nullptr, 0, 0, "ranPolyEdgeColor0"},
        {REF(qRanPolyVertColor0), 13, K::button, {240, 264, 140, 20}, "random πολύ vertex colors", nullptr, 0, 0, "ranPolyVertColor0"},
        {REF(qRanTriFaceColor0), 13, K::button, {240, 240, 140, 20}, "random τρί face colors", nullptr, 0, 0, "ranTriFaceColor0"},
        {REF(qRanTriEdgeColor0), 13, K::button, {240, 216, 140, 20}, "random τρί edge colors", nullptr, 0, 0, "ranTriEdgeColor0"},
        {REF(qRanTriVertColor0), 13, K::button, {240, 192, 140, 20}, "random τρί vertex colors", nullptr, 0, 0, "ranTriVertColor0"},
        {REF(qRanCircleColor0), 13, K::button, {240, 168, 140, 20}, "random σφαῖρα color", nullptr, 0, 0, "ranCircleColor0"},
        {REF(qRanOriginColor0), 13, K::button, {240, 144, 140, 20}, "random origin color", nullptr, 0, 0, "ranOriginColor0"},
        {REF(qRanWindowColor0), 13, K::button, {240, 120, 140, 20}, "random window color", nullptr, 0, 0, "ranWindowColor0"},
        {REF(qPolyFaceColor0), 13, K::button, {156, 312, 20, 20}, "•", nullptr, 0, 0, "setPolyFaceColor0"},
        {REF(qPolyEdgeColor0), 13, K::button, {156, 288, 20, 20}, "•", nullptr, 0, 0, "setPolyEdgeColor0"},
        {REF(qPolyVertColor0), 13, K::button, {156, 264, 20, 20}, "•", nullptr, 0, 0, "setPolyVertColor0"},
        {REF(qTriFaceColor0), 13, K::button, {156, 240, 20, 20}, "•", nullptr, 0, 0, "setTriFaceColor0"},
        {REF(qTriEdgeColor0), 13, K::button, {156, 216, 20, 20}, "•", nullptr, 0, 0, "setTriEdgeColor0"},
        {REF(qTriVertColor0), 13, K::button, {156, 192, 20, 20}, "•", nullptr, 0, 0, "setTriVertColor0"},
        {REF(cCircleColor0), 13, K::well, {156, 168, 20, 20}, "O", &model.settings.circleColor, 0, 0, "setCircleColor0"},
        {REF(cOriginColor0), 13, K::well, {156, 144, 20, 20}, "O", &model.settings.originColor, 0, 0, "setOriginColor0"},
        {REF(cWindowColor0), 13, K::well, {156, 120, 20, 20}, "O", &model.settings.windowColor, 0, 0, "setWindowColor0"},
        {REF(bPolyFaceDraw0), 13, K::checkbox, {132, 312, 12, 12}, "", &model.settings.polyFaceDraw, 0, 0, "setPolyFaceDraw0"},
        {REF(bPolyEdgeDraw0), 13, K::checkbox, {132, 288, 12, 12}, "", &model.settings.polyEdgeDraw, 0, 0, "setPolyEdgeDraw0"},
        {REF(bPolyVertDraw0), 13, K::checkbox, {132, 264, 12, 12}, "", &model.settings.polyVertDraw, 0, 0, "setPolyVertDraw0"},
        {REF(bTriFaceDraw0), 13, K::checkbox, {132, 240, 12, 12}, "", &model.settings.triFaceDraw, 0, 0, "setTriFaceDraw0"},
        {REF(bTriEdgeDraw0), 13, K::checkbox, {132, 216, 12, 12}, "", &model.settings.triEdgeDraw, 0, 0, "setTriEdgeDraw0"},
        {REF(bTriVertDraw0), 13, K::checkbox, {132, 192, 12, 12}, "", &model.settings.triVertDraw, 0, 0, "setTriVertDraw0"},
        {REF(bCircleDraw0), 13, K::checkbox, {132, 168, 12, 12}, "", &model.settings.circleDraw, 0, 0, "setCircleDraw0"},
        {REF(bOriginDraw0), 13, K::checkbox, {132, 144, 12, 12}, "", &model.settings.originDraw, 0, 0, "setOriginDraw0"},
        {REF(bWindowDraw0), 13, K::checkbox, {132, 120, 12, 12}, "", &model.settings.windowDraw, 0, 0, "setWindowDraw0"},
        {REF(qUpdateColor), 14, K::button, {216, 336, 156, 20}, "window background color", nullptr, 0, 0, "updateColor"},
        {REF(colorPicker), 14, K::picker, {216, 216, 200, 200}, "", &model.settings.windowColor, 0, 0, "setColorPicker"},
        {REF(sBrightness), 14, K::cslider, {216, 96, 156, 12}, "brightness ", &model.settings.bright, 0, 1, "setBrightness"},
    };
    // clang-format on
}

#undef REF

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += (out.empty() ? "" : "|") + line;
    return out;
}

std::string twoLines(const std::string& a, const std::string& b) {
    return b.empty() ? a : a + "|" + b;
}

// What the control shows and is bound to, in the row's terms.
struct Seen {
    K kind;
    std::string text;
    const void* setting = nullptr;
    double min = 0, max = 0;
};

Seen seen(Control* c) {
    if (auto* q = dynamic_cast<CPushButton*>(c))
        return {K::button, twoLines(q->textA(), q->textB())};
    if (auto* b = dynamic_cast<CCheckbox*>(c)) return {K::checkbox, b->text(), b->setting()};
    if (auto* t = dynamic_cast<CTextField*>(c)) return {K::label, twoLines(t->textA(), t->textB())};
    if (auto* p = dynamic_cast<BMenu*>(c)) return {K::bmenu, "", p->setting(), 0, 4};
    if (auto* p = dynamic_cast<CMenu*>(c))
        return {K::cmenu, joined(p->texts()), p->setting(), 0, double(p->count() - 1)};
    if (auto* s = dynamic_cast<BSlider*>(c))
        return {K::bslider, s->text(), s->setting(), double(s->min()), double(s->max())};
    if (auto* s = dynamic_cast<CSlider*>(c))
        return {K::cslider, s->text(), s->setting(), s->min(), s->max()};
    if (auto* w = dynamic_cast<CColorWell*>(c)) return {K::well, w->text(), w->color()};
    if (auto* p = dynamic_cast<CColorPicker*>(c)) return {K::picker, "", p->color()};
    return {K::label, "?"};
}

using PanelLayout = PanelTest;

TEST_F(PanelLayout, EveryControlOfEveryTabIsWhereItBelongsAndBoundToItsSetting) {
    const std::vector<Row> rows = expectedPanel();
    std::vector<std::vector<Control*>> byTab(15);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ref);
        Control* c = row.get(*app);
        ASSERT_NE(c, nullptr);
        byTab[row.tab].push_back(c);
        EXPECT_EQ(c->parentWidget(), app->tab(row.tab));
        EXPECT_TRUE(c->isVisibleTo(app->tab(row.tab)));

        const ControlFrame& f = c->frame();
        EXPECT_EQ(std::tie(f.x, f.y, f.w, f.h),
                  std::tie(row.frame.x, row.frame.y, row.frame.w, row.frame.h));
        // The frame on the page, whose rows run downwards from its top.
        EXPECT_EQ(c->geometry(), QRect(int(row.frame.x - row.frame.w / 2),
                                       int(432 - row.frame.y - row.frame.h / 2), int(row.frame.w),
                                       int(row.frame.h)));

        const Seen s = seen(c);
        EXPECT_EQ(int(s.kind), int(row.kind));
        EXPECT_EQ(s.text, row.text);
        EXPECT_EQ(s.setting, row.setting);
        EXPECT_EQ(s.min, row.min);
        EXPECT_EQ(s.max, row.max);

        // Tinted with the tab's colour; labels grey; wells and the picker in their colour.
        const BColor* colour = c->color();
        switch (row.kind) {
            case K::label:
                EXPECT_TRUE(*colour == ControlColors::_gray);
                break;
            case K::well:
            case K::picker:
                EXPECT_EQ(static_cast<const void*>(colour), row.setting);
                break;
            default:
                EXPECT_TRUE(*colour == tabTable._c[row.tab]);
                break;
        }

        const char* action = app->actionName(c);
        if (row.action) {
            ASSERT_NE(action, nullptr);
            EXPECT_STREQ(action, row.action);
            EXPECT_TRUE(c->action());
        } else {
            EXPECT_EQ(action, nullptr);
            EXPECT_FALSE(c->action());
        }
    }

    // The pages hold exactly these controls, in the order of creation.
    for (int t = 0; t < 15; ++t) {
        SCOPED_TRACE(testing::Message() << "tab " << t);
        std::vector<Control*> onPage;
        for (QObject* child : app->tab(t)->children())
            if (auto* c = dynamic_cast<Control*>(child)) onPage.push_back(c);
        EXPECT_EQ(onPage, byTab[t]);
        EXPECT_EQ(onPage.size(), app->tab(t)->children().size());
    }
}

TEST_F(PanelLayout, TitleAndCreditUseTheirOwnFontSizes) {
    EXPECT_EQ(app->control<CTextField>("tTitle")->fontSize(), 18);
    EXPECT_EQ(app->control<CTextField>("tArtist")->fontSize(), 14);
    for (CTextField* label :
         {app->control<CTextField>("tEqualizeLength"), app->control<CTextField>("tReflect"),
          app->control<CTextField>("tTranslate"), app->control<CTextField>("tMouseMode")})
        EXPECT_EQ(label->fontSize(), 10);
}

TEST_F(PanelLayout, EachSchemeMenuChangesItsOwnFamilysScheme) {
    BMenu* menus[6] = {
        app->control<BMenu>("pPolyFaceScheme"), app->control<BMenu>("pPolyEdgeScheme"),
        app->control<BMenu>("pPolyVertScheme"), app->control<BMenu>("pTriFaceScheme"),
        app->control<BMenu>("pTriEdgeScheme"),  app->control<BMenu>("pTriVertScheme")};
    int* schemes[6] = {&model.settings.polyFaceScheme, &model.settings.polyEdgeScheme,
                       &model.settings.polyVertScheme, &model.settings.triFaceScheme,
                       &model.settings.triEdgeScheme,  &model.settings.triVertScheme};
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(testing::Message() << "family " << f);
        for (int g = 0; g < 6; ++g) *schemes[g] = 2;
        // The last cell, "rainbow"/"low", then the first, "glitter"/"sparkle".
        click(menus[f], 170, 10);
        for (int g = 0; g < 6; ++g) EXPECT_EQ(*schemes[g], g == f ? 4 : 2) << "scheme " << g;
        click(menus[f], 10, 10);
        EXPECT_EQ(*schemes[f], 0);
    }
}

TEST_F(PanelLayout, EveryCheckBoxTogglesItsOwnSwitchAndNoOther) {
    Settings& s = model.settings;
    const std::vector<bool*> switches = {
        &s.uniformV,        &s.uniformE,       &s.uniformF,       &s.mousePoints,
        &s.mouseColors,     &s.selfDraw,       &s.mirrorDraw,     &s.polyFaceDraw,
        &s.polyEdgeDraw,    &s.polyVertDraw,   &s.triFaceDraw,    &s.triEdgeDraw,
        &s.triVertDraw,     &s.polyFaceVDraw,  &s.polyFaceEDraw,  &s.polyFaceFDraw,
        &s.polyEdgeEFDraw,  &s.polyEdgeFVDraw, &s.polyEdgeVEDraw, &s.polyVertPosDraw,
        &s.polyVertNegDraw, &s.triFacePosDraw, &s.triFaceNegDraw, &s.triEdgeEFDraw,
        &s.triEdgeFVDraw,   &s.triEdgeVEDraw,  &s.triVertVDraw,   &s.triVertEDraw,
        &s.triVertFDraw,    &s.circleDraw,     &s.originDraw,     &s.windowDraw};
    int boxes = 0;
    for (const Row& row : expectedPanel()) {
        if (row.kind != K::checkbox) continue;
        SCOPED_TRACE(row.ref);
        ++boxes;
        std::vector<bool> before;
        for (bool* b : switches) before.push_back(*b);
        clickCentre(row.get(*app));
        for (size_t i = 0; i < switches.size(); ++i)
            EXPECT_EQ(*switches[i], switches[i] == row.setting ? !before[i] : before[i]) << i;
        clickCentre(row.get(*app));
        EXPECT_EQ(*static_cast<const bool*>(row.setting), true);
    }
    EXPECT_EQ(boxes, 47);
}

TEST_F(PanelLayout, SlidersReachBothEndsOfTheirRange) {
    for (const Row& row : expectedPanel()) {
        if (row.kind != K::bslider && row.kind != K::cslider) continue;
        if (row.setting == &model.settings.groupOrder) continue;  // its far end is a slow picture
        SCOPED_TRACE(row.ref);
        Control* c = row.get(*app);
        auto value = [&] {
            return row.kind == K::bslider ? double(*static_cast<const int*>(row.setting))
                                          : *static_cast<const double*>(row.setting);
        };
        click(c, c->frame().w - 1, 6);
        EXPECT_EQ(value(), row.max);
        click(c, 0, 6);
        EXPECT_EQ(value(), row.min);
    }
}

// A family switch has three check boxes (tabs 6, 11 or 12, and 13); the circle, origin and
// window switches two (tabs 6 and 13). Whichever is pressed, all show the same state.
TEST_F(PanelLayout, CheckBoxesOfOneSwitchAlwaysShowOneState) {
    struct Twins {
        const char* name;
        std::vector<CCheckbox*> boxes;
        bool* setting;
    };
    const std::vector<Twins> twins = {
        {"polyEdgeDraw",
         {app->control<CCheckbox>("bPolyEdgeDraw"), app->control<CCheckbox>("bPolyEdgeDraw1"),
          app->control<CCheckbox>("bPolyEdgeDraw0")},
         &model.settings.polyEdgeDraw},
        {"triVertDraw",
         {app->control<CCheckbox>("bTriVertDraw"), app->control<CCheckbox>("bTriVertDraw1"),
          app->control<CCheckbox>("bTriVertDraw0")},
         &model.settings.triVertDraw},
        {"windowDraw",
         {app->control<CCheckbox>("bWindowDraw"), app->control<CCheckbox>("bWindowDraw0")},
         &model.settings.windowDraw},
    };
    const QColor white(255, 255, 255);
    for (const Twins& t : twins) {
        SCOPED_TRACE(t.name);
        for (CCheckbox* pressed : t.boxes) {
            clickCentre(pressed);
            for (CCheckbox* box : t.boxes) {
                const int tab = tabOf(*app, box);
                const BColor& c = tabTable._c[tab];
                // A point inside the pill's left end, clear of any text.
                const ControlFrame& f = box->frame();
                const QColor seen = pixelOnTab(tab, f.x - f.w / 2 + f.h / 2, f.y);
                const QColor off = QColor::fromRgbF(c.r, c.g, c.b);
                EXPECT_EQ(seen.rgb(), (*t.setting ? white : off).rgb())
                    << "tab " << tab << " after pressing the box on tab " << tabOf(*app, pressed);
            }
        }
    }
}

}  // namespace
