#pragma once

// The system beep: the one way failures are reported (a refused document, an unwritable file,
// a mouse point with no preimage). The toolkit installs the real sound; until then, and in
// tests, a beep only counts.
using BeepHandler = void (*)();

void beep();
void setBeepHandler(BeepHandler handler);
int beepCount();  // beeps since start, whatever the handler
