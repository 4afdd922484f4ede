// showMessageBox: the box of this system (GTK on Linux, Win32 on Windows, the page's dialog in a
// browser), unless a handler has been set in its place.
#include "platform/message_box_system.h"
#include "platform/platform.h"

namespace {
MessageBoxHandler installedHandler = nullptr;
} // namespace

void setMessageBoxHandler(MessageBoxHandler handler) {
    installedHandler = handler;
}

void showMessageBox(MessageBoxKind kind, const char* caption, const char* text) {
    if (installedHandler) {
        installedHandler(kind, caption ? caption : "", text ? text : "");
        return;
    }
    showSystemMessageBox(kind, caption ? caption : "", text ? text : "");
}
