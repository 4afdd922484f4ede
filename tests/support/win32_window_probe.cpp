// win32_window_probe: what the Windows end-to-end test cannot see from X. Under Wine's virtual desktop
// the program's windows, boxes and menus are not X windows, so this reads them through the same window
// manager the program talks to. Output is UTF-8, one record per line.
//   windows      every visible top-level window, tab-separated: handle, process, class, owner handle
//                (0 for none), owner's process, outer and client rectangles (screen pixels: left top
//                right bottom), title
//   text HANDLE  the message of the message box HANDLE, exactly as it shows it
//   version FILE the version information of the program FILE as Explorer shows it, one "name<TAB>value"
//                line each
//   shortcut LNK what the shortcut LNK starts and the icon it shows, tab-separated: target, working
//                folder, icon file, icon index
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// The static control that holds a message box's text.
constexpr int messageBoxTextId = 0xffff;

std::string utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0], length, nullptr,
                        nullptr);
    return bytes;
}

std::wstring windowText(HWND window) {
    wchar_t text[1024];
    int length = GetWindowTextW(window, text, 1024);
    return std::wstring(text, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring className(HWND window) {
    wchar_t name[256];
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

unsigned long long number(HWND window) {
    return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window));
}

unsigned long processOf(HWND window) {
    DWORD process = 0;
    if (window) GetWindowThreadProcessId(window, &process);
    return process;
}

BOOL CALLBACK printWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) return TRUE;
    RECT outer;
    RECT client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    HWND owner = GetWindow(window, GW_OWNER);
    std::printf("%llu\t%lu\t%s\t%llu\t%lu\t%ld %ld %ld %ld\t%ld %ld %ld %ld\t%s\n", number(window),
                processOf(window), utf8(className(window)).c_str(), number(owner), processOf(owner),
                outer.left, outer.top, outer.right, outer.bottom, client.left, client.top, client.right,
                client.bottom, utf8(windowText(window)).c_str());
    return TRUE;
}

HWND handleFrom(const char* text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 10)));
}

int printBoxText(HWND box) {
    HWND label = GetDlgItem(box, messageBoxTextId);
    if (!label) return 1;
    std::fputs(utf8(windowText(label)).c_str(), stdout);
    return 0;
}

std::wstring wide(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &result[0], length);
    result.resize(result.size() - 1);
    return result;
}

int printVersion(const char* file) {
    std::wstring path = wide(file);
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    std::vector<unsigned char> block(size);
    if (!size || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return 1;
    for (const wchar_t* name : {L"ProductName", L"FileDescription", L"FileVersion", L"ProductVersion",
                                L"CompanyName", L"LegalCopyright", L"OriginalFilename"}) {
        wchar_t* value = nullptr;
        UINT length = 0;
        std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) continue;
        std::printf("%s\t%s\n", utf8(name).c_str(),
                    utf8(std::wstring(value, length ? length - 1 : 0)).c_str());
    }
    return 0;
}

int printShortcut(const char* file) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    IShellLinkW* link = nullptr;
    IPersistFile* persisted = nullptr;
    wchar_t target[MAX_PATH] = L"";
    wchar_t folder[MAX_PATH] = L"";
    wchar_t icon[MAX_PATH] = L"";
    int iconIndex = -1;
    bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted))) &&
                SUCCEEDED(persisted->Load(wide(file).c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
                SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)) &&
                SUCCEEDED(link->GetIconLocation(icon, MAX_PATH, &iconIndex));
    if (read)
        std::printf("%s\t%s\t%s\t%d\n", utf8(target).c_str(), utf8(folder).c_str(), utf8(icon).c_str(),
                    iconIndex);
    if (persisted) persisted->Release();
    if (link) link->Release();
    CoUninitialize();
    return read ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY); // the bytes as written: no carriage returns added
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "windows" && argc == 2) return EnumWindows(printWindow, 0) ? 0 : 1;
    if (command == "text" && argc == 3) return printBoxText(handleFrom(argv[2]));
    if (command == "version" && argc == 3) return printVersion(argv[2]);
    if (command == "shortcut" && argc == 3) return printShortcut(argv[2]);
    std::fputs("usage: win32_window_probe windows | text HANDLE | version FILE | shortcut LNK\n", stderr);
    return 2;
}
