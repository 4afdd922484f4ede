// stb_image's BMP reader alone, for the differential target: with every other format left out, a file
// stb does not take for a BMP is refused rather than read as some other kind of image.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>
