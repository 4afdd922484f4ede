// In a browser: GLUT's menu calls. The page draws the menu (web/page/menu.js), the GLUT opens it on the
// button it is attached to (web/glut_web.cpp), and the page passes the chosen entry's value back through
// astrolumeChooseMenuEntry.
#include <GL/freeglut.h>
#include <emscripten.h>

namespace {

using MenuCallback = void (*)(int value);
MenuCallback menuCallback = nullptr; // the program has one menu

// clang-format off
EM_JS(void, addPageMenuEntry, (const char* label, int value), {
    Module.astrolumeMenu.addEntry(UTF8ToString(label), value);
});
// clang-format on

} // namespace

extern "C" {

int glutCreateMenu(void (*callback)(int value)) {
    menuCallback = callback;
    return 1;
}

void glutAddMenuEntry(const char* label, int value) {
    addPageMenuEntry(label, value);
}

// Called by the page; the callback may show a box, so the page calls it as an asynchronous export.
EMSCRIPTEN_KEEPALIVE void astrolumeChooseMenuEntry(int value) {
    if (menuCallback) menuCallback(value);
}

} // extern "C"
