// Window, menu and callback wiring, the fixed OpenGL state, and the projection.
#include "app/app.h"
#include "image/image.h"
#include "input/input.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// Labels as users have always seen them ("Mecury" included), in menu order.
struct MenuEntry {
    MenuValue value;
    const char* label;
};

constexpr MenuEntry menuEntries[] = {
    {MENU_SUN, "Sun"},
    {MENU_MERCURY, "Mecury"},
    {MENU_VENUS, "Venus"},
    {MENU_EARTH, "Earth"},
    {MENU_MARS, "Mars"},
    {MENU_JUPITER, "Jupiter"},
    {MENU_SATURN, "Saturn"},
    {MENU_URANUS, "Uranus"},
    {MENU_NEPTUNE, "Neptune"},
    {MENU_PLUTO, "Pluto"},
    {MENU_WHOLE_SYSTEM, "Astrolume"},
};
static_assert(rowsFollow(menuEntries, &MenuEntry::value, MENU_FIRST_BODY, MENU_WHOLE_SYSTEM));

void createBodyMenu() {
    glutCreateMenu(onMenu);
    for (const MenuEntry& entry : menuEntries)
        glutAddMenuEntry(entry.label, entry.value);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

} // namespace

void openAstrolumeWindow(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(windowSize, windowSize);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Astrolume");
    glutReshapeFunc(onReshape);
    glutDisplayFunc(onDisplay);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutKeyboardFunc(onKeyboard);
    createBodyMenu();
    initScene();
}

bool initScene() {
    sceneState.quadric = gluNewQuadric();
    loadBodyTextures();
    glClearColor(0, 0, 0, 0);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    gluQuadricNormals(sceneState.quadric, GLU_SMOOTH);
    gluQuadricOrientation(sceneState.quadric, GLU_OUTSIDE);
    gluQuadricTexture(sceneState.quadric, GL_FALSE); // the ring takes the sphere's last texture coordinate
    // Both lights keep OpenGL's defaults: light 0 is white from +z, light 1 adds nothing.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
    ASTROLUME_CHECK_GL();
    return true;
}

void onReshape(int width, int height) {
    const double e = sceneState.viewHalfExtent;
    glClearColor(0, 0, 0, 0);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-e, e, -e, e, -e, e); // ignores the aspect ratio: other shapes stretch the picture
    glMatrixMode(GL_MODELVIEW);
}
