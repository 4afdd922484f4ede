// Benchmarks must never block on a dialog: boxes are dropped (listed before the library, so it wins).
#include "platform/platform.h"

void showMessageBox(const char*, const char*) {}
