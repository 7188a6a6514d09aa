#include "platform/beep.h"

namespace {
BeepHandler handler = nullptr;
int count = 0;
}  // namespace

void beep() {
    ++count;
    if (handler) handler();
}

void setBeepHandler(BeepHandler h) { handler = h; }

int beepCount() { return count; }
