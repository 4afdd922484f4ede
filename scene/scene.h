// Bodies, views and the one record of everything that changes while Astrolume runs.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstddef>

// Texture slot of each body in SceneState::bodyTextures.
enum BodyIndex : unsigned char {
    BODY_SUN = 0,
    BODY_MERCURY = 1,
    BODY_VENUS = 2,
    BODY_EARTH = 3,
    BODY_MOON = 4,
    BODY_MARS = 5,
    BODY_JUPITER = 6,
    BODY_SATURN = 7,
    BODY_URANUS = 8,
    BODY_NEPTUNE = 9,
    BODY_PLUTO = 10,
    BODY_COUNT = 11
};

// What the display shows: 0-9 one body's close-up (menu order, the Moon has none), 10 everything.
enum ViewMode : unsigned char {
    VIEW_SUN = 0,
    VIEW_MERCURY = 1,
    VIEW_VENUS = 2,
    VIEW_EARTH_MOON = 3,
    VIEW_MARS = 4,
    VIEW_JUPITER = 5,
    VIEW_SATURN = 6,
    VIEW_URANUS = 7,
    VIEW_NEPTUNE = 8,
    VIEW_PLUTO = 9,
    VIEW_SYSTEM = 10
};

// Entries of SceneState::orbitAngle: every body that revolves, the Moon about the Earth.
enum OrbitIndex : unsigned char {
    ORBIT_MERCURY,
    ORBIT_VENUS,
    ORBIT_EARTH,
    ORBIT_MOON,
    ORBIT_MARS,
    ORBIT_JUPITER,
    ORBIT_SATURN,
    ORBIT_URANUS,
    ORBIT_NEPTUNE,
    ORBIT_PLUTO,
    ORBIT_COUNT
};

// Entries of SceneState::spinAngle: every body that turns about itself (the Moon does not).
enum SpinIndex : unsigned char {
    SPIN_SUN,
    SPIN_MERCURY,
    SPIN_VENUS,
    SPIN_EARTH,
    SPIN_MARS,
    SPIN_JUPITER,
    SPIN_SATURN,
    SPIN_URANUS,
    SPIN_NEPTUNE,
    SPIN_PLUTO,
    SPIN_COUNT
};

// Half size of the orthographic cube the window shows: -30 to 30 on each axis.
constexpr float cubeHalfSize = 30.0f;

// The range the zoom keys keep the zoom in: a hundred times smaller or larger than at start-up, 462
// presses of 1 % either way. Beyond it the float would in the end overflow to infinity or sink to
// where a press no longer changes it, and neither could be undone; within it every press can be.
constexpr float minZoom = 0.01f;
constexpr float maxZoom = 100.0f;

// True when `rows` has exactly `count` rows and row i names the value first + i in `key`: a table
// keyed by one of the enums above asserts with it that no row is moved or left out.
template <typename Row, std::size_t N, typename Member>
constexpr bool rowsFollow(const Row (&rows)[N], Member key, int first, int count) {
    if (N != static_cast<std::size_t>(count)) return false;
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<int>(rows[i].*key) != first + static_cast<int>(i)) return false;
    return true;
}

// GLUT's button numbers and the drag tracker's "held" / "released" marks.
enum : unsigned char { MOUSE_LEFT = 0, MOUSE_RIGHT = 2 };
enum : signed char { DRAG_HELD = 0, DRAG_RELEASED = -1 };

struct SceneState {
    GLuint bodyTextures[BODY_COUNT] = {}; // texture names by BodyIndex, made at start-up
    GLUquadric* quadric = nullptr;        // draws every ring disk
    float orbitAngle[ORBIT_COUNT] = {};   // degrees, by OrbitIndex; within [0, 360)
    float spinAngle[SPIN_COUNT] = {};     // degrees, by SpinIndex; within [0, 360)
    float viewPitch = 0.0f;               // model rotation about x, from vertical drags
    float viewYaw = 0.0f;                 // model rotation about y, from horizontal drags
    float zoom = 1.0f;                    // uniform scale of the whole-system view
    float zoomStep = 1.01f;               // factor of one zoom key press
    float viewHalfExtent = cubeHalfSize;  // half size of the visible cube
    int currentView = VIEW_SYSTEM;        // a ViewMode
    // Whether the animation is switched on, not whether it runs: it starts on with no tick installed,
    // so the model stays still until the first button release or the second space bar starts it.
    bool animating = true;
    bool lightingOn = true;          // GL_LIGHTING enabled
    int dragLastX = 0;               // pointer column last seen by the drag logic
    int dragLastY = 0;               // pointer row last seen by the drag logic
    int dragButtonState = DRAG_HELD; // DRAG_HELD until the tracked button is released
    int dragButton = MOUSE_LEFT;     // the tracked button pressed last
};

// The single instance every callback reads and writes.
extern SceneState sceneState;

// GLUT idle callback: one animation tick, every orbit and spin angle by its fixed step.
void advanceAnimation();
