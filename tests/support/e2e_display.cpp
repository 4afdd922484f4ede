#include "tests/support/e2e_display.h"

#include "tests/support/e2e_wait.h"
#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <stdexcept>

using namespace std::chrono_literals;
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Windows come and go under the tests' feet; a BadWindow must not end the test binary.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Reads the display number Xvfb writes once it accepts connections.
std::string readDisplayNumber(int fd) {
    std::string number;
    Deadline deadline(20s);
    while (!deadline.passed()) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        char c;
        ssize_t got = read(fd, &c, 1);
        if (got <= 0) break;
        if (c == '\n') return number;
        number += c;
    }
    return {};
}

std::string windowTitle(Display* display, Window window) {
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data && type == utf8) {
        title.assign(reinterpret_cast<char*>(data), count);
    } else {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) title = name;
        if (name) XFree(name);
    }
    if (data) XFree(data);
    return title;
}

void stopServer(int pid) {
    kill(pid, SIGTERM);
    Deadline deadline(5s);
    while (!deadline.passed()) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

TestDisplay::TestDisplay() {
    int channel[2];
    if (pipe(channel) != 0) throw std::runtime_error("pipe failed");
    serverPid_ = fork();
    if (serverPid_ == 0) {
        close(channel[0]);
        std::string fd = std::to_string(channel[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    std::string number = readDisplayNumber(channel[0]);
    close(channel[0]);
    if (number.empty()) {
        stopServer(serverPid_);
        throw std::runtime_error("Xvfb did not start");
    }
    name_ = ":" + number;
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) {
        stopServer(serverPid_);
        throw std::runtime_error("cannot open " + name_);
    }
    XSetErrorHandler(ignoreXError);
}

TestDisplay::~TestDisplay() {
    if (display_) XCloseDisplay(display_);
    if (serverPid_ > 0) stopServer(serverPid_);
}

void TestDisplay::sync() {
    XSync(display_, False);
}

std::vector<std::pair<WindowBox, std::string>> TestDisplay::mappedWindows() {
    std::vector<std::pair<WindowBox, std::string>> found;
    Window root = DefaultRootWindow(display_), parent, *children = nullptr;
    unsigned int count = 0;
    // No window manager runs here, so every top-level window is a child of the root.
    if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        found.push_back({{children[i], attributes.x, attributes.y, attributes.width, attributes.height},
                         windowTitle(display_, children[i])});
    }
    if (children) XFree(children);
    return found;
}

std::vector<WindowBox> TestDisplay::windowsTitled(const std::string& title) {
    std::vector<WindowBox> found;
    for (const auto& [box, name] : mappedWindows())
        if (name == title) found.push_back(box);
    return found;
}

std::vector<std::string> TestDisplay::mappedTitles() {
    std::vector<std::string> titles;
    for (const auto& window : mappedWindows())
        titles.push_back(window.second);
    return titles;
}

std::optional<WindowBox> TestDisplay::waitForWindow(const std::string& title,
                                                    std::chrono::milliseconds limit) {
    std::optional<WindowBox> box;
    waitUntil(limit, [&] {
        auto windows = windowsTitled(title);
        if (!windows.empty()) box = windows.front();
        return box.has_value();
    });
    return box;
}

bool TestDisplay::waitUntilGone(const std::string& title, std::chrono::milliseconds limit) {
    return waitUntil(limit, [&] { return windowsTitled(title).empty(); });
}

Picture TestDisplay::grab(int x, int y, int width, int height) {
    Picture picture;
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, width, height, AllPlanes, ZPixmap);
    if (!image) return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.reserve(static_cast<size_t>(width) * height);
    // The server is 24-bit TrueColor: red, green and blue sit in bytes 2, 1 and 0.
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            unsigned long p = XGetPixel(image, column, row);
            picture.pixels.push_back({int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)});
        }
    XDestroyImage(image);
    return picture;
}

void TestDisplay::moveTo(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    sync();
}

void TestDisplay::press(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    sync();
}

void TestDisplay::release(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    sync();
}

void TestDisplay::click(int button) {
    press(button);
    usleep(30000); // GLUT and GTK both see a press and a release, not one merged event
    release(button);
}

void TestDisplay::pressKey(const char* keysymName, WindowId focus) {
    // Without a window manager nobody gives focus away, so the test does.
    XSetInputFocus(display_, focus, RevertToPointerRoot, CurrentTime);
    KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysymName));
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    sync();
    usleep(30000);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    sync();
}

void TestDisplay::askToClose(WindowId window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    sync();
}
