// Window, menu and callback wiring, the fixed OpenGL state, and the projection.
#include "app/app.h"
#include "image/image.h"
#include "input/input.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// Labels as users have always seen them ("Mecury" included), with their menu values in order.
constexpr const char* menuLabels[] = {"Sun",    "Mecury", "Venus",   "Earth", "Mars",     "Jupiter",
                                      "Saturn", "Uranus", "Neptune", "Pluto", "Astrolume"};
static_assert(sizeof menuLabels / sizeof menuLabels[0] == MENU_WHOLE_SYSTEM);

void createBodyMenu() {
    glutCreateMenu(onMenu);
    for (int value = MENU_FIRST_BODY; value <= MENU_WHOLE_SYSTEM; ++value)
        glutAddMenuEntry(menuLabels[value - 1], value);
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
