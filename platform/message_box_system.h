// The box the system draws itself, one implementation per system; everyone else calls showMessageBox.
#pragma once

#include "platform/platform.h"

// Same contract as showMessageBox; `caption` and `text` are never null.
void showSystemMessageBox(MessageBoxKind kind, const char* caption, const char* text);
