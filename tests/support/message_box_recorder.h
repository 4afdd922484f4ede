// Link-time stand-in for the modal message box: records each box instead of blocking on it.
#pragma once

#include <string>
#include <vector>

struct RecordedMessageBox {
    std::string caption;
    std::string text;
};

// Every box shown since the last clear, oldest first.
const std::vector<RecordedMessageBox>& recordedMessageBoxes();
void clearRecordedMessageBoxes();
