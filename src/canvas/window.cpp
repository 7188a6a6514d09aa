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
    return QWidget::event(event);
}

void Window::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (content_) content_->setGeometry(rect());
    emit resized();
}
