#include "tests/hardening/nifti_headers.h"

#include <nifti1.h>

#include <cstring>

namespace hardening {

std::string niftiFile(std::int16_t rank, std::initializer_list<std::int16_t> sizes,
                      std::size_t imageBytes) {
    nifti_1_header header{};
    header.sizeof_hdr = sizeof header;
    header.dim[0] = rank;
    std::int16_t axis = 1;
    for (const std::int16_t size : sizes) header.dim[axis++] = size;
    for (; axis < 8; ++axis) header.dim[axis] = 1;
    header.datatype = DT_FLOAT32;
    header.bitpix = 32;
    for (float& spacing : header.pixdim) spacing = 1.0f;
    header.vox_offset = 352.0f;
    std::memcpy(header.magic, "n+1", 4);
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(4, '\0');  // the empty extension flag
    bytes.append(imageBytes, '\0');
    return bytes;
}

}  // namespace hardening
