#include "host/preview/png_file.h"

#include <png.h>

#include <stdexcept>
#include <vector>

#include "host/atomic_file.h"

namespace host::preview {
namespace {

// libpng's simplified interface keeps its error handling (setjmp) inside the library; failures
// come back as a zero result and a message in the image record.
std::vector<unsigned char> encode(const Canvas& canvas, const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(canvas.width());
    image.height = static_cast<png_uint_32>(canvas.height());
    image.format = PNG_FORMAT_RGB;
    const png_int_32 stride = canvas.width() * 3;
    png_alloc_size_t size = 0;
    const auto* pixels = canvas.bytes().data();
    bool encoded = png_image_write_to_memory(&image, nullptr, &size, 0, pixels, stride, nullptr);
    std::vector<unsigned char> bytes(encoded ? size : 0);
    if (encoded) {
        encoded =
            png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, stride, nullptr);
        bytes.resize(size);
    }
    if (!encoded) {
        const std::string reason = image.message;
        png_image_free(&image);
        throw std::runtime_error("cannot encode " + path + " as PNG: " + reason);
    }
    return bytes;
}

}  // namespace

void writePng(const Canvas& canvas, const std::string& path) {
    const std::vector<unsigned char> bytes = encode(canvas, path);
    AtomicFile file(path);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

}  // namespace host::preview
