#pragma once
// Pictures saved as 8-bit RGB PNG files through libpng, by temporary name and rename, so a
// viewer never opens a half-written preview.

#include <string>

#include "host/preview/canvas.h"

namespace host::preview {

// Throws host::WriteError ("cannot write <path>: <reason>") when the file cannot be written, and
// std::runtime_error naming the path when libpng cannot encode the picture.
void writePng(const Canvas& canvas, const std::string& path);

}  // namespace host::preview
