// The modal message box on Windows: MessageBoxW, so the UTF-8 Korean texts show as written.
#include "platform/message_box_system.h"
#include "platform/win32/wide_text_win32.h"

#include <string>
#include <windows.h>

namespace {

std::wstring widen(const char* utf8) {
    std::wstring wide;
    widenUtf8(utf8, 0, &wide);
    return wide;
}

} // namespace

void showSystemMessageBox(MessageBoxKind kind, const char* caption, const char* text) {
    // An error box is owned by the window with the keyboard focus, so it stays in front of the model;
    // the menu's information boxes have no owner.
    HWND owner = kind == MessageBoxKind::error ? GetFocus() : nullptr;
    MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), MB_OK);
}
