// A private X server for end-to-end tests, and what a user does on it: find windows by title,
// look at pixels, press keys and buttons, close windows.
#pragma once

#include "tests/support/e2e_picture.h"

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// An X window id; Xlib itself stays out of the tests, whose names it would clash with.
using WindowId = unsigned long;

struct WindowBox {
    WindowId id;
    int x, y, width, height; // on the root window
};

class TestDisplay {
  public:
    // Starts an Xvfb of its own, so pointer and focus are never shared with anything else.
    TestDisplay();
    ~TestDisplay();
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    const std::string& name() const { return name_; } // ":N", for the program's DISPLAY

    // Mapped windows whose title (_NET_WM_NAME, else WM_NAME) is exactly `title`.
    std::vector<WindowBox> windowsTitled(const std::string& title);
    // Titles of every mapped top-level window, in stacking order.
    std::vector<std::string> mappedTitles();
    std::optional<WindowBox> waitForWindow(const std::string& title,
                                           std::chrono::milliseconds limit = std::chrono::seconds(15));
    bool waitUntilGone(const std::string& title, std::chrono::milliseconds limit = std::chrono::seconds(10));

    Picture grab(int x, int y, int width, int height);
    Picture grab(const WindowBox& box) { return grab(box.x, box.y, box.width, box.height); }

    void moveTo(int x, int y);
    // Buttons: 1 left, 2 middle, 3 right, 4 and 5 the wheel.
    void press(int button);
    void release(int button);
    void click(int button); // down for 30 ms, so GLUT and GTK see a press and a release
    void pressKey(const char* keysymName, WindowId focus);
    // What a window manager sends when the user closes a window.
    void askToClose(WindowId window);

  private:
    void sync();
    std::vector<std::pair<WindowBox, std::string>> mappedWindows();

    int serverPid_ = -1;
    std::string name_;
    struct _XDisplay* display_ = nullptr;
};
