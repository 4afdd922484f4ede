// Astrolume: an animated model of the Sun, its nine planets and the Moon.
#include "app/app.h"

#include <GL/freeglut.h>

int main(int argc, char** argv) {
    openAstrolumeWindow(&argc, argv);
    glutMainLoop(); // ends only through Escape or the window being closed
    return 0;
}
