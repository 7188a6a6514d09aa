#include "widgets/cwindow.h"

#include "geometry/kernel.h"
#include "geometry/random.h"

CWindow::CWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(false);
    setFixedSize(kSize, kSize);
    setWindowTitle(QStringLiteral("Kaleidra"));
}

void CWindow::setContentView(QWidget* view) {
    content_ = view;
    if (!view) return;
    view->setParent(this);
    view->setGeometry(0, 0, kSize, kSize);
    view->show();
}

CView::CView(QWidget* parent) : QWidget(parent) {
    setFixedSize(CWindow::kSize, CWindow::kSize);
    angle_ = 2 * PI * ranDouble();
}
