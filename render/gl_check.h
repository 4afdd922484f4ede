// Debug builds report every OpenGL error a frame leaves behind on stderr; release builds check nothing.
#pragma once

#ifdef NDEBUG
#define ASTROLUME_CHECK_GL() ((void)0)
#else
#define ASTROLUME_CHECK_GL() reportGlErrors(__FILE__, __LINE__)
#endif

// Prints "Astrolume: OpenGL error 0x.... at FILE:LINE" for each pending error and clears them.
void reportGlErrors(const char* file, int line);
