// stb's image reader for the conformance test where no stb library is installed (the Windows
// build): Debian's stb header, compiled with its implementation.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
