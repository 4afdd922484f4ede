// In a browser: the GLUT calls the program makes, written over Emscripten's documented interface
// (html5.h for input, EGL for the WebGL context, EM_JS for the page's hooks), in place of Emscripten's
// own GLUT. Like freeglut on the desktop it hears only the program's window, here the model's canvas:
// a press on the model, its release and the moves while that button is down (wherever the pointer
// goes), and keys while the model or nothing has the focus. A press on the page's controls, footer or
// margins never reaches the program. web/contract.md lists what crosses between it and the page.
#include <EGL/egl.h>
#include <GL/freeglut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* modelCanvas = "#model"; // the page's canvas, Module.canvas
constexpr int buttonCount = 3;                // GLUT's left, middle and right

struct Callbacks {
    void (*display)() = nullptr;
    void (*reshape)(int width, int height) = nullptr;
    void (*mouse)(int button, int state, int x, int y) = nullptr;
    void (*motion)(int x, int y) = nullptr;
    void (*keyboard)(unsigned char key, int x, int y) = nullptr;
    void (*idle)() = nullptr;
};
Callbacks callbacks;

struct Window {
    int width = 300; // GLUT's default size, in the canvas's pixels
    int height = 300;
    unsigned int displayMode = GLUT_RGB | GLUT_SINGLE;
    unsigned int buttonsDown = 0; // one bit per button pressed on the model and not yet released
    int pointerX = 0;             // where the pointer last was, in CSS pixels from the model's corner
    int pointerY = 0;
    int menuButton = -1; // the button glutAttachMenu gave the page's menu
};
Window window;

// clang-format off
// The frame and the animation's ticks run from the browser's own timers, and ask the page first: while
// it holds the model (a box, the menu, the licences, the ended page) the program is not called at all,
// since a box's callback waits suspended (Asyncify) and must not be entered again. What was asked for
// meanwhile runs once the page lets go (Module.astrolumeResume).
EM_JS(void, installPageTimers, (), {
    const held = () => Boolean(Module.astrolumeHeld && Module.astrolumeHeld());
    const timers = {frameRequested: false, frameWanted: false, idleOn: false, idleTimer: 0};
    timers.requestFrame = () => {
        if (timers.frameRequested) return;
        timers.frameRequested = true;
        requestAnimationFrame(() => {
            timers.frameRequested = false;
            if (held()) timers.frameWanted = true;
            else Module._astrolumeGlutDisplay();
        });
    };
    // The browser waits at least 4 ms between chained timers anyway.
    timers.scheduleIdle = (delay) => {
        if (timers.idleTimer || !timers.idleOn || held()) return;
        timers.idleTimer = setTimeout(() => {
            timers.idleTimer = 0;
            if (!timers.idleOn || held()) return;
            Module._astrolumeGlutIdle();
            timers.scheduleIdle(4);
        }, delay);
    };
    Module.astrolumeTimers = timers;
    Module.astrolumeResume = () => {
        if (timers.frameWanted) {
            timers.frameWanted = false;
            timers.requestFrame();
        }
        timers.scheduleIdle(0);
    };
});
EM_JS(void, requestPageFrame, (), { Module.astrolumeTimers.requestFrame(); });
EM_JS(void, setPageIdle, (int on), {
    Module.astrolumeTimers.idleOn = on !== 0;
    if (on) Module.astrolumeTimers.scheduleIdle(0);
});
EM_JS(void, tellPageFrameDrawn, (), { if (Module.astrolumeFrameDrawn) Module.astrolumeFrameDrawn(); });
EM_JS(void, tellPageCannotRun, (const char* what), {
    if (Module.astrolumeCannotRun) Module.astrolumeCannotRun(UTF8ToString(what));
});
EM_JS(void, tellPageEnded, (int status), {
    Module.astrolumeTimers.idleOn = false;
    if (Module.astrolumeExit) Module.astrolumeExit(status);
});
EM_JS(void, openPageMenu, (double clientX, double clientY, int button), {
    Module.astrolumeMenu.openAt(clientX, clientY, button);
});
// The pointer relative to the model's top left corner, in CSS pixels (whole ones, as GLUT's).
EM_JS(int, modelX, (double clientX), { return Math.trunc(clientX - Module.canvas.getBoundingClientRect().left); });
EM_JS(int, modelY, (double clientY), { return Math.trunc(clientY - Module.canvas.getBoundingClientRect().top); });
// Keys belong to the model while it, or nothing in particular, has the focus; a focused control of the
// page keeps its own (Space and Enter press it).
EM_JS(int, modelHasKeys, (), {
    const focused = document.activeElement;
    return !focused || focused === document.body || focused === Module.canvas;
});
// clang-format on

