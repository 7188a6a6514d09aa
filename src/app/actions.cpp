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
#include "canvas/navigation.h"
#include "canvas/view.h"
#include "canvas/window.h"
#include "colour/colour.h"
#include "colour/families.h"
#include "geometry/kernel.h"
#include "geometry/random.h"
#include "geometry/settings.h"
#include "render/chain.h"
#include "render/model.h"
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
    if (view_) view_->display();
}

void App::redrawIf(bool visible) {
    if (visible) redraw();
}

void App::updateGen() {
    refresh(panel_.generators.sGenV);
    refresh(panel_.generators.sGenE);
    refresh(panel_.generators.sGenF);
}

void App::updateLength() {
    refresh(panel_.lengths.sLengthV);
    refresh(panel_.lengths.sLengthE);
    refresh(panel_.lengths.sLengthF);
}

void App::updateGeometry() {
    updateGeometryLabels(model().settings);
    refresh(panel_.generators.pGeometry);
}

void App::resyncPicker(const BColor* color) {
    CColorPicker* picker = panel_.picker.colorPicker;
    if (picker && picker->color() == color) {
        picker->setColor(picker->color());
        refresh(panel_.picker.sBrightness);
    }
}

// ---------------------------------------------------------------------------------------------
// Main tab: the program's windows. Hiding minimises the drawing window and hides the panel that
// floats over it; showing brings both back over the whole screen.

void App::hide() {
    wCircle_->hide();
    wPoly_->showMinimized();
}

void App::unhideAllApplications() {
    wPoly_->showNormal();
    wPoly_->fitToScreen();
    wPoly_->raise();
    wPoly_->activateWindow();
    wCircle_->show();
    wCircle_->raise();
}

void App::stop() {
    QCoreApplication::quit();
}

// ---------------------------------------------------------------------------------------------
// Generators

void App::setGenV() {
    generatorChanged(model().settings.gen);
}

void App::setGenE() {
    generatorChanged(model().settings.gen);
}

void App::setGenF() {
    generatorChanged(model().settings.gen);
}

void App::generatorChanged(int oldGen) {
    // The chain resets the view and the geometry labels when the sign of gen changes.
    finishGen(model(), oldGen);
    if (signOf(model().settings.gen) != signOf(oldGen)) refresh(panel_.generators.pGeometry);
    updateGen();
    redraw();
}

void App::pushRanGen() {
    chainRanGen(model());
    updateGen();
    redraw();
}

void App::setGeometry() {
    chainSetGeometry(model());
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
    chainSetLength(model(), 0);
    finishLengths();
}

void App::setLengthE() {
    chainSetLength(model(), 1);
    finishLengths();
}

void App::setLengthF() {
    chainSetLength(model(), 2);
    finishLengths();
}

void App::pushRanLength() {
    chainRanLength(model());
    finishLengths();
}

void App::pushEqualizeLength() {
    chainEqualizeLength(model());
    finishLengths();
}

// At least one kind of edge takes part in equalising: the last one cleared is set again.
void App::setUniformV() {
    if (keepUniform(model().settings, 0)) refresh(panel_.lengths.bUniformV);
}

void App::setUniformE() {
    if (keepUniform(model().settings, 1)) refresh(panel_.lengths.bUniformE);
}

void App::setUniformF() {
    if (keepUniform(model().settings, 2)) refresh(panel_.lengths.bUniformF);
}

// ---------------------------------------------------------------------------------------------
// Projection

void App::center() {
    chainCenter(model());
    redraw();
}

void App::setSegments() {
    redraw();
}

void App::setGroupOrder() {
    redrawIf(chainSetGroupOrder(model()));
}

void App::setSpiralAngle() {
    redrawIf(chainSetSpiralAngle(model()));
}

void App::windowZoomChanged() {
    view_->updateBounds();
    redraw();
}

void App::setProject3D2D() {
    chainSetProject3D2D(model());
    refresh(panel_.generators.pGeometry);
    redraw();
}

// ---------------------------------------------------------------------------------------------
// View motions: each re-sorts the draw lists itself.

void App::pushIdentityMatrix() {
    identityMatrix(model());
    redraw();
}

void App::pushRanMatrix() {
    ranMatrix(model());
    redraw();
}

void App::pushReflectX() {
    reflectX(model());
    redraw();
}

void App::pushReflectY() {
    reflectY(model());
    redraw();
}

void App::pushReflectZ() {
    reflectZ(model());
    redraw();
}

void App::pushTranslateXY() {
    translateXY(model(), PI * model().settings.translateStep);
    redraw();
}

void App::pushTranslateXZ() {
    translateXZ(model(), PI * model().settings.translateStep);
    redraw();
}

void App::pushTranslateYX() {
    translateYX(model(), PI * model().settings.translateStep);
    redraw();
}

void App::pushTranslateYZ() {
    translateYZ(model(), PI * model().settings.translateStep);
    redraw();
}

void App::pushTranslateZX() {
    translateZX(model(), PI * model().settings.translateStep);
    redraw();
}

