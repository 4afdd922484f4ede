// Unit tests record message boxes instead of showing them (through setMessageBoxHandler), so no test
// ever waits for a click. Every unit test starts recording before its first test runs.
#pragma once

#include "platform/platform.h"

#include <string>
#include <vector>

struct RecordedMessageBox {
    std::string caption;
    std::string text;
    MessageBoxKind kind;
};

// Sends every later box to the record instead of the screen.
void recordMessageBoxes();

// Every box shown since the last clear, oldest first.
const std::vector<RecordedMessageBox>& recordedMessageBoxes();
void clearRecordedMessageBoxes();
