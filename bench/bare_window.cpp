// bare_window: the least a GLUT program can do to show a frame in Astrolume's window, the floor
// for Astrolume's start-up. Same title, size, position and display mode, no menu, no textures; its
// one frame clears to black and fills the centre, so first_frame_probe sees it exactly as it sees
// Astrolume's first frame.
#include "app/app.h" // windowSize, and nothing of the program is linked

#include <GL/freeglut.h>

namespace {

void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glRectf(-0.25f, -0.25f, 0.25f, 0.25f); // white under the default colour and identity matrices
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(windowSize, windowSize);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Astrolume"); // the name the probe looks for
    glutDisplayFunc(onDisplay);
    glutMainLoop();
    return 0;
}
