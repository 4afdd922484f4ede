#include "tests/support/message_box_recorder.h"

namespace {

std::vector<RecordedMessageBox>& boxes() {
    static std::vector<RecordedMessageBox> shown;
    return shown;
}

void recordBox(MessageBoxKind kind, const char* caption, const char* text) {
    boxes().push_back({caption, text, kind});
}

} // namespace

void recordMessageBoxes() {
    setMessageBoxHandler(recordBox);
}

const std::vector<RecordedMessageBox>& recordedMessageBoxes() {
    return boxes();
}

void clearRecordedMessageBoxes() {
    boxes().clear();
}
