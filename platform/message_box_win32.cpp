// The modal message box on Windows: MessageBoxW, so the UTF-8 Korean texts show as written.
#include "platform/message_box_system.h"

#include <string>
#include <windows.h>

namespace {

std::wstring widen(const char* utf8) {
    if (!utf8) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

} // namespace

void showSystemMessageBox(MessageBoxKind kind, const char* caption, const char* text) {
    // An error box is owned by the window with the keyboard focus, so it stays in front of the model;
    // the menu's information boxes have no owner.
    HWND owner = kind == MessageBoxKind::error ? GetFocus() : nullptr;
    MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), MB_OK);
}
