// loadBmpImage: map the file, decode it, release the mapping, and only then tell the user what went wrong.
#include "image/image.h"
#include "platform/platform.h"

#include <string>

RgbImage* loadBmpImage(const char* fileName) {
    MappedFile file;
    if (!mapFileReadOnly(fileName, &file)) {
        std::string text = std::string("Failed to open DIB file ") + (fileName ? fileName : "") + ".\n";
        showMessageBox(MessageBoxKind::error, "Error", text.c_str());
        return nullptr;
    }
    RgbImage* image = nullptr;
    BmpError error = decodeBmpImage(file.data, file.size, maxBmpPixelCount, &image);
    unmapFile(&file);
    if (error != BmpError::none) showMessageBox(MessageBoxKind::error, "Error", bmpErrorMessage(error));
    return image;
}
