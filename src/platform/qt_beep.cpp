#include "platform/qt_beep.h"

#include <QApplication>

#include "platform/beep.h"

void installQtBeep() {
    setBeepHandler([] { QApplication::beep(); });
}
