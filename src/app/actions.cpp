// The panel's actions. Each runs after its control has stored the new value: it re-enters the
// generation chain at the stage that reads the value, refreshes the controls that show values
// it changed, and redraws the picture only when the change can be seen. "Refresh" repaints one
// control; "redraw" repaints the drawing view at once.
//
// Sections: helpers · generators · lengths · projection · view motions · display · schemes,
// offsets, transparency and thickness · colours · the colour picker.

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>

#include "app/app.h"
#include "app/panel_controls.h"
#include "app/panel_families.h"
#include "canvas/navigation.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "colour/colour.h"
#include "geometry/kernel.h"
#include "geometry/random.h"
#include "geometry/settings.h"
#include "render/chain.h"
#include "tiling/generating_point.h"
#include "widgets/cwindow.h"

namespace {

int signOf(int v) {
    return (v > 0) - (v < 0);
}

void refresh(Control* control) {
    if (control) control->display();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Helpers

void App::redraw() {
    if (view) view->display();
}

void App::redrawIf(bool visible) {
    if (visible) redraw();
}

void App::updateGen() {
    refresh(sGenV);
    refresh(sGenE);
    refresh(sGenF);
}

void App::updateLength() {
    refresh(sLengthV);
    refresh(sLengthE);
    refresh(sLengthF);
}

void App::updateGeometry() {
    updateGeometryLabels();
    refresh(pGeometry);
}

void App::resyncPicker(const BColor* color) {
    if (colorPicker && colorPicker->color() == color) {
        colorPicker->setColor(colorPicker->color());
        refresh(sBrightness);
    }
}

// ---------------------------------------------------------------------------------------------
// Main tab: the program's windows. Hiding minimises the drawing window and hides the panel that
// floats over it; showing brings both back over the whole screen.

void App::hide() {
    wCircle->hide();
    wPoly->showMinimized();
}

void App::hideOtherApplications() {}

void App::unhideAllApplications() {
    wPoly->showNormal();
    wPoly->fitToScreen();
    wPoly->raise();
    wPoly->activateWindow();
    wCircle->show();
    wCircle->raise();
}

void App::stop() {
    QCoreApplication::quit();
}

// ---------------------------------------------------------------------------------------------
// Generators

void App::setGenV() {
    finishGen(settings.gen);
}

void App::setGenE() {
    finishGen(settings.gen);
}

void App::setGenF() {
    finishGen(settings.gen);
}

void App::finishGen(int oldGen) {
    // The chain resets the view and the geometry labels when the sign of gen changes.
    ::finishGen(oldGen);
    if (signOf(settings.gen) != signOf(oldGen)) refresh(pGeometry);
    updateGen();
    redraw();
}

void App::ranGen() {
    chainRanGen();
    updateGen();
    redraw();
}

void App::setGeometry() {
    chainSetGeometry();
    updateGeometry();
    updateGen();
    redraw();
}

// ---------------------------------------------------------------------------------------------
// Edge lengths: only the generating point moves; the group and the modules stay.

void App::finishLengths() {
    updateLength();
    redraw();
}

void App::setLengthV() {
    chainSetLength(0);
    finishLengths();
}

void App::setLengthE() {
    chainSetLength(1);
    finishLengths();
}

void App::setLengthF() {
    chainSetLength(2);
    finishLengths();
}

void App::ranLength() {
    chainRanLength();
    finishLengths();
}

void App::equalizeLength() {
    chainEqualizeLength();
    finishLengths();
}

// At least one kind of edge takes part in equalising: the last one cleared is set again.
void App::setUniformV() {
    if (keepUniform(0)) refresh(bUniformV);
}

void App::setUniformE() {
    if (keepUniform(1)) refresh(bUniformE);
}

void App::setUniformF() {
    if (keepUniform(2)) refresh(bUniformF);
}

// ---------------------------------------------------------------------------------------------
// Projection

void App::center() {
    chainCenter();
    redraw();
}

void App::setSegments() {
    redraw();
}

void App::setGroupOrder() {
    redrawIf(chainSetGroupOrder());
}

void App::setSpiralAngle() {
    redrawIf(chainSetSpiralAngle());
}

void App::setWindowZoom() {
    view->setWindowZoom();
    redraw();
}

void App::setProject3D2D() {
    updateGeometry();
    chainView();
    redraw();
}

// ---------------------------------------------------------------------------------------------
// View motions: each re-sorts the draw lists itself.

void App::identityMatrix() {
    ::identityMatrix();
    redraw();
}

void App::ranMatrix() {
    ::ranMatrix();
    redraw();
}

void App::reflectX() {
    ::reflectX();
    redraw();
}

void App::reflectY() {
    ::reflectY();
    redraw();
}

void App::reflectZ() {
    ::reflectZ();
    redraw();
}

void App::translateXY() {
    ::translateXY(PI * settings.translateStep);
    redraw();
}

void App::translateXZ() {
    ::translateXZ(PI * settings.translateStep);
    redraw();
}

void App::translateYX() {
    ::translateYX(PI * settings.translateStep);
    redraw();
}

void App::translateYZ() {
    ::translateYZ(PI * settings.translateStep);
    redraw();
}

void App::translateZX() {
    ::translateZX(PI * settings.translateStep);
    redraw();
}

void App::translateZY() {
    ::translateZY(PI * settings.translateStep);
    redraw();
}

// ---------------------------------------------------------------------------------------------
// Display

void App::setSelfDraw() {
    redraw();
}

void App::setMirrorDraw() {
    redraw();
}

void App::setSelfMirrorEmphasis() {
    redraw();
}

void App::setPolyTriEmphasis() {
    redraw();
}

// The other two check boxes of the switch read it when their tab is shown.
void App::setFamilyDraw(int family) {
    redrawIf(anyTypeDrawn(family));
}

void App::setCircleDraw() {
    refresh(bCircleDraw0);
    redraw();
}

void App::setOriginDraw() {
    refresh(bOriginDraw0);
    redraw();
}

void App::setWindowDraw() {
    refresh(bWindowDraw0);
    redraw();
}

// The three families of the poly (firstFamily kPolyFace) or tri elements on or off, and which
// of the two lies on top.
void App::setEmphasisAndFamilies(int emphasis, int firstFamily, bool value) {
    settings.polyTriEmphasis = emphasis;
    refresh(pPolyTriEmphasis);
    for (int f = firstFamily; f < firstFamily + 3; ++f) settings.*kPanelFamilies[f].draw = value;
    for (int f = firstFamily; f < firstFamily + 3; ++f) refresh(this->*kFamilyControls[f].bDraw);
    redraw();
}

void App::showPoly() {
    setEmphasisAndFamilies(0, kPolyFace, true);
}

void App::hidePoly() {
    setEmphasisAndFamilies(1, kPolyFace, false);
}

void App::showTri() {
    setEmphasisAndFamilies(1, kTriFace, true);
}

void App::hideTri() {
    setEmphasisAndFamilies(0, kTriFace, false);
}

// ---------------------------------------------------------------------------------------------
// Schemes, offsets, transparency and thickness

void App::refreshSchemeMenus() {
    for (const FamilyControls& c : kFamilyControls) refresh(this->*c.pScheme);
}

void App::ranAllScheme() {
    for (const PanelFamily& f : kPanelFamilies) settings.*f.scheme = static_cast<int>(random() % 5);
    refreshSchemeMenus();
    redraw();
}

void App::copyScheme(int family) {
    const int scheme = settings.*kPanelFamilies[family].scheme;
    for (const PanelFamily& f : kPanelFamilies) settings.*f.scheme = scheme;
    refreshSchemeMenus();
    redraw();
}

void App::setScheme(int family) {
    redrawIf(familyDrawn(family));
}

void App::refreshFamilySliders(CSlider* App::*FamilyControls::*slider) {
    for (const FamilyControls& c : kFamilyControls) refresh(this->*(c.*slider));
}

void App::ranAllOffset() {
    for (const PanelFamily& f : kPanelFamilies) settings.*f.offset = ranDouble();
    setOffsetMatrices();
    refreshFamilySliders(&FamilyControls::sOffset);
    redraw();
}

void App::copyOffset(int family) {
    copyIntoFamilies(&PanelFamily::offset, settings.*kPanelFamilies[family].offset);
}

// Offsets turn the hue of the position colours only (schemes 3 and 4).
void App::setOffset(int family) {
    setOffsetMatrix(family);
    redrawIf(familyDrawn(family) && settings.*kPanelFamilies[family].scheme >= 3);
}

void App::ranAllAlpha() {
    for (const PanelFamily& f : kPanelFamilies) settings.*f.alpha = ranDouble();
    settings.circleAlpha = ranDouble();
    settings.originAlpha = ranDouble();
    refreshFamilySliders(&FamilyControls::sAlpha);
    refresh(sCircleAlpha);
    refresh(sOriginAlpha);
    redraw();
}

// The six family values of one kind (offset, alpha or thickness) become value; a new offset
// also turns the families' colour matrices.
void App::copyIntoFamilies(double Settings::*PanelFamily::*field, double value) {
    for (const PanelFamily& f : kPanelFamilies) settings.*(f.*field) = value;
    if (field == &PanelFamily::offset) {
        setOffsetMatrices();
        refreshFamilySliders(&FamilyControls::sOffset);
    } else if (field == &PanelFamily::alpha) {
        refreshFamilySliders(&FamilyControls::sAlpha);
    } else {
        refreshFamilySliders(&FamilyControls::sThick);
    }
    redraw();
}

void App::copyAlpha(int family) {
    copyIntoFamilies(&PanelFamily::alpha, settings.*kPanelFamilies[family].alpha);
}

void App::setAlpha(int family) {
    redrawIf(familyDrawn(family));
}

void App::setCircleAlpha() {
    redrawIf(settings.circleDraw);
}

void App::setOriginAlpha() {
    redrawIf(settings.originDraw);
}

void App::setWindowAlpha() {
    redrawIf(settings.windowDraw);
}

void App::setPanelAlpha() {
    wCircle->setWindowOpacity(settings.panelAlpha);
}

void App::copyCircleAlpha() {
    copyIntoFamilies(&PanelFamily::alpha, settings.circleAlpha);
}

void App::copyOriginAlpha() {
    copyIntoFamilies(&PanelFamily::alpha, settings.originAlpha);
}

void App::copyWindowAlpha() {
    copyIntoFamilies(&PanelFamily::alpha, settings.windowAlpha);
}

void App::copyPanelAlpha() {
    copyIntoFamilies(&PanelFamily::alpha, settings.panelAlpha);
}

void App::ranAllThick() {
    for (const PanelFamily& f : kPanelFamilies) settings.*f.thick = ranDouble();
    settings.circleThick = ranDouble();
    settings.originThick = ranDouble();
    refreshFamilySliders(&FamilyControls::sThick);
    refresh(sCircleThick);
    refresh(sOriginThick);
    redraw();
}

void App::copyThick(int family) {
    copyIntoFamilies(&PanelFamily::thick, settings.*kPanelFamilies[family].thick);
}

// Faces are filled, never stroked: their thickness does not show.
void App::setThick(int family) {
    if (family == kPolyFace || family == kTriFace) return;
    redrawIf(familyDrawn(family));
}

void App::setCircleThick() {
    redrawIf(settings.circleDraw);
}

void App::setOriginThick() {
    redrawIf(settings.originDraw);
}

void App::copyCircleThick() {
    copyIntoFamilies(&PanelFamily::thick, settings.circleThick);
}

void App::copyOriginThick() {
    copyIntoFamilies(&PanelFamily::thick, settings.originThick);
}

// ---------------------------------------------------------------------------------------------
// Colours

void App::ranTypeColors(int family) {
    const PanelFamily& f = kPanelFamilies[family];
    for (int type = f.firstType; type < f.firstType + f.typeCount; ++type) {
        ranColor(typeColor(type));
        refresh(this->*kTypeControls[type].cColor);
        resyncPicker(typeColor(type));
    }
    redrawIf(familyDrawn(family));
}

void App::setTypeScheme(int family) {
    int& scheme = settings.*kPanelFamilies[family].scheme;
    if (scheme == 2) return;
    scheme = 2;
    refresh(this->*kFamilyControls[family].pScheme);
    redrawIf(familyDrawn(family));
}

void App::setTypeDraw(int type) {
    redrawIf(settings.*kPanelFamilies[familyOfType(type)].draw);
}

void App::ranIndividualColors(int family) {
    switch (family) {
        case kPolyFace:
            ranPolyFaceColor();
            break;
        case kPolyEdge:
            ranPolyEdgeColor();
            break;
        case kPolyVert:
            ranPolyVertColor();
            break;
        case kTriFace:
            ranTriFaceColor();
            break;
        case kTriEdge:
            ranTriEdgeColor();
            break;
        default:
            ranTriVertColor();
            break;
    }
    redrawIf(familyDrawn(family));
}

void App::setIndividualScheme(int family) {
    int& scheme = settings.*kPanelFamilies[family].scheme;
    if (scheme == 1) return;
    scheme = 1;
    refresh(this->*kFamilyControls[family].pScheme);
    redrawIf(familyDrawn(family));
}

// The tab-6 twins read the switch when their tab is shown.
void App::setCircleDraw0() {
    redraw();
}

void App::setOriginDraw0() {
    redraw();
}

void App::setWindowDraw0() {
    redraw();
}

void App::ranCircleColor0() {
    ranColor(&settings.circleColor);
    refresh(cCircleColor0);
    resyncPicker(&settings.circleColor);
    redrawIf(settings.circleDraw);
}

void App::ranOriginColor0() {
    ranColor(&settings.originColor);
    refresh(cOriginColor0);
    resyncPicker(&settings.originColor);
    redrawIf(settings.originDraw);
}

void App::ranWindowColor0() {
    ranColor(&settings.windowColor);
    refresh(cWindowColor0);
    resyncPicker(&settings.windowColor);
    redrawIf(settings.windowDraw);
}

// ---------------------------------------------------------------------------------------------
// The colour picker

void App::editColor(BColor* color, const char* title) {
    colorPicker->setColor(color);
    qUpdateColor->setText(title);
    selectTab(14);
}

// Redraw only when the edited colour is on the picture: a type colour while its family is drawn
// under scheme 2 with the type's switch on, or a single colour while its element is drawn.
void App::setColorPicker() {
    const BColor* c = colorPicker->color();
    bool visible = false;
    for (int f = 0; f < kFamilyCount; ++f) {
        const PanelFamily& family = kPanelFamilies[f];
        if (!(settings.*family.draw) || settings.*family.scheme != 2) continue;
        for (int type = family.firstType; type < family.firstType + family.typeCount; ++type)
            if (settings.*kTypeDraw[type] && typeColor(type) == c) visible = true;
    }
    if (settings.circleDraw && c == &settings.circleColor) visible = true;
    if (settings.originDraw && c == &settings.originColor) visible = true;
    if (settings.windowDraw && c == &settings.windowColor) visible = true;
    redrawIf(visible);
}

void App::setBrightness() {
    colorPicker->setBright(settings.bright);
    refresh(colorPicker);
    setColorPicker();
}

void App::updateColor() {
    const BColor* c = colorPicker->color();
    for (int type = 0; type < kTypeCount; ++type) {
        if (typeColor(type) == c) selectTab(familyOfType(type) < kTriFace ? 11 : 12);
    }
    if (c == &settings.circleColor || c == &settings.originColor || c == &settings.windowColor)
        selectTab(13);
    qUpdateColor->setSelected(false);
}
