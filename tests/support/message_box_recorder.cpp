// Replaces the real showMessageBox at link time for unit tests, which must never block.
#include "tests/support/message_box_recorder.h"

#include "platform/platform.h"

namespace {
std::vector<RecordedMessageBox>& boxes() {
    static std::vector<RecordedMessageBox> shown;
    return shown;
}
} // namespace

void showMessageBox(const char* caption, const char* text) {
    boxes().push_back({caption ? caption : "", text ? text : ""});
}

const std::vector<RecordedMessageBox>& recordedMessageBoxes() { return boxes(); }

void clearRecordedMessageBoxes() { boxes().clear(); }
