#include "bench/bench_window.h"

#include "app/app.h"
#include "platform/platform.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void enter(const char* folder) {
    if (chdir(folder) != 0) std::fprintf(stderr, "cannot enter %s; bodies will be untextured\n", folder);
}

// A benchmark must never wait for a click: an image that fails to decode is reported by a box.
void dropMessageBox(MessageBoxKind, const char*, const char*) {}

} // namespace

void openBenchWindow(int* argc, char** argv, BenchTextures textures) {
    const char* root = std::getenv("ASTROLUME_IMAGE_ROOT");
    if (!root || !*root) root = ASTROLUME_BUILD_DIR;
    setMessageBoxHandler(dropMessageBox);
    enter(textures == BenchTextures::loadedAtOpen ? root : "/");
    openAstrolumeWindow(argc, argv);
    enter(root);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    pumpBenchWindow(20);
}

int texturedBodyCount() {
    int count = 0;
    for (GLuint texture : sceneState.bodyTextures) {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        if (width > 0) ++count;
    }
    return count;
}

void pumpBenchWindow(int rounds) {
    for (int i = 0; i < rounds; ++i)
        glutMainLoopEvent();
}
