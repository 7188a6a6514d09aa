#include <QApplication>

#include "app/app.h"
#include "platform/qt_beep.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kaleidra"));
    installQtBeep();
    App app;
    app.applicationDidFinishLaunching();
    return QApplication::exec();
}