void App::pushTranslateZY() {
    translateZY(model(), PI * model().settings.translateStep);
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
    redrawIf(anyTypeDrawn(model().settings, family));
}

void App::setCircleDraw() {
    refresh(panel_.singles[kCircle].bDraw0);
    redraw();
}

void App::setOriginDraw() {
    refresh(panel_.singles[kOrigin].bDraw0);
    redraw();
}

void App::setWindowDraw() {
    refresh(panel_.singles[kWindow].bDraw0);
    redraw();
}

// The three families of the poly (firstFamily kPolyFace) or tri elements on or off, and which
// of the two lies on top.
void App::setEmphasisAndFamilies(int emphasis, int firstFamily, bool value) {
    model().settings.polyTriEmphasis = emphasis;
    refresh(panel_.display.pPolyTriEmphasis);
    for (int f = firstFamily; f < firstFamily + 3; ++f) model().settings.*kFamilies[f].draw = value;
    for (int f = firstFamily; f < firstFamily + 3; ++f) refresh(panel_.families[f].bDraw);
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
    for (const FamilyControls& c : panel_.families) refresh(c.pScheme);
}

void App::ranAllScheme() {
    for (const FamilyInfo& f : kFamilies)
        model().settings.*f.scheme = static_cast<int>(random() % 5);
    refreshSchemeMenus();
    redraw();
}

void App::copyScheme(int family) {
    const int scheme = model().settings.*kFamilies[family].scheme;
    for (const FamilyInfo& f : kFamilies) model().settings.*f.scheme = scheme;
    refreshSchemeMenus();
    redraw();
}

void App::setScheme(int family) {
    redrawIf(familyDrawn(model().settings, family));
}

void App::refreshFamilySliders(CSlider* FamilyControls::*slider) {
    for (const FamilyControls& c : panel_.families) refresh(c.*slider);
}

void App::ranAllOffset() {
    for (const FamilyInfo& f : kFamilies) model().settings.*f.offset = ranDouble();
    setOffsetMatrices(model().colourState, model().settings);
    refreshFamilySliders(&FamilyControls::sOffset);
    redraw();
}

void App::copyOffset(int family) {
    copyIntoFamilies(&FamilyInfo::offset, model().settings.*kFamilies[family].offset);
}

// Offsets turn the hue of the position colours only (schemes 3 and 4).
void App::setOffset(int family) {
    setOffsetMatrix(model().colourState, model().settings, family);
    redrawIf(familyDrawn(model().settings, family) &&
             model().settings.*kFamilies[family].scheme >= 3);
}

void App::ranAllAlpha() {
    for (const FamilyInfo& f : kFamilies) model().settings.*f.alpha = ranDouble();
    model().settings.circleAlpha = ranDouble();
    model().settings.originAlpha = ranDouble();
    refreshFamilySliders(&FamilyControls::sAlpha);
    refresh(panel_.singles[kCircle].sAlpha);
    refresh(panel_.singles[kOrigin].sAlpha);
    redraw();
}

// The six family values of one kind (offset, alpha or thickness) become value; a new offset
// also turns the families' colour matrices.
void App::copyIntoFamilies(double Settings::*FamilyInfo::*field, double value) {
    for (const FamilyInfo& f : kFamilies) model().settings.*(f.*field) = value;
    if (field == &FamilyInfo::offset) {
        setOffsetMatrices(model().colourState, model().settings);
        refreshFamilySliders(&FamilyControls::sOffset);
    } else if (field == &FamilyInfo::alpha) {
        refreshFamilySliders(&FamilyControls::sAlpha);
    } else {
        refreshFamilySliders(&FamilyControls::sThick);
    }
    redraw();
}

void App::copyAlpha(int family) {
    copyIntoFamilies(&FamilyInfo::alpha, model().settings.*kFamilies[family].alpha);
}

void App::setAlpha(int family) {
    redrawIf(familyDrawn(model().settings, family));
}

void App::setCircleAlpha() {
    redrawIf(model().settings.circleDraw);
}

void App::setOriginAlpha() {
    redrawIf(model().settings.originDraw);
}

void App::setWindowAlpha() {
    redrawIf(model().settings.windowDraw);
}

void App::setPanelAlpha() {
    wCircle_->setWindowOpacity(model().settings.panelAlpha);
}

void App::copyCircleAlpha() {
    copyIntoFamilies(&FamilyInfo::alpha, model().settings.circleAlpha);
}

void App::copyOriginAlpha() {
    copyIntoFamilies(&FamilyInfo::alpha, model().settings.originAlpha);
}

void App::copyWindowAlpha() {
    copyIntoFamilies(&FamilyInfo::alpha, model().settings.windowAlpha);
}

void App::copyPanelAlpha() {
    copyIntoFamilies(&FamilyInfo::alpha, model().settings.panelAlpha);
}

void App::ranAllThick() {
    for (const FamilyInfo& f : kFamilies) model().settings.*f.thick = ranDouble();
    model().settings.circleThick = ranDouble();
    model().settings.originThick = ranDouble();
    refreshFamilySliders(&FamilyControls::sThick);
    refresh(panel_.singles[kCircle].sThick);
    refresh(panel_.singles[kOrigin].sThick);
    redraw();
}

