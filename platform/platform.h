// Operating-system and browser services: read-only file mapping, paths, pixel memory and the modal
// message box. One folder per system (platform/sources.cmake lists each): posix/ and gtk/ on Linux,
// win32/ on Windows, posix/ and web/ in a browser.
#pragma once

#include <cstddef>
#include <string>

// A whole file mapped read-only. `data` is null when nothing is mapped. The mapping keeps the file
// readable on its own, so no file handle is held.
struct MappedFile {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

// Maps all of `path` for reading. Fails (returns false, holds nothing) when the file cannot be
// opened or mapped; an empty file cannot be mapped.
bool mapFileReadOnly(const char* path, MappedFile* file);

// Releases the mapping, if there is one.
void unmapFile(MappedFile* file);

// Calls read(context), which reads [bytes, bytes + size), perhaps a mapped file. Should the file
// shrink (or its network share fail) meanwhile, a read of that range that the system can no longer
// answer abandons the call where it stands and false is returned; otherwise true. Whatever `read`
// allocates must therefore be reachable from `context`, and nothing it declares may need releasing.
bool readMappedBytes(const unsigned char* bytes, size_t size, void (*read)(void* context), void* context);

// Whether loading `path` should be tried, found without waiting: false only when nothing is there.
// Anything else is worth the loader's box that names the path: a file that opens, one the user may
// not read, a symbolic link loop, or something that is not a regular file (a named pipe, a socket, a
// device, a folder), which mapFileReadOnly then refuses without waiting either.
bool isWorthLoading(const char* path);

// What is at the path of a folder the program reads from.
enum class FolderState : unsigned char {
    absent,   // nothing: its files are all missing, which is no error
    usable,   // a folder whose entries can be reached
    unusable, // a file, a folder the user may not enter, a loop: none of its files can be read
};
FolderState folderState(const char* path);

// `path`, written with '/', as this system writes it, since an "Error" box may show it:
// "image\earth.bmp" on Windows.
std::string systemPath(const char* path);

// Memory for a large pixel array, from malloc (freed with free), with whatever hint makes the
// system fill it fastest. Null when it cannot be had.
unsigned char* allocatePixelArray(size_t bytes);

// What a box tells the user. On Windows an error box is owned by the window with the keyboard
// focus, so it stays in front of the model; an information box has no owner.
enum class MessageBoxKind : unsigned char { information, error };

// Shows a modal box with `caption` as its title, `text` (UTF-8, lines split by '\n') as its message and
// one OK button; returns once the user dismisses it. Where no box can be shown (Linux without a GTK
// that starts) it writes the title, then the text, to stderr and returns at once.
void showMessageBox(MessageBoxKind kind, const char* caption, const char* text);

// Sends every later box to `handler` instead of the screen (null shows them again): unit tests record
// boxes and benchmarks drop them, so neither ever waits for a click.
using MessageBoxHandler = void (*)(MessageBoxKind kind, const char* caption, const char* text);
void setMessageBoxHandler(MessageBoxHandler handler);
