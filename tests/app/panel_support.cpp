#include "panel_support.h"

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <cmath>

#include "canvas/view.h"
#include "canvas/window.h"
#include "test_model.h"
#include "widgets/cwindow.h"

void PanelTest::SetUp() {
    model.settings = Settings{};
    app = std::make_unique<App>(model, 21);
    app->applicationDidFinishLaunching(22);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->wPoly()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->wCircle()));
    paints = std::make_unique<PaintCounter>(app->view());
}

void PanelTest::startCounting() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    paints->count = 0;
}

int tabOf(const App& app, const Control* control) {
    for (int i = 0; i < 15; ++i)
        if (control->parentWidget() == app.tab(i)) return i;
    return -1;
}

void PanelTest::drag(Control* control, double y, std::initializer_list<double> xs) {
    ASSERT_NE(control, nullptr);
    app->selectTab(tabOf(*app, control));
    QWindow* w = app->wCircle()->windowHandle();
    auto at = [&](double x) {
        return control->mapTo(app->wCircle(), QPoint(0, 0)) +
               QPoint(int(std::lround(x)), int(std::lround(control->frame().h - y)));
    };
    QTest::mousePress(w, Qt::LeftButton, {}, at(*xs.begin()));
    for (const double* x = xs.begin() + 1; x != xs.end(); ++x) QTest::mouseMove(w, at(*x));
    QTest::mouseRelease(w, Qt::LeftButton, {}, at(*(xs.end() - 1)));
}

void PanelTest::clickCentre(Control* control) {
    click(control, control->frame().w / 2, control->frame().h / 2);
}

QColor PanelTest::pixelOnTab(int tab, double x, double y) {
    app->selectTab(tab);
    const QImage image = app->wCircle()->grab().toImage();
    const double scale = image.width() / 432.0;
    return image.pixelColor(int(x * scale), int((432 - y) * scale));
}

void PanelTest::makePicture(int genV, int genE, int genF, int groupOrder) {
    model.settings.genV = genV;
    model.settings.genE = genE;
    model.settings.genF = genF;
    model.settings.groupOrder = groupOrder;
    app->setGenF();
}

std::unique_ptr<QTimer> whenDialogOpens(std::function<void(QWidget*)> handle) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QTimer* t = timer.get();
    QObject::connect(t, &QTimer::timeout, [t, handle] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            t->stop();
            handle(dialog);
        }
    });
    timer->start();
    return timer;
}
