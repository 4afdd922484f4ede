// Mouse, keyboard and menu callbacks, and the data shown for each body.
#pragma once

// GLUT callbacks.
void onMouse(int button, int state, int x, int y); // tracks the drag; pauses the animation while held
void onMotion(int x, int y);                       // left-button drag turns the model, 1 degree per pixel
void onKeyboard(unsigned char key, int x, int y);  // space, z, x, l, Escape
void onMenu(int value);                            // 1-10 a body's close-up and its box, 11 everything

// Menu values, in the order the entries appear.
enum { MENU_FIRST_BODY = 1, MENU_LAST_BODY = 10, MENU_WHOLE_SYSTEM = 11 };

// Caption (the body's Korean name) and six lines of physical data, UTF-8, for menu value 1-10.
struct BodyInfo {
    const char* caption;
    const char* text;
};

// Null for a value outside 1-10.
const BodyInfo* bodyInfoForMenuValue(int value);
