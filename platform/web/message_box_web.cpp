// In a browser: the box is a modal dialog of the page (web/page/message_box.js). The program waits
// for its OK as it waits for the desktop's box: Asyncify suspends the calling callback and resumes it
// once the promise the dialog returns is settled.
#include "platform/message_box_system.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_ASYNC_JS(void, showPageMessageBox, (int isError, const char* caption, const char* text), {
    await Module.astrolumeShowMessageBox(isError !== 0, UTF8ToString(caption), UTF8ToString(text));
});
// clang-format on

} // namespace

void showSystemMessageBox(MessageBoxKind kind, const char* caption, const char* text) {
    showPageMessageBox(kind == MessageBoxKind::error, caption, text);
}
