#include "canvas/window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

Window::Window(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setWindowTitle(QStringLiteral("Kaleidra"));
}

void Window::setContentView(QWidget* view) {
    content_ = view;
    if (!view) return;
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
}

void Window::fitToScreen(QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    setGeometry(screen->geometry());
}

bool Window::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) emit activated();
    if (event->type() == QEvent::WindowStateChange) {
        // However it comes back (the desktop's task bar, the program's "show all"), a window
        // that leaves the minimised state is restored.
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
            emit restored();
    }
    return QWidget::event(event);
}

void Window::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (content_) content_->setGeometry(rect());
    emit resized();
}
