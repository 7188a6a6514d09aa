#pragma once

// Routes the program's beep to the desktop's (QApplication::beep).
void installQtBeep();