void notePointer(const EmscriptenMouseEvent* event) {
    window.pointerX = modelX(static_cast<double>(event->clientX));
    window.pointerY = modelY(static_cast<double>(event->clientY));
}

unsigned int buttonBit(unsigned short button) {
    return button < buttonCount ? 1u << button : 0u;
}

EM_BOOL onModelMouseDown(int, const EmscriptenMouseEvent* event, void*) {
    if (event->button == window.menuButton) {
        // The menu's button opens the page's menu; neither its press nor its release is the program's.
        openPageMenu(static_cast<double>(event->clientX), static_cast<double>(event->clientY), event->button);
        return EM_TRUE;
    }
    const unsigned int bit = buttonBit(event->button);
    if (bit == 0 || (window.buttonsDown & bit) != 0) return EM_FALSE;
    window.buttonsDown |= bit;
    notePointer(event);
    if (callbacks.mouse) callbacks.mouse(event->button, GLUT_DOWN, window.pointerX, window.pointerY);
    return EM_FALSE; // the press still gives the model the focus, as a click does
}

EM_BOOL onDocumentMouseUp(int, const EmscriptenMouseEvent* event, void*) {
    const unsigned int bit = buttonBit(event->button);
    if ((window.buttonsDown & bit) == 0) return EM_FALSE; // a press that began elsewhere is the page's
    window.buttonsDown &= ~bit;
    notePointer(event);
    if (callbacks.mouse) callbacks.mouse(event->button, GLUT_UP, window.pointerX, window.pointerY);
    return EM_TRUE;
}

// freeglut passes the pointer's new position, and nothing for a move that stays on the same pixel.
EM_BOOL onDocumentMouseMove(int, const EmscriptenMouseEvent* event, void*) {
    if (window.buttonsDown == 0) return EM_FALSE;
    const int lastX = window.pointerX;
    const int lastY = window.pointerY;
    notePointer(event);
    if (window.pointerX == lastX && window.pointerY == lastY) return EM_FALSE;
    if (callbacks.motion) callbacks.motion(window.pointerX, window.pointerY);
    return EM_TRUE;
}

// A window that loses the focus mid-drag never hears the release: it is given as the last position's.
EM_BOOL onWindowBlur(int, const EmscriptenFocusEvent*, void*) {
    for (int button = 0; button < buttonCount; ++button) {
        const unsigned int bit = 1u << button;
        if ((window.buttonsDown & bit) == 0) continue;
        window.buttonsDown &= ~bit;
        if (callbacks.mouse) callbacks.mouse(button, GLUT_UP, window.pointerX, window.pointerY);
    }
    return EM_FALSE;
}

// GLUT's keyboard callback takes characters: a printable key as typed, and the few named keys that are
// characters too. Keys held with Ctrl, Alt or Meta stay the browser's shortcuts.
int glutCharacter(const EmscriptenKeyboardEvent* event) {
    if (event->ctrlKey || event->altKey || event->metaKey) return -1;
    const char* key = event->key;
    if (key[0] != '\0' && key[1] == '\0' && key[0] >= ' ' && key[0] <= '~') return key[0];
    if (std::strcmp(key, "Escape") == 0) return 27;
    if (std::strcmp(key, "Enter") == 0) return 13;
    if (std::strcmp(key, "Backspace") == 0) return 8;
    if (std::strcmp(key, "Delete") == 0) return 127;
    return -1;
}

EM_BOOL onDocumentKeyDown(int, const EmscriptenKeyboardEvent* event, void*) {
    const int character = glutCharacter(event);
    if (character < 0 || !callbacks.keyboard || !modelHasKeys()) return EM_FALSE;
    callbacks.keyboard(static_cast<unsigned char>(character), window.pointerX, window.pointerY);
    return EM_TRUE; // Space would scroll, Backspace go back
}

