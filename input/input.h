// Mouse, keyboard and menu callbacks, and the data shown for each body.
#pragma once

// GLUT callbacks.
void onMouse(int button, int state, int x, int y); // tracks the drag; pauses the animation while held
void onMotion(int x, int y);                       // left-button drag turns the model, 1 degree per pixel
void onKeyboard(unsigned char key, int x, int y);  // space, z, x, l, Escape
void onMenu(int value);                            // 1-10 a body's close-up and its box, 11 everything

// The keys onKeyboard answers, as GLUT gives them; the browser page's controls and gestures send the
// same keys (web/program_facts_web.cpp tells the page which).
constexpr unsigned char keyEscape = 27;
constexpr unsigned char keySpace = ' ';
constexpr unsigned char keyLighting = 'l';
constexpr unsigned char keyZoomOut = 'x';
constexpr unsigned char keyZoomIn = 'z';

// Menu values, in the order the entries appear: the ten bodies with a view of their own, then
// the whole system.
enum MenuValue : unsigned char {
    MENU_SUN = 1,
    MENU_MERCURY = 2,
    MENU_VENUS = 3,
    MENU_EARTH = 4,
    MENU_MARS = 5,
    MENU_JUPITER = 6,
    MENU_SATURN = 7,
    MENU_URANUS = 8,
    MENU_NEPTUNE = 9,
    MENU_PLUTO = 10,
    MENU_WHOLE_SYSTEM = 11,
    MENU_FIRST_BODY = MENU_SUN,
    MENU_LAST_BODY = MENU_PLUTO
};

// Caption (the body's Korean name) and six lines of physical data, UTF-8, for menu value 1-10.
struct BodyInfo {
    const char* caption;
    const char* text;
};

// Null for a value outside 1-10.
const BodyInfo* bodyInfoForMenuValue(int value);
