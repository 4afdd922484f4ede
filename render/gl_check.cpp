// reportGlErrors: what ASTROLUME_CHECK_GL calls in debug builds.
#include "render/render.h"

#include <GL/gl.h>
#include <cstdio>

void reportGlErrors(const char* file, int line) {
    // A lost context can report errors forever; a handful per frame is plenty to see the fault.
    for (int reported = 0; reported < 8; ++reported) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) return;
        // NOLINTNEXTLINE(cert-err33-c): a report stderr cannot take has nowhere else to go
        std::fprintf(stderr, "Astrolume: OpenGL error 0x%04x at %s:%d\n", error, file, line);
    }
}