bool createContext() {
    const EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return false;
    const EGLint depthSize = (window.displayMode & GLUT_DEPTH) != 0 ? 24 : 0;
    const EGLint configAttributes[] = {EGL_RED_SIZE,   8,         EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                       EGL_DEPTH_SIZE, depthSize, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configs) || configs < 1) return false;
    const EGLSurface surface = eglCreateWindowSurface(display, config, 0, nullptr);
    const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    return surface != EGL_NO_SURFACE && context != EGL_NO_CONTEXT &&
           eglMakeCurrent(display, surface, surface, context);
}

void listenToTheModel() {
    emscripten_set_mousedown_callback(modelCanvas, nullptr, EM_FALSE, onModelMouseDown);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, onDocumentMouseUp);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                      onDocumentMouseMove);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, onDocumentKeyDown);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onWindowBlur);
}

// The canvas's drawing buffer in pixels; its size on the page is the page's (CSS).
void resizeWindow(int width, int height) {
    window.width = width > 0 ? width : 1;
    window.height = height > 0 ? height : 1;
    emscripten_set_canvas_element_size(modelCanvas, window.width, window.height);
    if (callbacks.reshape) callbacks.reshape(window.width, window.height);
}

} // namespace

extern "C" {

void glutInit(int*, char**) {
    installPageTimers();
}

void glutInitDisplayMode(unsigned int mode) {
    window.displayMode = mode;
}

void glutInitWindowSize(int width, int height) {
    window.width = width;
    window.height = height;
}

void glutInitWindowPosition(int, int) {} // the page places the model

int glutCreateWindow(const char*) {
    emscripten_set_canvas_element_size(modelCanvas, window.width, window.height);
    if (!createContext()) {
        // Nothing could be drawn: the program stops here, quietly, and the page says why.
        tellPageCannotRun("a WebGL context");
        emscripten_force_exit(EXIT_FAILURE);
    }
    listenToTheModel();
    return 1;
}

void glutDisplayFunc(void (*callback)()) {
    callbacks.display = callback;
}

void glutReshapeFunc(void (*callback)(int width, int height)) {
    callbacks.reshape = callback;
}

void glutMouseFunc(void (*callback)(int button, int state, int x, int y)) {
    callbacks.mouse = callback;
}

void glutMotionFunc(void (*callback)(int x, int y)) {
    callbacks.motion = callback;
}

void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y)) {
    callbacks.keyboard = callback;
}

void glutIdleFunc(void (*callback)()) {
    callbacks.idle = callback;
    setPageIdle(callback != nullptr);
}

void glutAttachMenu(int button) {
    window.menuButton = button;
}

void glutPostRedisplay() {
    requestPageFrame();
}

// The browser shows what a frame drew once the frame's callback returns.
void glutSwapBuffers() {}

// GLUT's loop is the browser's: the window is reshaped and drawn as a desktop window is when it first
// shows, and then main returns, leaving the callbacks to run (the runtime stays alive).
void glutMainLoop() {
    resizeWindow(window.width, window.height);
    glutPostRedisplay();
}

// The page's hooks (web/contract.md).
EMSCRIPTEN_KEEPALIVE void astrolumeGlutDisplay() {
    if (!callbacks.display) return;
    callbacks.display();
    tellPageFrameDrawn();
}

EMSCRIPTEN_KEEPALIVE void astrolumeGlutIdle() {
    if (callbacks.idle) callbacks.idle();
}

// A key from the page's own controls and gestures, as if typed with the pointer where it last was.
EMSCRIPTEN_KEEPALIVE void astrolumeKey(int key) {
    if (callbacks.keyboard)
        callbacks.keyboard(static_cast<unsigned char>(key), window.pointerX, window.pointerY);
}

// The page has given the model a new size: its drawing buffer in pixels, reshaped and drawn as a desktop
// window is when it is resized.
EMSCRIPTEN_KEEPALIVE void astrolumeResizeWindow(int width, int height) {
    resizeWindow(width, height);
    glutPostRedisplay();
}

// The program's exit() (Escape): the page is told the status first and ends; then the runtime stops,
// however many callbacks keep it alive.
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the linker's --wrap=exit names it
[[noreturn]] void __wrap_exit(int status) {
    emscripten_html5_remove_all_event_listeners();
    tellPageEnded(status);
    emscripten_force_exit(status);
}

} // extern "C"
