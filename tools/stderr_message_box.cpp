// Message boxes for command-line tools: the text goes to stderr, nothing waits for a click.
#include "platform/platform.h"

#include <cstdio>
#include <cstring>

void showMessageBox(const char*, const char* text) {
    std::fputs(text, stderr);
    size_t length = std::strlen(text);
    if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}
