// The real Astrolume window for benchmarks that draw or load textures.
#pragma once

enum class BenchTextures { loadedAtOpen, leftForLater };

// Opens the window exactly as the program does and ends in the folder holding image/
// ($ASTROLUME_IMAGE_ROOT, else the build folder). With leftForLater the window is opened elsewhere,
// so initScene finds no images and the benchmark's own loadBodyTextures is the process's first.
// Leaves the window's context current.
void openBenchWindow(int* argc, char** argv, BenchTextures textures);

// How many of the eleven body textures hold an image, so results say what they drew.
int texturedBodyCount();

// Lets freeglut handle what is pending (map, reshape, expose).
void pumpBenchWindow(int rounds);
