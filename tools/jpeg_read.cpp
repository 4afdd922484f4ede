// JPEG decoding with libjpeg; its errors jump back here instead of ending the process.
#include "body_image_io.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info) {
    JpegError* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->escape, 1);
}

} // namespace

bool readJpeg(const std::string& path, PlainImage* image, std::string* error) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    jpeg_decompress_struct info;
    JpegError jpegError;
    info.err = jpeg_std_error(&jpegError.manager);
    jpegError.manager.error_exit = onJpegError;
    if (setjmp(jpegError.escape)) {
        *error = path + ": " + jpegError.message;
        jpeg_destroy_decompress(&info);
        std::fclose(in);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, in);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    image->width = static_cast<int>(info.output_width);
    image->height = static_cast<int>(info.output_height);
    image->channels = info.output_components;
    size_t rowBytes = static_cast<size_t>(image->width) * image->channels;
    image->pixels.assign(rowBytes * image->height, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->pixels.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(in);
    return true;
}