void App::copyThick(int family) {
    copyIntoFamilies(&FamilyInfo::thick, model().settings.*kFamilies[family].thick);
}

// Faces are filled, never stroked: their thickness does not show.
void App::setThick(int family) {
    if (family == kPolyFace || family == kTriFace) return;
    redrawIf(familyDrawn(model().settings, family));
}

void App::setCircleThick() {
    redrawIf(model().settings.circleDraw);
}

void App::setOriginThick() {
    redrawIf(model().settings.originDraw);
}

void App::copyCircleThick() {
    copyIntoFamilies(&FamilyInfo::thick, model().settings.circleThick);
}

void App::copyOriginThick() {
    copyIntoFamilies(&FamilyInfo::thick, model().settings.originThick);
}

// ---------------------------------------------------------------------------------------------
// Colours

void App::ranTypeColors(int family) {
    const FamilyInfo& f = kFamilies[family];
    for (int type = f.firstType; type < f.firstType + f.typeCount; ++type) {
        ranColor(typeColor(model().settings, type));
        refresh(panel_.types[type].cColor);
        resyncPicker(typeColor(model().settings, type));
    }
    redrawIf(familyDrawn(model().settings, family));
}

void App::setTypeScheme(int family) {
    int& scheme = model().settings.*kFamilies[family].scheme;
    if (scheme == 2) return;
    scheme = 2;
    refresh(panel_.families[family].pScheme);
    redrawIf(familyDrawn(model().settings, family));
}

void App::setTypeDraw(int type) {
    redrawIf(model().settings.*kFamilies[familyOfType(type)].draw);
}

void App::ranIndividualColors(int family) {
    switch (family) {
        case kPolyFace:
            ranPolyFaceColor(model().groupTables);
            break;
        case kPolyEdge:
            ranPolyEdgeColor(model().groupTables);
            break;
        case kPolyVert:
            ranPolyVertColor(model().groupTables);
            break;
        case kTriFace:
            ranTriFaceColor(model().groupTables);
            break;
        case kTriEdge:
            ranTriEdgeColor(model().groupTables);
            break;
        default:
            ranTriVertColor(model().groupTables);
            break;
    }
    redrawIf(familyDrawn(model().settings, family));
}

void App::setIndividualScheme(int family) {
    int& scheme = model().settings.*kFamilies[family].scheme;
    if (scheme == 1) return;
    scheme = 1;
    refresh(panel_.families[family].pScheme);
    redrawIf(familyDrawn(model().settings, family));
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
    ranColor(&model().settings.circleColor);
    refresh(panel_.singles[kCircle].cColor0);
    resyncPicker(&model().settings.circleColor);
    redrawIf(model().settings.circleDraw);
}

void App::ranOriginColor0() {
    ranColor(&model().settings.originColor);
    refresh(panel_.singles[kOrigin].cColor0);
    resyncPicker(&model().settings.originColor);
    redrawIf(model().settings.originDraw);
}

void App::ranWindowColor0() {
    ranColor(&model().settings.windowColor);
    refresh(panel_.singles[kWindow].cColor0);
    resyncPicker(&model().settings.windowColor);
    redrawIf(model().settings.windowDraw);
}

// ---------------------------------------------------------------------------------------------
// The colour picker

void App::editColor(BColor* color, const char* title) {
    panel_.picker.colorPicker->setColor(color);
    panel_.picker.qUpdateColor->setText(title);
    selectTab(14);
}

// Redraw only when the edited colour is on the picture: a type colour while its family is drawn
// under scheme 2 with the type's switch on, or a single colour while its element is drawn.
void App::setColorPicker() {
    const BColor* c = panel_.picker.colorPicker->color();
    bool visible = false;
    for (int f = 0; f < kFamilyCount; ++f) {
        const FamilyInfo& family = kFamilies[f];
        if (!(model().settings.*family.draw) || model().settings.*family.scheme != 2) continue;
        for (int type = family.firstType; type < family.firstType + family.typeCount; ++type)
            if (model().settings.*kTypes[type].draw && typeColor(model().settings, type) == c)
                visible = true;
    }
    if (model().settings.circleDraw && c == &model().settings.circleColor) visible = true;
    if (model().settings.originDraw && c == &model().settings.originColor) visible = true;
    if (model().settings.windowDraw && c == &model().settings.windowColor) visible = true;
    redrawIf(visible);
}

void App::setBrightness() {
    panel_.picker.colorPicker->setBright(model().settings.bright);
    refresh(panel_.picker.colorPicker);
    setColorPicker();
}

void App::updateColor() {
    const BColor* c = panel_.picker.colorPicker->color();
    for (int type = 0; type < kTypeCount; ++type) {
        if (typeColor(model().settings, type) == c)
            selectTab(familyOfType(type) < kTriFace ? 11 : 12);
    }
    if (c == &model().settings.circleColor || c == &model().settings.originColor ||
        c == &model().settings.windowColor)
        selectTab(13);
    panel_.picker.qUpdateColor->setSelected(false);
}
