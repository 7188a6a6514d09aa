#include <QApplication>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/command_line.h"
#include "platform/qt_beep.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails (and the file is given up whole) instead of the
    // signal ending the program with a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const CommandLine command = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.mode) {
        case CommandLine::Mode::help:
            std::fputs(kUsage, stdout);
            return 0;
        case CommandLine::Mode::version:
            std::printf("kaleidra %s\n", KALEIDRA_VERSION);
            return 0;
        case CommandLine::Mode::error:
            std::fprintf(stderr, "kaleidra: %s\n", command.error.c_str());
            return 2;
        case CommandLine::Mode::exportPicture: {
            // No window is opened: paint offscreen whether or not there is a display.
            if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
            QGuiApplication application(argc, argv);
            return runExport(command);
        }
        case CommandLine::Mode::describe:
            return runDescribe(command);
        case CommandLine::Mode::run:
            break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kaleidra"));
    // Lets the desktop match the windows to the installed entry (the app id under Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kaleidra.Kaleidra"));
    installQtBeep();
    App app;
    app.applicationDidFinishLaunching();
    std::string why;
    if (!command.document.empty()) {
        if (!app.openFile(command.document, &why)) {
            std::fprintf(stderr, "kaleidra: cannot open %s: %s\n", command.document.c_str(),
                         why.c_str());
        } else {
            // The document named at launch is the first picture shown: undo does not go behind it.
            app.startHistory();
        }
    }
    return QApplication::exec();
}
