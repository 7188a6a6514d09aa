#include "canvas/window.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

namespace {

TEST(Window, BorderlessClearAndFittedToTheScreen) {
    Window window;
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    QWidget* content = new QWidget;
    window.setContentView(content);
    EXPECT_EQ(content->parentWidget(), &window);

    QSignalSpy resized(&window, &Window::resized);
    window.fitToScreen();
    const QRect frame = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.geometry(), frame);
    window.show();
    window.resize(300, 200);
    EXPECT_EQ(content->geometry(), QRect(0, 0, 300, 200));
    EXPECT_GE(resized.count(), 1);
}

}  // namespace
